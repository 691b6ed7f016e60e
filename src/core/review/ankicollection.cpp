// An Anki collection read from its SQLite file, in the layouts of schema 11 and schema 18.
#include "core/review/ankicollection.h"

#include "core/review/ankiwire.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sqlite3.h>

#include <algorithm>
#include <memory>

namespace {

// A value longer than this is refused by SQLite itself (SQLITE_TOOBIG).
constexpr int MaxValueBytes = 16 << 20;
constexpr qint64 MaxNoteTextBytes = qint64(512) << 20;
// The progress handler is called every this many virtual machine steps; after MaxProgressCalls
// calls the query is stopped, so a database built to make a query run forever cannot hang us.
constexpr int ProgressStep = 10'000;
constexpr qint64 MaxProgressCalls = 500'000;
constexpr QChar FieldSeparator(0x1F);
constexpr size_t MaxNoteTypes = 10'000;

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementCloser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

AnkiProblem problemOf(int code) {
    switch (code & 0xFF) {
        case SQLITE_NOTADB:
            return AnkiProblem::NotSqlite;
        case SQLITE_TOOBIG:
        case SQLITE_INTERRUPT:
        case SQLITE_NOMEM:
            return AnkiProblem::TooLarge;
        default:
            return AnkiProblem::BadCollection;
    }
}

QString textAt(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, column)) : QString();
}

QByteArrayView blobAt(sqlite3_stmt* statement, int column) {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
    return data ? QByteArrayView(data, sqlite3_column_bytes(statement, column)) : QByteArrayView();
}

int intAt(sqlite3_stmt* statement, int column) {
    return static_cast<int>(
        std::clamp<sqlite3_int64>(sqlite3_column_int64(statement, column), INT32_MIN, INT32_MAX));
}

class CollectionReader {
public:
    explicit CollectionReader(sqlite3* db) : db_(db) {}

    AnkiResult<AnkiCollection> read() {
        AnkiCollection collection;
        const AnkiResult<bool> newLayout = hasTable("notetypes");
        if (!newLayout) {
            return unexpected(newLayout.error());
        }
        AnkiResult<void> done = *newLayout ? readNoteTypes(collection) : readModels(collection);
        if (done) {
            done = readNotes(collection);
        }
        if (done) {
            done = readCards(collection);
        }
        if (done) {
            done = readReviews(collection);
        }
        if (!done) {
            return unexpected(done.error());
        }
        return collection;
    }

private:
    // Runs sql and calls row for each row while it returns no problem.
    template <class Row>
    AnkiResult<void> each(const char* sql, Row row) {
        sqlite3_stmt* raw = nullptr;
        if (const int code = sqlite3_prepare_v2(db_, sql, -1, &raw, nullptr); code != SQLITE_OK) {
            return ankiFailure(problemOf(code));
        }
        const Statement statement(raw);
        for (;;) {
            const int code = sqlite3_step(raw);
            if (code == SQLITE_DONE) {
                return {};
            }
            if (code != SQLITE_ROW) {
                return ankiFailure(problemOf(code));
            }
            if (AnkiResult<void> taken = row(raw); !taken) {
                return taken;
            }
        }
    }

    AnkiResult<bool> hasTable(const char* name) {
        bool found = false;
        const QByteArray sql =
            QByteArray("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = '") + name +
            "'";
        const AnkiResult<void> done = each(sql.constData(), [&](sqlite3_stmt*) {
            found = true;
            return AnkiResult<void>();
        });
        if (!done) {
            return unexpected(done.error());
        }
        return found;
    }

    AnkiNoteType* noteType(AnkiCollection& collection, qint64 id) {
        const auto at = index_.constFind(id);
        return at == index_.constEnd() ? nullptr : &collection.noteTypes[*at];
    }

    AnkiResult<void> addNoteType(AnkiCollection& collection, AnkiNoteType type) {
        if (type.fields.size() > MaxAnkiFields) {
            return ankiFailure(AnkiProblem::TooManyFields, type.name);
        }
        if (collection.noteTypes.size() >= MaxNoteTypes || index_.contains(type.id)) {
            return ankiFailure(AnkiProblem::BadCollection);
        }
        index_.insert(type.id, collection.noteTypes.size());
        collection.noteTypes.push_back(std::move(type));
        return {};
    }

    // Schema 11: every note type as a JSON object in col.models, keyed by its id.
    AnkiResult<void> readModels(AnkiCollection& collection) {
        return each("SELECT models FROM col LIMIT 1", [&](sqlite3_stmt* row) {
            const QJsonDocument document =
                QJsonDocument::fromJson(QByteArray(blobAt(row, 0).data(), blobAt(row, 0).size()));
            if (!document.isObject()) {
                return AnkiResult<void>(ankiFailure(AnkiProblem::BadCollection));
            }
            const QJsonObject models = document.object();
            for (auto it = models.begin(); it != models.end(); ++it) {
                const QJsonObject model = it.value().toObject();
                AnkiNoteType type;
                type.id = static_cast<qint64>(model.value(u"id").toDouble(it.key().toDouble()));
                type.name = model.value(u"name").toString();
                const QJsonArray fields = model.value(u"flds").toArray();
                if (fields.size() > MaxAnkiFields) {
                    return AnkiResult<void>(ankiFailure(AnkiProblem::TooManyFields, type.name));
                }
                for (const QJsonValue field : fields) {
                    type.fields.append(field.toObject().value(u"name").toString());
                }
                for (const QJsonValue value : model.value(u"tmpls").toArray()) {
                    const QJsonObject t = value.toObject();
                    type.templates.push_back({t.value(u"ord").toInt(), t.value(u"name").toString(),
                                              t.value(u"qfmt").toString(),
                                              t.value(u"afmt").toString()});
                }
                if (AnkiResult<void> added = addNoteType(collection, std::move(type)); !added) {
                    return added;
                }
            }
            return AnkiResult<void>();
        });
    }

