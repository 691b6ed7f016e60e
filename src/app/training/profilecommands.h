// Loading, creating, choosing, saving and deleting the learning profile of the open set.
#pragma once

#include "core/training/profilerecord.h"

#include <QString>

struct App;

// The learner's profile for the open set; no profile is in use while profileName is empty.
struct Profile {
    QString profileName;
    ProfileList profileList;
    // The profile file could not be read whole: it is kept as a backup before it is replaced.
    bool fileDamaged = false;
    // The next commit of an edited kanji gives it a profile record if it has none.
    bool profileRecordPending = true;
};

QString profileFilePath(const App& app);
// Replaces the profile list with the profile of profileName for the open set; a profile without
// a file starts with zero counters for every kanji.
void loadProfile(App& app);
// Writes the profile in use to its file. A failure is told to the user, naming the file; false
// then, with the profile still in memory.
bool saveProfile(App& app);
void createProfile(App& app);
void chooseProfile(App& app);
void deleteProfile(App& app);
