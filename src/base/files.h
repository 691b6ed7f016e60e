// Whole-file reading and crash-safe whole-file writing, shared by every file format.
#pragma once

#include "base/expected.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

// Why a file could not be read or written, in the classes a message to the user tells apart.
enum class FileErrorKind {
    NotFound,
    AccessDenied,
    NoSpace,
    TooLarge,
    IsFolder,
    // A save to a symbolic link is refused: it would write wherever the link leads.
    IsLink,
    // A device, a pipe or a socket: it could block a read or never end.
    NotRegularFile,
    // The bytes were read but are not what the format holds (a set file that is no set, a
    // picture that does not decode); systemText carries the reader's own reason, if it has one.
    Malformed,
    Other
};

struct FileError {
    FileErrorKind kind = FileErrorKind::Other;
    // The system's own words, for the cases no class covers.
    QString systemText;
};

template <class T>
using FileResult = Expected<T, FileError>;

// The error a failed system call's error number stands for.
FileError fileErrorOf(int errorNumber);

// Reads the whole file. Files larger than maxBytes are refused, so a hostile file cannot exhaust
// memory; at most maxBytes + 1 bytes are read whatever size the file claims. Links are followed,
// but only a regular file is read: a device or a pipe is refused without waiting for a writer.
FileResult<QByteArray> readWholeFile(const QString& path, qint64 maxBytes = qint64(1) << 30);

// Reads the file as readWholeFile does, but hands it to take in pieces of at most chunkBytes, in
// order, so a file too large to hold twice can be read; take returning false stops the read.
FileResult<void> readFileInChunks(const QString& path, qint64 maxBytes, qsizetype chunkBytes,
                                  const std::function<bool(QByteArrayView)>& take);

// The checks readWholeFile makes before it reads, for a reader that opens the file itself.
FileResult<void> checkRegularFile(const QString& path);

// The part every temporary file of saveFileAtomically carries in its name, after a leading "."
// and the target's name and before six random letters or digits.
inline constexpr char SaveMarker[] = ".renkari-save-";

// Writes a temporary file beside the target, named with SaveMarker, syncs it, renames it over the
// target and syncs the folder: a crash, a kill, a power cut or a write error leaves either the
// previous or the new file whole. A target that is a symbolic link is refused, so a save never
// writes outside the target's folder. A new file is created with the permissions the umask
// allows; a replaced one keeps its mode. A successful save also removes the temporary files that
// earlier saves of the same target left behind when they were killed, and nothing else.
FileResult<void> saveFileAtomically(const QString& path, const QByteArray& data);

// Keeps the file as path + ".bak" before it is replaced; nothing to keep when it does not exist.
// A file that exists but cannot be read whole cannot be kept, which fails.
FileResult<void> keepBackupOf(const QString& path);
