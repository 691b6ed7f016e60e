// Bringing imported records into the set: kanji new to it are added, kanji it holds are updated.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/review/csvimport.h"
#include "core/review/optimiselist.h"

#include <bitset>
#include <span>
#include <vector>

// The positions of a mapped line (see storeMappedLine), position k as bit k - 1.
inline constexpr int MappedPositions = 17;
using GivenPositions = std::bitset<MappedPositions>;

struct ImportedRecord {
    KanjiRecord record;
    // The positions whose mapped value holds more than blanks: what the learner meant to import.
    // An empty column ("leere Spalte"), the running number ("lfd Nummer") or a line too short
    // for its column gives nothing.
    GivenPositions given;
};

// The records made from rows, each mapped with codes, the first one with running number
// firstNumber, each with the positions its line gives. With no codes every record stays empty.
std::vector<ImportedRecord> importMappedRecords(std::span<const QStringList> rows,
                                                std::span<const MappingCode> codes,
                                                qint32 firstNumber = 1);

// The running number of an import's first line: one after the set's highest Idx1, so the new
// kanji follow the set's own; 1 for an empty set.
qint32 nextRunningNumber(const KanjiSet& set);

struct ImportOutcome {
    // Records added to the set.
    int added = 0;
    // Kanji of the set of which the import changed at least one field.
    int updated = 0;
    // What optimising the set did; nothing without it.
    kanjilist::OptimiseResult optimised;
};

// A new kanji whose Idx1 reads 0 is numbered on after the set's and the other new kanji's
// highest Idx1, in its order. Without optimise every record is inserted after the current one,
// as it comes. With it, a
// record of a kanji the set already holds updates that kanji's first record in the positions its
// line gives and leaves the other fields as they were (a stroke image or example media goes
// when its file name changes). A line is taken by a record of its kanji that holds its values
// already, and never overwrites a value an earlier line of the same import gave: such a line
// becomes a record of its own. The new records are merged among themselves as optimiseList
// merges, inserted, and then the whole set is optimised.
ImportOutcome addImported(KanjiSet& set, std::vector<ImportedRecord> imported, bool optimise);
