// Anki notes turned into kanji records, and those records brought into a set: kanji new to it
// are added, kanji it holds have their empty fields filled.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/review/ankicollection.h"
#include "core/review/ankimapping.h"

#include <QHash>
#include <QStringList>

#include <optional>
#include <vector>

// Whether code is a kanji: a CJK ideograph of the unified blocks, their extensions or the
// compatibility blocks.
bool isKanjiCode(qint32 code);

// The record a note makes: its kanji field must hold exactly one kanji once its markup is gone,
// else nullopt. On, Kun and meaning take their field's lines joined by ", "; the examples field
// fills Beispiel 1 to 4 line by line. Each [sound:x] of a mapped field becomes the SoundFile
// (the bare name x) of the example it stood in, or of the first example without one.
std::optional<KanjiRecord> ankiNoteRecord(const AnkiNote& note, const AnkiFieldMap& map);

struct AnkiNoteRecords {
    std::vector<KanjiRecord> records;
    // The kanji each imported note stands for, by note id: its history goes to that kanji.
    QHash<qint64, qint32> codeOfNote;
    // Notes of the note type whose kanji field is not one kanji.
    int skipped = 0;
};

// The records of every note of the note type, in the collection's order.
AnkiNoteRecords ankiNoteRecords(const AnkiCollection& collection, qint64 noteType,
                                const AnkiFieldMap& map);

struct AnkiMergeOutcome {
    // Records added for kanji new to the set.
    int added = 0;
    // Kanji the set held of which the import filled at least one empty field.
    int filled = 0;
    // The sound file names the import gave to examples: the files to bring into Sounds.
    QStringList sounds;
};

// Kanji new to the set are inserted after the current record, numbered (Idx1) after the set's
// highest number in the deck's order. A kanji the set holds is not added again: its first record
// takes On, Kun and meaning where it has none, and examples it does not hold into its free
// example places. Importing the same deck again therefore changes nothing.
AnkiMergeOutcome addAnkiRecords(KanjiSet& set, std::vector<KanjiRecord> records);
