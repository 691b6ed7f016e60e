// Which folder the program works in, and filling a learner's folder from the installed data.
#pragma once

#include <QString>

// True when dir already is a working folder: it holds Renkari.pref or a Media folder.
bool isWorkingDirectory(const QString& dir);

// The learner's own folder when the program is started from the menu: $XDG_DATA_HOME/Renkari,
// or ~/.local/share/Renkari when XDG_DATA_HOME is unset, empty or not absolute.
QString userWorkingDirectory(const QString& home, const QString& xdgDataHome);

// Copies every file below from that is missing below to, keeping the folder layout. A file that
// exists is never touched, so a learner's changes survive every start. False when a missing file
// could not be copied; the others are still copied.
bool copyMissingFiles(const QString& from, const QString& to);

// The folder to work in: the current one when it is a working folder (as scripts/run and the
// tests start the program), otherwise the learner's folder, created with its media folder and
// filled first from installedData (which may be missing).
QString chooseWorkingDirectory(const QString& current, const QString& installedData,
                               const QString& home, const QString& xdgDataHome);
