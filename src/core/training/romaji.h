// Romaji typed for a kana reading: Hepburn, Kunrei and Nihon-shiki spellings as well as the
// keyboard spellings of Japanese input methods (nn, xtsu, ltu, ...).
#pragma once

#include <string>
#include <string_view>

// Appends the romaji word `word` (lower case) to `out` in the form romajiSpells reads: "-" is
// dropped, a long vowel (ā ī ū ē ō, â î û ê ô, or a vowel followed by a combining macron or
// circumflex) becomes its vowel and a mark for the lengthening. Returns false and leaves `out`
// as it was when the word holds anything else than a–z, "'" and long vowels, or nothing at all.
bool prepareRomaji(std::u32string_view word, std::u32string& out);

// Whether one reading of the prepared romaji spells `hiragana` exactly. Every way of reading
// the romaji counts: "konnichi" is こんにち (n before a consonant) and "konnya" こんや (nn),
// "ji" is じ or ぢ, "ō" is おう or おお, "ē" えい or ええ.
bool romajiSpells(std::u32string_view prepared, std::u32string_view hiragana);
