// Reading and writing the XML set file that holds one kanji set.
#pragma once

#include "base/expected.h"
#include "base/files.h"
#include "core/kanjiset/kanjirecord.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Told the set's first record as soon as it is whole, while the rest is still being read, on the
// reading thread; at most once. Not told for a set whose first record fills the first 64 KiB, and
// the records that follow may still turn out unreadable.
using FirstRecordSeen = std::function<void(const KanjiRecord&)>;

// Files of this size on are read in two halves at once. Below it one pass takes a few
// milliseconds, less than a window takes to build, and a second thread would only compete with
// the window being built.
constexpr qint64 SetFileHalvesFrom = qint64(4) << 20;

// Parses a set file in any encoding Expat detects (UTF-16 with or without byte-order mark,
// UTF-8, ISO-8859-1). The root's children become records by position, whatever their names.
// nullopt when the bytes are empty, not well-formed, declare entities, or hold more records
// than any kanji set could.
// Files of several megabytes are read in two halves at once (parseSetFileInHalves), with the
// same result as one pass.
std::optional<std::vector<KanjiRecord>> parseSetFile(const QByteArray& bytes,
                                                     const FirstRecordSeen& firstSeen = {});

// The records of a UTF-16 set file, its halves read by two threads; the same as parseSetFile
// whenever it gives any. Nothing when the file cannot be split between two children of the root
// (single-byte encodings, a document type declaration, no fitting split near the middle) or is
// not a set file: one pass then decides.
std::optional<std::vector<KanjiRecord>> parseSetFileInHalves(const QByteArray& bytes,
                                                             const FirstRecordSeen& firstSeen = {});

using SetFileRead = FileResult<std::vector<KanjiRecord>>;

// The records of the set file at path, in the file's order. Safe to call on any thread.
// NotFound only when there is no such file; any other failure means a file exists that must
// not be replaced by an empty set. Bytes that hold no set give Malformed.
SetFileRead readSetFile(const QString& path, const FirstRecordSeen& firstSeen = {});

// Writes the records as a set file: UTF-16 little-endian without byte-order mark, no
// whitespace between elements. Reading the result back gives every stored field unchanged.
QByteArray writeSetFile(const std::vector<KanjiRecord>& records);
