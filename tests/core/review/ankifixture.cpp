// Anki packages built for the tests from the tables Anki documents.
#include "ankifixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sqlite3.h>
#include <zip.h>
#include <zstd.h>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementCloser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

// The tables as the collection's documentation describes them (schema 11); schema 18 keeps them
// and adds the note types' own tables.
const char* const CommonTables = R"(
create table col (id integer primary key, crt integer not null, mod integer not null,
  scm integer not null, ver integer not null, dty integer not null, usn integer not null,
  ls integer not null, conf text not null, models text not null, decks text not null,
  dconf text not null, tags text not null);
create table notes (id integer primary key, guid text not null, mid integer not null,
  mod integer not null, usn integer not null, tags text not null, flds text not null,
  sfld integer not null, csum integer not null, flags integer not null, data text not null);
create table cards (id integer primary key, nid integer not null, did integer not null,
  ord integer not null, mod integer not null, usn integer not null, type integer not null,
  queue integer not null, due integer not null, ivl integer not null, factor integer not null,
  reps integer not null, lapses integer not null, left integer not null, odue integer not null,
  odid integer not null, flags integer not null, data text not null);
create table revlog (id integer primary key, cid integer not null, usn integer not null,
  ease integer not null, ivl integer not null, lastIvl integer not null,
  factor integer not null, time integer not null, type integer not null);
create table graves (usn integer not null, oid integer not null, type integer not null);
)";

const char* const NoteTypeTables = R"(
create table notetypes (id integer not null primary key, name text not null,
  mtime_secs integer not null, usn integer not null, config blob not null);
create table fields (ntid integer not null, ord integer not null, name text not null,
  config blob not null, primary key (ntid, ord)) without rowid;
create table templates (ntid integer not null, ord integer not null, name text not null,
  mtime_secs integer not null, usn integer not null, config blob not null,
  primary key (ntid, ord)) without rowid;
)";

class Database {
public:
    explicit Database(const QString& path) {
        QFile::remove(path);
        sqlite3* raw = nullptr;
        EXPECT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &raw), SQLITE_OK);
        db_.reset(raw);
    }
    void exec(const char* sql) {
        char* message = nullptr;
        EXPECT_EQ(sqlite3_exec(db_.get(), sql, nullptr, nullptr, &message), SQLITE_OK)
            << (message ? message : "");
        sqlite3_free(message);
    }
    // Runs sql once with values bound in order: qint64 as integers, QString as text,
    // QByteArray as blobs.
    template <class... Values>
    void insert(const char* sql, const Values&... values) {
        sqlite3_stmt* raw = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db_.get(), sql, -1, &raw, nullptr), SQLITE_OK) << sql;
        const std::unique_ptr<sqlite3_stmt, StatementCloser> statement(raw);
        int index = 0;
        (bind(raw, ++index, values), ...);
        EXPECT_EQ(sqlite3_step(raw), SQLITE_DONE) << sqlite3_errmsg(db_.get());
    }

