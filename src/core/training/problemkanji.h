// Problem kanji: those the learner keeps forgetting after having known them, told from the
// answers of the review log.
#pragma once

#include "core/training/reviewlog.h"

#include <QtGlobal>

#include <unordered_set>
#include <vector>

// A kanji is a problem kanji from this many lapses in one kind on.
inline constexpr int ProblemLapses = 8;

// The codes of the kanji with at least `threshold` lapses in any one kind. A lapse is a wrong
// answer given when the kind's previous answer was right (or easy); seeds and any other
// records than answers are not looked at, and entries are taken in the order of the log.
std::unordered_set<qint32> problemKanji(const std::vector<ReviewEntry>& entries,
                                        int threshold = ProblemLapses);
