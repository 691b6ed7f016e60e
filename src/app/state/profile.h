// The learner's profile for the open set.
#pragma once

#include <QString>

// No profile is in use while profileName is empty; its records are the learner's (App::learner).
struct Profile {
    QString profileName;
    // The profile file could not be read whole: it is kept as a backup before it is replaced.
    bool fileDamaged = false;
    // The open set could not be read: the profile was neither read against it nor may it be
    // saved, or it would lose the records of every kanji of the real set.
    bool onHold = false;
    // The next commit of an edited kanji gives it a profile record if it has none.
    bool profileRecordPending = true;
};
