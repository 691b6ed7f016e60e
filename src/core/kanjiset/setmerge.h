// Merging two versions of a set file that two machines changed apart, against the version both
// started from.
#pragma once

#include "core/kanjiset/kanjirecord.h"

#include <optional>
#include <vector>

struct SetMerge {
    // Sorted by Idx1, records of one Idx1 by code.
    std::vector<KanjiRecord> records;
    // The kanji (by code, ascending, each once) that both sides changed apart: the main side's
    // record was kept, and the learner is to look at the other.
    std::vector<qint32> conflicts;
};

// Merges record by record, a record named by its kanji (the n-th record of a code in a set that
// holds it more than once is matched with the n-th of the others). Against the base: a record
// changed on one side only takes that side, including its removal; added on either side, it is
// kept; changed on both sides to different records, main's stays and the kanji is a conflict.
// Without a base nothing can tell an addition from a removal or whose change is newer: every
// record that differs is a conflict, main's kept where both have it, the one side's kept where
// only one has it, so that nothing is lost.
SetMerge mergeSets(const std::optional<std::vector<KanjiRecord>>& base,
                   const std::vector<KanjiRecord>& main, const std::vector<KanjiRecord>& other);
