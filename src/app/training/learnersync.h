// The learner's files in a folder a sync engine shares: conflict copies merged when the learner
// is loaded and while the program runs, and a review log replaced under the running program.
#pragma once

#include "app/state/syncstate.h"
#include "app/training/profilecommands.h"

#include <QString>

struct App;

// Merges the conflict copies of the learner's files of the open set, before the learner is read:
// of the training choices the ones saved last win; the review logs are united, each answer once
// and in time order, undos kept; the profile's counters are then rebuilt from the merged log, so
// an answer given on either machine counts once, and read takes the rebuilt profile. Each copy is
// set aside once what it held is saved; one that cannot be read or merged stays and is told.
void mergeLearnerConflictCopies(App& app, ProfileRead& read);

// Before an answer is appended: when the log at its path is no longer the one this program knows,
// the engine replaced it, and the answer goes to the new file; what the old one held of this
// machine is merged in once no training run is going (mergeLearnerWhileOpen).
void noticeReplacedLog(App& app);

// While the program runs and no training run is going: merges conflict copies of the learner's
// log and profile and a log replaced under the program into the profile in use, as at loading,
// keeping every answer this machine holds in memory. The profile is saved, so the program never
// writes its own counters over answers another machine added.
void mergeLearnerWhileOpen(App& app);

FileIdentity fileIdentityOf(const QString& path);
