// Tidying a set after imports: records of one kanji merged where they agree, no blank records.
#pragma once

#include "core/kanjiset/kanjirecord.h"

// In a namespace of its own, as the memory optimiser (core/training) has an OptimiseResult too.
namespace kanjilist {

struct OptimiseResult {
    // Records folded into an earlier record of the same kanji.
    int merged = 0;
    // Records without a kanji whose texts hold no value, blank ones (see isBlank) among them.
    int removed = 0;
    // Kanji left with more than one record because their records disagree.
    int keptTwice = 0;
};

}  // namespace kanjilist

// Whether a text holds a value: blanks alone, as an empty import column gives, hold none.
bool holdsValue(const QString& text);

// Whether two records could become one without losing a value. They conflict when any field
// holds a value in both that differs: a number other than 0 (Idx1, Idx2), a text holding more
// than blanks (readings, note, Genshi and its meaning, Anim; compared as stored, so "3,5" and
// "3,5," differ as they do for the Genshi window). An example's sound file and text belong
// together: two examples at one place agree only when one holds nothing, or the values of one
// are all found in the other, so a sound is never paired with another record's text.
bool recordsConflict(const KanjiRecord& first, const KanjiRecord& second);

// Records with the same Unicode are merged where they do not conflict: a later record joins the
// first earlier record of its kanji it agrees with, whose fields without a value take the later
// record's values (images go with the field they show: the stroke image with Anim, an example's
// media with its sound file), and the later record goes. A record that agrees with none stays,
// so no value is ever lost. Records with Unicode 0 are never merged, and those whose texts hold
// no value go.
// Importing an updated file and optimising thus fills in the set instead of doubling it. The
// current record stays current; when it goes, the record it was merged into becomes current,
// or the record before it.
kanjilist::OptimiseResult optimiseList(KanjiSet& set);
