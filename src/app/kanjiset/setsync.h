// The open set in a folder a sync engine shares: the version this machine last loaded or saved,
// kept outside the folder, and the engine's conflict copies merged against it.
#pragma once

#include "core/kanjiset/setfile.h"

#include <QString>

struct App;

// Where this machine keeps the base of the next merge: the set as it last loaded it from another
// machine's hand, the version both machines had before either changed it. It lives in the
// program's own data folder, which no engine shares, in a folder named after the media folder's
// canonical path; empty when the media folder does not exist.
QString setBasePath(const App& app);
// After the set was loaded: its file becomes the base, unless it is what this machine saved
// itself. A base of this machine's own last save would make the other machine's version look
// like every change, and this machine's own changes be lost in the next merge.
void noteSetLoaded(App& app);
// After the set was saved: its file is this machine's own version.
void noteSetSaved(App& app);

// The set read from its file, with the conflict copies beside it merged in, kanji by kanji,
// against the base. The merged set is saved before a copy is set aside; kanji both machines
// changed keep this file's record and are told to the learner, with where the other machine's
// version stays. A copy that cannot be read or merged stays where it is and is told.
SetFileRead mergeSetConflictCopies(App& app, SetFileRead read);

// Before the open set is written over its file: when the file is no longer what this program
// loaded or saved (another machine's version came in while the set was open), the open set is
// merged with it kanji by kanji against the base, so the other machine's edits are not written
// over; its version is kept beside the set as a merged copy, and kanji both changed are told.
void mergeSetChangedOnDisk(App& app);
