// Slips of the keyboard in a typed reading that a lenient learner may try again: a long vowel
// left out or put in, a small kana left out or written full size, and ん left as a final "n".
#pragma once

#include <QString>

// Whether the typed reading is not right, but would be with one such slip put right in one of
// its words: a long vowel missing or doubled (こう typed "こ", "ko"; こ typed "kou", "koo"; either
// spelling of a long vowel, "koo" for こう), a small っ ゃ ゅ ょ missing or written full size
// (がっこう typed "がこう", きょう typed "きよう"), or ん typed as a final "n" after kana ("こn").
// Every other answer, right ones included, is no slip; so is an empty one.
bool isReadingSlip(const QString& reference, const QString& typed);
