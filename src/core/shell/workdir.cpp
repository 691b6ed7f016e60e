// Which folder the program works in, and filling a learner's folder from the installed data.
#include "core/shell/workdir.h"

#include "base/files.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

bool isWorkingDirectory(const QString& dir) {
    const QDir folder(dir);
    return QFileInfo::exists(folder.filePath(QStringLiteral("Renkari.pref"))) ||
           QFileInfo(folder.filePath(QStringLiteral("Media"))).isDir();
}

QString userWorkingDirectory(const QString& home, const QString& xdgDataHome) {
    // The XDG rules say a relative XDG_DATA_HOME is invalid and is to be ignored.
    const QString base = !xdgDataHome.isEmpty() && QDir::isAbsolutePath(xdgDataHome)
                             ? xdgDataHome
                             : QDir(home).filePath(QStringLiteral(".local/share"));
    return QDir(base).filePath(QStringLiteral("Renkari"));
}

bool copyMissingFiles(const QString& from, const QString& to) {
    const QDir source(from);
    if (!source.exists()) {
        return false;
    }
    bool complete = QDir().mkpath(to);
    const QDir target(to);
    QDirIterator files(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString relative = source.relativeFilePath(path);
        const QString destination = target.filePath(relative);
        if (QFileInfo::exists(destination)) {
            continue;
        }
        if (!QDir().mkpath(QFileInfo(destination).path())) {
            complete = false;
            continue;
        }
        // Saved whole, so an interrupted start never leaves a half file that the next start
        // would take for the learner's own; the copy is the learner's to change, whatever
        // permissions the installed file has.
        const auto bytes = readWholeFile(path);
        if (!bytes || !saveFileAtomically(destination, *bytes)) {
            complete = false;
        }
    }
    return complete;
}

QString chooseWorkingDirectory(const QString& current, const QString& installedData,
                               const QString& home, const QString& xdgDataHome) {
    if (isWorkingDirectory(current)) {
        return current;
    }
    const QString own = userWorkingDirectory(home, xdgDataHome);
    // A folder that could not be filled completely is still the best place to start: the program
    // shows what is missing the way it does for a damaged working folder.
    copyMissingFiles(installedData, own);
    // Also without installed data the learner's preferences and sets need a place to go; the
    // media folder makes it a working folder from then on.
    QDir().mkpath(QDir(own).filePath(QStringLiteral("Media")));
    return own;
}
