// Which kanji a practice sheet holds: those that need practice most.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/training/profilerecord.h"

#include <vector>

// The most kanji a sheet chosen by quota or from the start of the set holds.
constexpr int PracticeSheetKanji = 40;

// Indexes into set.records, in the order the sheet shows them. With a profile in use: the up to
// 40 kanji of the lowest quota over On, Kun and meaning (trained kanji without a right answer
// first, then untrained ones, then the rest by rising quota; ties in set order). Otherwise the
// kanji of the last training, in its order, each once; otherwise the first 40 of the set. Blank
// records (see isBlank) are never chosen.
std::vector<int> practicePositions(const KanjiSet& set, const ProfileList* profile,
                                   const std::vector<qint32>& lastTrainingCodes);
