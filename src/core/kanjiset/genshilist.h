// The Genshi list file: reading it, writing it, and the positions a kanji's Genshi text names.
#pragma once

#include "base/files.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

struct GenshiEntry {
    qint32 Nr = 0;
    QString Genshi;
    QString Zusatz;
    QString Bedeutung;
    qint32 Anz = 0;
    QString Kurz;
    QString Beispiele;
};

// Parses UTF-16LE text whose lines end in LF or CR LF. Lines whose first field reads as 0
// (heading, empty line, a line starting with a byte-order mark) are skipped.
std::vector<GenshiEntry> parseGenshiList(const QByteArray& bytes);

// Reads and parses the file; why not, when it could not be read (the program then goes on with
// an empty list).
FileResult<std::vector<GenshiEntry>> readGenshiListFile(const QString& path);

// Builds the file text (UTF-16LE, CR LF, the heading line first). Nullopt when a text field
// holds a "," or a line break, since the file format has no way to quote them.
std::optional<QByteArray> writeGenshiList(const std::vector<GenshiEntry>& entries,
                                          const QString& headingLine);

// The list positions a kanji's Genshi text names: one entry per ",", entry k being the
// k-th comma-separated field, so a last number without its "," does not count.
std::vector<qint32> genshiPositions(QStringView genshi);

// The entry at a 0-based position, or nullptr when the position lies outside the list.
const GenshiEntry* genshiEntryAt(const std::vector<GenshiEntry>& list, qint32 position);
