// Turning the KANJIDIC2 entries with a JLPT level into the records of the "JLPT" demo set.
#pragma once

#include "kanjidic.h"

#include "core/kanjiset/kanjirecord.h"

#include <array>
#include <functional>
#include <vector>

// Says whether a stroke-order strip exists for a code point.
using HasStrip = std::function<bool(char32_t)>;

// The example words of a code point; four empty texts when it has none.
using ExamplesOf = std::function<std::array<QString, 4>(char32_t)>;

// The Bemerkung of an entry; without one, its English meanings.
using BemerkungOf = std::function<QString(const KanjidicEntry&)>;

// The strip's file name inside the set's Anim folder: the decimal code point and ".png".
QString stripFileName(char32_t codePoint);

// Whether `a` comes before `b` in the set: JLPT level 4 first down to 1, then by frequency rank
// with unranked kanji last, then by code point.
bool comesBefore(const KanjidicEntry& a, const KanjidicEntry& b);

// Every entry with a JLPT level of 1 to 4, ordered by comesBefore and numbered 1...n in Idx1.
// The Genshi field names the classical radical's position in the radical-ordered Genshi list.
std::vector<KanjiRecord> buildJlptSet(const std::vector<KanjidicEntry>& entries,
                                      const HasStrip& hasStrip, const ExamplesOf& examplesOf = {},
                                      const BemerkungOf& bemerkungOf = {});
