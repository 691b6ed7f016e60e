// The learner of the profile in use as the app holds it: loaded with the profile, its failures
// told, its answers made durable; what is due, and the learner's training choices.
#pragma once

#include "core/training/duelist.h"
#include "core/training/practicechoice.h"
#include "core/training/profilerecord.h"
#include "core/training/trainingsession.h"
#include "core/training/trainingstep.h"

#include <QString>

#include <optional>

struct App;

// A file of the profile in use in the open set's folder: the profile itself (".rkpr"), its
// review log (".rklog") or its training choices (".rktrain").
QString learnerFilePath(const App& app, const char* suffix);

// The review log and training choices of the profile in use.
LearnerFiles learnerFiles(const App& app);
// Takes the records of the profile in use (read and synced against the set) as the learner's,
// reading its training choices and replaying its log, unless reading holds them read already
// (on a worker during the start): counters its log is ahead of (answers after the profile's last
// save, as a crash leaves them) are brought up to date, a damaged log is kept as ".bak" and the
// learner told. Without a profile in use, nothing is kept.
void loadLearner(App& app, ProfileList profile, std::optional<LearnerReading> reading = {});
// Makes the answers given so far durable and lets go of the profile's records and files.
void closeLearner(App& app);
// Makes the logged answers durable: at the end of each run and at exit.
void syncLearner(App& app);
// Tells the learner that the log could not take answers: they are kept in memory only.
void tellLogFailure(App& app, const FileError& error);

// The kanji due now for the asked kinds, and the new ones the day still takes.
DueList dueListNow(App& app, AskedKinds asked);
// "Fällig: n   Neu: m" on the training page, and while a run is going in the status bar; when
// nothing is due, when the next review falls due.
void showDueCounts(App& app, AskedKinds asked);
// The same with the counts worked out already.
void paintDueCounts(App& app, const DueCounts& due);

// Keeps the training page's settings as the learner's choices, in the file beside the profile.
void keepTrainingChoices(App& app, const TrainingSettings& settings);
// Keeps the daily review's retention, new kanji per day, memory parameters and daily budget
// (answers, or minutes when budgetInMinutes), and replays the log with the parameters.
void keepReviewChoices(App& app, double retention, qint32 newPerDay,
                       std::optional<MemoryParameters> parameters, qint32 budget,
                       bool budgetInMinutes);
// Keeps what "Lernkarten drucken" printed, to be offered again next time: in the file beside the
// profile, or without a profile in memory until one is taken.
void keepPrintChoice(App& app, const PrintChoice& choice);
// Keeps "Tippfehler nachsichtig" with the other choices, as keepPrintChoice keeps its own.
void keepLenientTypos(App& app, bool lenient);
