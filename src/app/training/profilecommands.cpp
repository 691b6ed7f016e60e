// Loading, creating, choosing and saving the learning profile.
#include "app/training/profilecommands.h"

void loadProfile(App&) {}

void saveProfile(App&) {}

void createProfile(App&) {}

void chooseProfile(App&) {}
