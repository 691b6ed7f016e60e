// Modules are found by path, never by the system's search, so an installed program never picks up
// another version's module.
#include "base/modulelibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

QString moduleFolder() {
    const QString chosen = qEnvironmentVariable("RENKARI_MODULE_DIR");
    if (!chosen.isEmpty()) {
        return chosen;
    }
    // The core suites and tools run without an application object.
    const QString programFolder = QCoreApplication::instance() != nullptr
                                      ? QCoreApplication::applicationDirPath()
                                      : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return QDir::cleanPath(programFolder + QStringLiteral("/../lib/renkari"));
}

Expected<const void*, QString> loadModuleTable(const QString& folder, const QString& name,
                                               const char* entry, int version) {
    QLibrary library(folder + QStringLiteral("/lib") + name + QStringLiteral(".so"));
    if (!library.load()) {
        return unexpected(library.errorString());
    }
    using Entry = const void* (*)();
    const auto function = reinterpret_cast<Entry>(library.resolve(entry));
    if (function == nullptr) {
        return unexpected(library.errorString());
    }
    const void* table = function();
    // Every table begins with its version, so a module left over from another build is refused
    // before any of its functions is called.
    if (table == nullptr || *static_cast<const int*>(table) != version) {
        return unexpected(
            QStringLiteral("%1: version %2 expected").arg(library.fileName()).arg(version));
    }
    return table;
}
