// Grading of a typed training answer against the reference text of the card.
#pragma once

#include "core/training/profilerecord.h"

#include <QString>

// Right when every word of the typed answer is found among the words of the reference, Partly
// when some are, Wrong when none is; reference words nobody typed do not count against the
// answer. An empty answer is Wrong, unless the reference is empty too.
//
// Both texts are read without leading and trailing blanks and in lower case. Words are runs of
// letters (of any script, with combining marks), "-", and in the reference "(" (dropped, so that
// "hito(tsu)" is the word "hitotsu"); anything else separates words.
//
// Kana readings: hiragana and katakana count as the same; in a reference word made only of kana,
// "-" and a "." between two kana (okurigana) are ignored, so "ま.つ" is one word まつ and "-び"
// is び, and such a word is also matched by the romaji that spells it ("matsu", "chō", "tyou",
// "kon'ya"). The same holds for kana words in the answer. An "'" after "n" joins romaji only when
// the reference holds a kana word; otherwise, and for every word that is not kana, words compare
// exactly.
Grade compareAnswer(const QString& reference, const QString& typed);
