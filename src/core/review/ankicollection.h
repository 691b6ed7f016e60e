// An Anki collection read from its SQLite file: note types with their fields and card
// templates, notes, cards and review rows, in either of the two layouts Anki writes (schema 11,
// note types as JSON in the col table; schema 18, note types in tables of their own).
#pragma once

#include "core/review/ankierror.h"

#include <QString>
#include <QStringList>

#include <vector>

// Bounds that keep a hostile collection from exhausting memory; real decks stay far below.
inline constexpr int MaxAnkiFields = 100;
inline constexpr qsizetype MaxAnkiNotes = 500'000;
inline constexpr qsizetype MaxAnkiCards = 2'000'000;
inline constexpr qsizetype MaxAnkiReviews = 5'000'000;

struct AnkiTemplate {
    int ord = 0;
    QString name;
    QString question;
    QString answer;
};

struct AnkiNoteType {
    qint64 id = 0;
    QString name;
    QStringList fields;
    std::vector<AnkiTemplate> templates;
};

struct AnkiNote {
    qint64 id = 0;
    qint64 noteType = 0;
    // The raw field texts (HTML), in the order of the note type's fields.
    QStringList fields;
};

struct AnkiCard {
    qint64 id = 0;
    qint64 note = 0;
    // The template the card was made from.
    int ord = 0;
};

struct AnkiReview {
    // When it was answered: milliseconds since 1970 UTC (the row's id).
    qint64 time = 0;
    qint64 card = 0;
    // 1 again, 2 hard, 3 good, 4 easy; 0 for rows without an answer.
    int ease = 0;
    // How long the answer took, in milliseconds.
    qint32 duration = 0;
    // 0 learn, 1 review, 2 relearn, 3 filtered, 4 manual, 5 rescheduled.
    int type = 0;
};

struct AnkiCollection {
    std::vector<AnkiNoteType> noteTypes;
    std::vector<AnkiNote> notes;
    std::vector<AnkiCard> cards;
    // In the order of their times.
    std::vector<AnkiReview> reviews;
};

// Reads the collection at path (a file of our own temporary folder: SQLite may add its journal
// beside it). A file that is no SQLite database is NotSqlite, one without a collection's tables
// BadCollection, one beyond the bounds above TooLarge or TooManyFields.
AnkiResult<AnkiCollection> readAnkiCollection(const QString& path);
