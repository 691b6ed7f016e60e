// Commands on the open set: loading it from its file, saving it back, re-sorting and re-showing it.
#pragma once

#include "core/kanjiset/setfile.h"
#include "core/shell/texttables.h"

#include <QString>

struct App;

QString setFilePath(const App& app);
// ask: let the user pick the set first; a cancelled pick keeps the open set. Nothing is saved.
void loadSet(App& app, bool ask);
// "Set laden": another set picked, the open set and its profile saved, then the picked set loaded
// with the profile of the same name. A failed save asks whether to load all the same.
void loadOtherSet(App& app);
// What was read from setFilePath(app) becomes the open set, sorted and shown. Start-up reads the
// file on a worker while it builds the window, and hands the result over here. A set that could
// not be read is told to the user, naming the file and the reason.
void openSet(App& app, SetFileRead read);
// Writes the whole set to its file; a set without a name that holds kanji gets one from the user
// first. A failure is told to the user; the set stays in memory and false is returned.
bool saveSet(App& app);
// The same before another set replaces the open one: a failure, or no name given, asks
// goOnQuestion (No preselected). False when the user chose to stay with the open set.
bool saveSetOrGiveUp(App& app, MessageText goOnQuestion);
// "Neues Set": after saving the open set and its profile, a set of one empty kanji under a new
// name, with its folders.
void newSet(App& app);
// At the end of the program, before anything is written under the set's name: a set without a
// name that holds kanji gets one, or the user is asked whether to end all the same. False when
// the user chose to stay.
bool nameSetBeforeEnd(App& app);
// The set saved at the end of the program: a failure asks whether to end all the same. False when
// the user chose to stay, with the set still in memory.
bool saveSetBeforeEnd(App& app);
// Sorts by Idx1, keeps the current kanji current and shown, updates the count displays.
void refreshSet(App& app);
