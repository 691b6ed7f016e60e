// Start-up and shutdown in their fixed order.
#pragma once

#include <QString>

struct App;

// Paths, counters, colours and fonts; everything below workDir.
void initialiseApp(App& app, const QString& workDir);
// Preferences, texts, icons, the main window, the Genshi list, the set, the profile and the
// first kanji. False when the main window could not be opened.
bool startUp(App& app);
// Preferences, profile and set to disk, then every window released. False when the set could not
// be saved and the user chose to go on working: the program then stays as it was.
bool shutDown(App& app);
// Where the lock that keeps a second program off workDir lives: in the user's runtime folder,
// named after the SHA-1 of the folder's canonical path, not in the folder itself, which may be
// synced to a second computer where the lock would stop the program. Empty without a runtime
// folder.
QString workFolderLockPath(const QString& workDir);
// The whole run; the process's exit code: 1 when another program works in the same folder, which
// the user is told. With quitAfterStart the program ends as soon as its
// first kanji is drawn, without waiting for the user and without saving.
int runRenkari(App& app, bool quitAfterStart = false);
