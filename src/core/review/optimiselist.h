// Tidying a set after imports: one record per kanji, no records without content.
#pragma once

#include "core/kanjiset/kanjirecord.h"

struct OptimiseResult {
    // Records folded into an earlier record of the same kanji.
    int merged = 0;
    // Records without a kanji (Unicode 0) whose texts were all empty.
    int removed = 0;
};

// Records with the same Unicode are merged: the first in set order stays, each of its empty
// fields (0 for numbers, "" for texts, no image) takes the value of the first later record that
// has one, and the later records go. Records with Unicode 0 are never merged, and those whose
// texts are all empty go. Importing an updated file and optimising thus fills in the set
// instead of doubling it. The current record stays current; when it goes, the record it was
// merged into becomes current, or the record before it.
OptimiseResult optimiseList(KanjiSet& set);
