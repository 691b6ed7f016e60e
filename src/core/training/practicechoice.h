// Which kanji a practice sheet holds: those that need practice most, those of the last training,
// a JLPT level or a range of positions, as the learner chose.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/training/profilerecord.h"
#include "core/training/trainingrules.h"

#include <vector>

// The most kanji a sheet holds unless the learner asks for another number.
constexpr int PracticeSheetKanji = 40;

enum class PrintScope { Weakest, LastRun, Jlpt, Range };

// What "Lernkarten drucken" prints; kept with the learner's training choices.
struct PrintChoice {
    PrintScope scope = PrintScope::Weakest;
    // 4 to 1.
    qint32 jlptLevel = 4;
    // Positions in the set, counted from 1.
    TrainingRange range{1, PracticeSheetKanji};
    qint32 atMost = PracticeSheetKanji;
    bool operator==(const PrintChoice&) const = default;
};

// Indexes into set.records, in the order the sheet shows them, at most choice.atMost of them;
// blank records (see isBlank) are never chosen.
// Weakest, with a profile in use: the kanji of the lowest quota over all four kinds, writing
// included (trained kanji without a right answer first, then untrained ones, then the rest by
// rising quota; ties in set order). Without a profile, and for LastRun: the kanji of the last
// training in its order, each once; for Weakest without either, the start of the set.
// Jlpt: the kanji of that level in set order; Range: those of the positions from start to end.
std::vector<int> practicePositions(const KanjiSet& set, const ProfileList* profile,
                                   const std::vector<qint32>& lastTrainingCodes,
                                   const PrintChoice& choice = {});
