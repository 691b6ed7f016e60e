// The learner's files in a folder a sync engine shares: conflict copies merged when the learner
// is loaded and while the program runs, and a review log replaced under the running program.
#pragma once

#include "app/state/syncstate.h"
#include "core/training/gradedquestion.h"

#include <QString>

struct App;

// Right after the learner of the open set was loaded: merges the conflict copies of its files.
// Of the training choices the ones saved last win; the review logs are united through the
// learner, each answer once and in time order, undos kept, and the profile's counters rebuilt
// from the united log, so an answer given on either machine counts once; the profile is saved.
// Each copy is set aside once what it held is saved; one that cannot be read or merged stays and
// is told.
void mergeLearnerConflictCopies(App& app);

// Before a question's answers are appended: when the log at its path is no longer the one this
// program wrote to, the engine replaced it, and the answers this program appended to the old one
// since are merged into the new one, which the learner appends to from then on.
void followReplacedLog(App& app);
// After a question's answers were appended: kept until the log is known to hold them.
void noteAppended(App& app, const GradedQuestion& question);

// While the program runs and no training run is going: merges conflict copies of the learner's
// files and a log replaced under the program, as at loading. The profile is saved, so the program
// never writes its own counters over answers another machine added.
void mergeLearnerWhileOpen(App& app);

FileIdentity fileIdentityOf(const QString& path);
