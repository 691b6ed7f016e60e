// Commands on the open set: loading it from its file, saving it back, re-sorting and re-showing it.
#pragma once

#include "core/kanjiset/setfile.h"

#include <QString>

struct App;

QString setFilePath(const App& app);
// ask: let the user pick the set first; a cancelled pick keeps the open set.
void loadSet(App& app, bool ask);
// What was read from setFilePath(app) becomes the open set, sorted and shown. Start-up reads the
// file on a worker while it builds the window, and hands the result over here.
void openSet(App& app, SetFileRead read);
// Writes the whole set to its file. A failure is told to the user; the set stays in memory and
// false is returned.
bool saveSet(App& app);
// "Neues Set": after saving the open set and its profile, a set of one empty kanji under a new
// name, with its folders.
void newSet(App& app);
// The same at the end of the program: a failure asks whether to end all the same. False when the
// user chose to stay, with the set still in memory.
bool saveSetBeforeEnd(App& app);
// Sorts by Idx1, keeps the current kanji current and shown, updates the count displays.
void refreshSet(App& app);