private:
    static void bind(sqlite3_stmt* s, int i, qint64 value) { sqlite3_bind_int64(s, i, value); }
    static void bind(sqlite3_stmt* s, int i, const QString& value) {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(s, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    static void bind(sqlite3_stmt* s, int i, const QByteArray& value) {
        sqlite3_bind_blob(s, i, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    std::unique_ptr<sqlite3, DatabaseCloser> db_;
};

QString modelsJson(const std::vector<AnkiNoteType>& types) {
    QJsonObject models;
    for (const AnkiNoteType& type : types) {
        QJsonArray fields;
        for (qsizetype i = 0; i < type.fields.size(); ++i) {
            fields.append(QJsonObject{{u"name"_s, type.fields[i]}, {u"ord"_s, int(i)}});
        }
        QJsonArray templates;
        for (const AnkiTemplate& t : type.templates) {
            templates.append(QJsonObject{{u"name"_s, t.name},
                                         {u"ord"_s, t.ord},
                                         {u"qfmt"_s, t.question},
                                         {u"afmt"_s, t.answer}});
        }
        models.insert(QString::number(type.id), QJsonObject{{u"id"_s, double(type.id)},
                                                            {u"name"_s, type.name},
                                                            {u"flds"_s, fields},
                                                            {u"tmpls"_s, templates}});
    }
    return QString::fromUtf8(QJsonDocument(models).toJson(QJsonDocument::Compact));
}

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

}  // namespace

QByteArray protoVarint(quint64 value) {
    QByteArray bytes;
    do {
        const auto low = static_cast<char>(value & 0x7F);
        value >>= 7;
        bytes.append(static_cast<char>(low | (value ? 0x80 : 0)));
    } while (value != 0);
    return bytes;
}

QByteArray protoField(quint32 field, const QByteArray& bytes) {
    return protoVarint((quint64(field) << 3) | 2) + protoVarint(quint64(bytes.size())) + bytes;
}

QByteArray protoField(quint32 field, quint64 number) {
    return protoVarint(quint64(field) << 3) + protoVarint(number);
}

void writeAnkiCollection(const QString& path, const AnkiCollection& collection, AnkiForm form) {
    Database db(path);
    // A fixture needs no durability, and syncing every statement makes the tests slow.
    db.exec("pragma synchronous = off; pragma journal_mode = memory;");
    db.exec(CommonTables);
    const bool newer = form == AnkiForm::Schema18;
    db.insert(
        "insert into col values (1, 1600000000, 1600000000000, 1600000000000, ?, 0, 0, 0, "
        "'{}', ?, '{}', '{}', '{}')",
        qint64(newer ? 18 : 11), newer ? QString() : modelsJson(collection.noteTypes));
    if (newer) {
        db.exec(NoteTypeTables);
        for (const AnkiNoteType& type : collection.noteTypes) {
            db.insert("insert into notetypes values (?, ?, 0, 0, x'')", type.id, type.name);
            for (qsizetype i = 0; i < type.fields.size(); ++i) {
                db.insert("insert into fields values (?, ?, ?, x'')", type.id, qint64(i),
                          type.fields[i]);
            }
            for (const AnkiTemplate& t : type.templates) {
                const QByteArray config =
                    protoField(1, utf8(t.question)) + protoField(2, utf8(t.answer));
                db.insert("insert into templates values (?, ?, ?, 0, 0, ?)", type.id, qint64(t.ord),
                          t.name, config);
            }
        }
    }
    db.exec("begin");
    for (const AnkiNote& note : collection.notes) {
        db.insert("insert into notes values (?, 'guid', ?, 0, 0, '', ?, '', 0, 0, '')", note.id,
                  note.noteType, note.fields.join(QChar(0x1F)));
    }
    for (const AnkiCard& card : collection.cards) {
        db.insert(
            "insert into cards values (?, ?, 1, ?, 0, 0, 2, 2, 0, 1, 2500, 1, 0, 0, 0, 0, 0, "
            "'')",
            card.id, card.note, qint64(card.ord));
    }
    for (const AnkiReview& review : collection.reviews) {
        db.insert("insert into revlog values (?, ?, 0, ?, 1, 0, 2500, ?, ?)", review.time,
                  review.card, qint64(review.ease), qint64(review.duration), qint64(review.type));
    }
    db.exec("commit");
}

QByteArray zstdCompressed(const QByteArray& bytes) {
    QByteArray out(qsizetype(ZSTD_compressBound(size_t(bytes.size()))), '\0');
    const size_t size =
        ZSTD_compress(out.data(), size_t(out.size()), bytes.constData(), size_t(bytes.size()), 3);
    EXPECT_FALSE(ZSTD_isError(size));
    out.resize(qsizetype(size));
    return out;
}

void writeZip(const QString& path, const std::vector<std::pair<QString, QByteArray>>& members) {
    QFile::remove(path);
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, bytes] : members) {
        // libzip takes the bytes when the archive is closed; it keeps its own copy.
        void* copy = malloc(size_t(std::max<qsizetype>(bytes.size(), 1)));
        memcpy(copy, bytes.constData(), size_t(bytes.size()));
        zip_source_t* source = zip_source_buffer(archive, copy, zip_uint64_t(bytes.size()), 1);
        ASSERT_NE(source, nullptr);
        ASSERT_GE(zip_file_add(archive, name.toUtf8().constData(), source,
                               ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE),
                  0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

void writeAnkiPackage(const QString& path, const AnkiFixture& fixture, AnkiForm form,
                      const QString& folder) {
    const QString collectionPath = folder + u"/fixture-collection"_s;
    writeAnkiCollection(collectionPath, fixture.collection, form);
    QFile file(collectionPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray collection = file.readAll();
    file.close();

    std::vector<std::pair<QString, QByteArray>> members;
    if (form == AnkiForm::Schema11) {
        members.emplace_back(u"collection.anki21"_s, collection);
        QJsonObject map;
        for (size_t i = 0; i < fixture.media.size(); ++i) {
            map.insert(QString::number(i), fixture.media[i].first);
            members.emplace_back(QString::number(i), fixture.media[i].second);
        }
        members.emplace_back(u"media"_s, QJsonDocument(map).toJson(QJsonDocument::Compact));
    } else {
        // The dummy older collection: one note that a reader of the wrong member would import.
        AnkiCollection dummy;
        dummy.noteTypes.push_back({1, u"Basic"_s, {u"Front"_s, u"Back"_s}, {}});
        dummy.notes.push_back({1, 1, {u"新"_s, u"Please update to the latest Anki version"_s}});
        const QString dummyPath = folder + u"/fixture-dummy"_s;
        writeAnkiCollection(dummyPath, dummy, AnkiForm::Schema11);
        QFile dummyFile(dummyPath);
        ASSERT_TRUE(dummyFile.open(QIODevice::ReadOnly));
        members.emplace_back(u"collection.anki2"_s, dummyFile.readAll());
        members.emplace_back(u"collection.anki21b"_s, zstdCompressed(collection));
        members.emplace_back(u"meta"_s, protoField(1, quint64(3)));
        QByteArray entries;
        for (size_t i = 0; i < fixture.media.size(); ++i) {
            const auto& [name, bytes] = fixture.media[i];
            entries +=
                protoField(1, protoField(1, utf8(name)) + protoField(2, quint64(bytes.size())) +
                                  protoField(3, QByteArray(20, 'x')));
            members.emplace_back(QString::number(i), zstdCompressed(bytes));
        }
        members.emplace_back(u"media"_s, zstdCompressed(entries));
    }
    writeZip(path, members);
}

AnkiNoteType kanjiNoteType(qint64 id) {
    return {id,
            u"Kanji"_s,
            {u"Kanji"_s, u"Onyomi"_s, u"Kunyomi"_s, u"Meaning"_s, u"Examples"_s},
            {{0, u"Recognition"_s, u"{{Kanji}}"_s, u"{{FrontSide}}<hr>{{Meaning}}"_s},
             {1, u"Card 2"_s, u"{{Meaning}}"_s, u"{{FrontSide}}<hr>{{Kanji}}"_s}}};
}
