// The rules for removing, ordering, finding and stepping through the records of a set.
#pragma once

#include "core/kanjiset/kanjirecord.h"

// Removes the record at index together with its images, or every record when index is -1.
// The record before a removed one becomes current; removing the first leaves none current.
// An index outside the set changes nothing.
void removeKanji(KanjiSet& set, int index);

// Sorts the set by Idx1 (signed, ascending; equal indices keep their order). The current
// record stays current; when there is none, the record at currentIndex (the position before
// sorting, clamped into the set) becomes current. Returns the new current position, -1 when
// the set is empty; set.current holds the same.
int sortSetKeepingCurrent(KanjiSet& set, int currentIndex);

// The position of the first record whose Unicode is code; the last position when none is
// (-1 when the set is empty).
int findByCode(const KanjiSet& set, qint32 code);

// The position n steps from position from, stopping at the first and the last record;
// -1 when the set is empty.
int stepFrom(const KanjiSet& set, int from, int n);
