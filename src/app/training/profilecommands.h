// Loading, creating, choosing and saving the learning profile.
#pragma once

#include "core/training/profilerecord.h"

#include <QString>

struct App;

// The learner's profile for the open set; no profile is in use while profileName is empty.
struct Profile {
    QString profileName;
    ProfileList profileList;
};

// Not built yet: these leave the profile as it is.
void loadProfile(App& app);
void saveProfile(App& app);
void createProfile(App& app);
void chooseProfile(App& app);
