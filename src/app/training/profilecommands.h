// Loading, creating, choosing, saving and deleting the learning profile of the open set.
#pragma once

#include "base/files.h"
#include "core/training/learner.h"
#include "core/training/profilefile.h"
#include "core/training/profilerecord.h"

#include <QString>

#include <optional>

struct App;

QString profileFilePath(const App& app);

// A profile file as read from disk, before it meets the open set. NotFound only when there is
// no such file; any other failure is a file that is there although it could not be read.
using ProfileRead = FileResult<ProfileFileContent>;
// Reads a profile file; touches nothing else, so it can be done while the set is still read.
ProfileRead readProfile(const QString& path);
// Replaces the profile list with the profile of profileName for the open set; a profile without
// a file starts with zero counters for every kanji.
void loadProfile(App& app);
// The same with the file read beforehand, and the learner's files too when reading holds them.
void loadProfile(App& app, ProfileRead read, std::optional<LearnerReading> reading = {});
// Writes the profile in use to its file. A failure is told to the user, naming the file; false
// then, with the profile still in memory.
bool saveProfile(App& app);
void createProfile(App& app);
void chooseProfile(App& app);
void deleteProfile(App& app);
