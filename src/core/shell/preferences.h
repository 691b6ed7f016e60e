// The preference file "Renkari.pref": the five values remembered from one run to the next.
#pragma once

#include "base/files.h"

#include <QByteArray>
#include <QString>

struct Preferences {
    QString LastSet;
    QString LastProfile;
    QString ImportPath;
    QString ExportPath;
    QString Language;

    bool operator==(const Preferences&) const = default;
};

// Reads the key lines of a preference file. A key that is absent keeps its value from
// defaults, which hold what the program uses without a file (both paths = WorkDir).
// Keys are matched without regard to ASCII letter case; when a key appears more than once,
// its first occurrence counts. Only keys before the first "[group]" line count.
Preferences parsePreferences(const QByteArray& bytes, const Preferences& defaults);

// The file as the program writes it: UTF-8 byte order mark, an empty line, then one
// "Key = value" line per key, every line ended by CR LF. Line breaks inside a value are
// dropped, because the file has no way to hold them and they would otherwise add lines.
QByteArray serializePreferences(const Preferences& prefs);

// The file's keys over defaults; why not, when the file could not be read (the program then
// goes on with defaults and leaves the file alone). TooLarge beyond a megabyte.
FileResult<Preferences> readPreferencesFile(const QString& path, const Preferences& defaults);

// Replaces the file whole; when it cannot be written the old file stays.
FileResult<void> writePreferencesFile(const QString& path, const Preferences& prefs);