    // Schema 18: notetypes, fields and templates, the formats in each template's config blob.
    AnkiResult<void> readNoteTypes(AnkiCollection& collection) {
        AnkiResult<void> done = each("SELECT id, name FROM notetypes", [&](sqlite3_stmt* row) {
            return addNoteType(collection, {sqlite3_column_int64(row, 0), textAt(row, 1), {}, {}});
        });
        if (!done) {
            return done;
        }
        done = each("SELECT ntid, name FROM fields ORDER BY ntid, ord", [&](sqlite3_stmt* row) {
            AnkiNoteType* type = noteType(collection, sqlite3_column_int64(row, 0));
            if (type == nullptr) {
                return AnkiResult<void>();
            }
            if (type->fields.size() >= MaxAnkiFields) {
                return AnkiResult<void>(ankiFailure(AnkiProblem::TooManyFields, type->name));
            }
            type->fields.append(textAt(row, 1));
            return AnkiResult<void>();
        });
        if (!done) {
            return done;
        }
        return each("SELECT ntid, ord, name, config FROM templates ORDER BY ntid, ord",
                    [&](sqlite3_stmt* row) {
                        AnkiNoteType* type = noteType(collection, sqlite3_column_int64(row, 0));
                        if (type == nullptr) {
                            return AnkiResult<void>();
                        }
                        if (type->templates.size() >= MaxAnkiFields) {
                            return AnkiResult<void>(ankiFailure(AnkiProblem::BadCollection));
                        }
                        const std::optional<TemplateFormats> formats =
                            parseTemplateConfig(blobAt(row, 3));
                        if (!formats) {
                            return AnkiResult<void>(
                                ankiFailure(AnkiProblem::BadCollection, textAt(row, 2)));
                        }
                        type->templates.push_back(
                            {intAt(row, 1), textAt(row, 2), formats->question, formats->answer});
                        return AnkiResult<void>();
                    });
    }

    AnkiResult<void> readNotes(AnkiCollection& collection) {
        qint64 textBytes = 0;
        return each("SELECT id, mid, flds FROM notes ORDER BY id", [&](sqlite3_stmt* row) {
            if (static_cast<qsizetype>(collection.notes.size()) >= MaxAnkiNotes) {
                return AnkiResult<void>(ankiFailure(AnkiProblem::TooLarge));
            }
            textBytes += sqlite3_column_bytes(row, 2);
            if (textBytes > MaxNoteTextBytes) {
                return AnkiResult<void>(ankiFailure(AnkiProblem::TooLarge));
            }
            const QString fields = textAt(row, 2);
            if (fields.count(FieldSeparator) >= MaxAnkiFields) {
                const AnkiNoteType* type = noteType(collection, sqlite3_column_int64(row, 1));
                return AnkiResult<void>(
                    ankiFailure(AnkiProblem::TooManyFields, type ? type->name : QString()));
            }
            collection.notes.push_back({sqlite3_column_int64(row, 0), sqlite3_column_int64(row, 1),
                                        fields.split(FieldSeparator)});
            return AnkiResult<void>();
        });
    }

    AnkiResult<void> readCards(AnkiCollection& collection) {
        return each("SELECT id, nid, ord FROM cards", [&](sqlite3_stmt* row) {
            if (static_cast<qsizetype>(collection.cards.size()) >= MaxAnkiCards) {
                return AnkiResult<void>(ankiFailure(AnkiProblem::TooLarge));
            }
            collection.cards.push_back(
                {sqlite3_column_int64(row, 0), sqlite3_column_int64(row, 1), intAt(row, 2)});
            return AnkiResult<void>();
        });
    }

    AnkiResult<void> readReviews(AnkiCollection& collection) {
        return each("SELECT id, cid, ease, time, type FROM revlog ORDER BY id",
                    [&](sqlite3_stmt* row) {
                        if (static_cast<qsizetype>(collection.reviews.size()) >= MaxAnkiReviews) {
                            return AnkiResult<void>(ankiFailure(AnkiProblem::TooLarge));
                        }
                        collection.reviews.push_back({sqlite3_column_int64(row, 0),
                                                      sqlite3_column_int64(row, 1), intAt(row, 2),
                                                      std::max(0, intAt(row, 3)), intAt(row, 4)});
                        return AnkiResult<void>();
                    });
    }

    sqlite3* db_;
    QHash<qint64, size_t> index_;
};

int stopWhenSpent(void* calls) {
    return ++*static_cast<qint64*>(calls) > MaxProgressCalls ? 1 : 0;
}

}  // namespace

AnkiResult<AnkiCollection> readAnkiCollection(const QString& path) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    const std::unique_ptr<sqlite3, DatabaseCloser> db(raw);
    if (opened != SQLITE_OK) {
        return ankiFailure(problemOf(opened));
    }
    // The file comes from outside: its schema may hold triggers, views or functions meant to run
    // on our behalf. None of them is needed to read plain tables.
    sqlite3_db_config(raw, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(raw, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_limit(raw, SQLITE_LIMIT_LENGTH, MaxValueBytes);
    qint64 calls = 0;
    sqlite3_progress_handler(raw, ProgressStep, stopWhenSpent, &calls);
    return CollectionReader(raw).read();
}
