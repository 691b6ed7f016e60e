// The daily review of the profile in use: its answers logged as they are given, the memory of
// each kanji and kind replayed from the log, what is due, and the learner's training choices.
#pragma once

#include "core/training/duelist.h"
#include "core/training/practicechoice.h"
#include "core/training/profilerecord.h"
#include "core/training/trainingsession.h"

#include <QString>

#include <optional>

struct App;

// A file of the profile in use in the open set's folder: the profile itself (".rkpr"), its
// review log (".rklog") or its training choices (".rktrain").
QString learnerFilePath(const App& app, const char* suffix);

// Takes the profile in use for the daily review; without a profile, nothing is kept.
void openLearnerMemory(App& app);
// The first time the daily review is needed: reads the training choices and the review log of
// the profile in use and replays the log. A profile without a log starts one from its counters
// when its next answer is given; a damaged log is kept as ".bak" and the learner told.
void prepareLearnerMemory(App& app);
// Makes the answers given so far durable and lets go of the profile's files.
void closeLearnerMemory(App& app);
// Logs a graded answer of the profile in use and moves the kind's memory on.
void recordReview(App& app, qint32 code, AnswerKind kind, Grade result);
// Makes the logged answers durable: at the end of each run and at exit.
void syncLearnerMemory(App& app);

// The kanji due now for the asked kinds, and the new ones the day still takes.
DueList dueListNow(App& app, AskedKinds asked);
// "Fällig: n   Neu: m" on the training page, and while a run is going in the status bar; when
// nothing is due, when the next review falls due.
void showDueCounts(App& app, AskedKinds asked);

// Keeps the training page's settings as the learner's choices, in the file beside the profile.
void keepTrainingChoices(App& app, const TrainingSettings& settings);
// Keeps the daily review's retention, new kanji per day and memory parameters, and replays the
// log with the parameters.
void keepReviewChoices(App& app, double retention, qint32 newPerDay,
                       std::optional<MemoryParameters> parameters);
// Keeps what "Lernkarten drucken" printed, to be offered again next time: in the file beside the
// profile, or without a profile in memory until one is taken.
void keepPrintChoice(App& app, const PrintChoice& choice);
