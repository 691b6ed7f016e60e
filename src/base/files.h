// Whole-file reading and crash-safe whole-file writing, shared by every file format.
#pragma once

#include "base/expected.h"

#include <QByteArray>
#include <QString>

// Why a file could not be read or written, in the classes a message to the user tells apart.
enum class FileErrorKind { NotFound, AccessDenied, NoSpace, TooLarge, IsFolder, Other };

struct FileError {
    FileErrorKind kind = FileErrorKind::Other;
    // The system's own words, for the cases no class covers.
    QString systemText;
};

template <class T>
using FileResult = Expected<T, FileError>;

// Reads the whole file. Files larger than maxBytes are refused, so a hostile file cannot exhaust
// memory.
FileResult<QByteArray> readWholeFile(const QString& path, qint64 maxBytes = qint64(1) << 30);

// Writes through a temporary file beside the target that is flushed and renamed over it, then
// syncs the folder: a crash, a kill, a power cut or a write error leaves either the previous or
// the new file whole. A successful save also removes the temporary copies that earlier saves of
// the same file left behind when they were killed between writing and renaming.
FileResult<void> saveFileAtomically(const QString& path, const QByteArray& data);

// Keeps the file as path + ".bak" before it is replaced; nothing to keep when it does not exist.
// A file that exists but cannot be read whole cannot be kept, which fails.
FileResult<void> keepBackupOf(const QString& path);
