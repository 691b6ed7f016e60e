// Why an Anki package cannot be imported, in the classes a message tells apart.
#pragma once

#include "base/expected.h"
#include "base/files.h"

#include <QString>

enum class AnkiProblem {
    // The package file itself could not be read; file tells why.
    File,
    NotZip,
    // A member named "../x" or "/x": unpacking it would write outside its folder.
    MemberNamedLikePath,
    NoCollection,
    NotSqlite,
    // SQLite, but without the tables of a collection or with values out of their range.
    BadCollection,
    // A zstd stream that is cut short or damaged.
    BadStream,
    // Beyond the size cap, or more notes, cards or reviews than a collection can hold.
    TooLarge,
    // The temporary folder has too little room, or writing there failed; file tells why.
    NoRoom,
    MediaNamedLikePath,
    TooManyFields,
};

struct AnkiError {
    AnkiProblem problem = AnkiProblem::File;
    FileError file;
    // The member, media file or note type the problem lies in, when there is one.
    QString detail;
};

template <class T>
using AnkiResult = Expected<T, AnkiError>;

inline Unexpected<AnkiError> ankiFailure(AnkiProblem problem, QString detail = {}) {
    return unexpected(AnkiError{problem, {}, std::move(detail)});
}
