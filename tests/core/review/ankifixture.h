// Anki packages built for the tests from the tables Anki documents: a SQLite collection written
// through SQLite's C API, zipped with libzip, and for the newer form compressed with zstd.
#pragma once

#include "core/review/ankicollection.h"

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

// Schema 11: collection.anki2 (or .anki21), note types as JSON in col.models, media map JSON.
// Schema 18: a meta member naming collection.anki21b, that collection zstd-compressed with its
// note types in tables, media map and media members zstd-compressed; beside it the dummy
// collection.anki2 whose one note asks to update Anki.
enum class AnkiForm { Schema11, Schema18 };

struct AnkiFixture {
    AnkiCollection collection;
    // Media files: their names as the notes use them, and their bytes.
    std::vector<std::pair<QString, QByteArray>> media;
};

// The collection as a SQLite file at path.
void writeAnkiCollection(const QString& path, const AnkiCollection& collection, AnkiForm form);
// The package at path; folder holds the intermediate files.
void writeAnkiPackage(const QString& path, const AnkiFixture& fixture, AnkiForm form,
                      const QString& folder);
// A zip file of these members, in order, without any check of their names.
void writeZip(const QString& path, const std::vector<std::pair<QString, QByteArray>>& members);
QByteArray zstdCompressed(const QByteArray& bytes);

// Protobuf wire format for the members of the newer form.
QByteArray protoVarint(quint64 value);
QByteArray protoField(quint32 field, const QByteArray& bytes);
QByteArray protoField(quint32 field, quint64 number);

// A note type "Kanji" with the fields Kanji, Onyomi, Kunyomi, Meaning, Examples and the
// templates "Recognition" (the kanji shown) and "Writing" (the meaning shown).
AnkiNoteType kanjiNoteType(qint64 id);
