// The program's own libraries that are loaded when first needed: each carries a large system
// library (Qt Multimedia, Qt Charts, espeak-ng) that only some commands use, so that a start does
// not wait for the system to load it.
#pragma once

#include "base/expected.h"

#include <QString>

// Where the modules are looked for: RENKARI_MODULE_DIR when set, else lib/renkari beside the
// running program's folder, which is bin/ when installed and src/, tests/ or bench/ in a build.
QString moduleFolder();

// Loads lib<name>.so from the folder and hands out what its extern "C" function `entry` returns:
// a table of functions whose first member is its version. A library of another version, or one
// that cannot be loaded, fails with the reason. A loaded library stays loaded until the end.
Expected<const void*, QString> loadModuleTable(const QString& folder, const QString& name,
                                               const char* entry, int version);

// The same for a table type that names its library, entry and version.
template <class Table>
Expected<const Table*, QString> moduleTable() {
    const Expected<const void*, QString> table = loadModuleTable(
        moduleFolder(), QString::fromLatin1(Table::Library), Table::Entry, Table::Version);
    if (!table) {
        return unexpected(table.error());
    }
    return static_cast<const Table*>(*table);
}
