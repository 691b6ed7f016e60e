// Loading, creating, choosing and saving the learning profile.
#pragma once

struct App;

// Not built yet: these leave the profile as it is.
void loadProfile(App& app);
void saveProfile(App& app);
void createProfile(App& app);
void chooseProfile(App& app);
