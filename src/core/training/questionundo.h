// Taking a checked question back: out of the learner's profile, log and memory and out of the
// run's counts, so that it can be answered again; and its right answers recorded again as easy.
#pragma once

#include "core/training/learner.h"
#include "core/training/trainingsession.h"

#include <optional>

// Takes back the question the run has just checked (one level): the learner's last answers and
// the run's counts as they were before the check; the question then waits for its answers again.
// nullopt when the run's current question is not checked, or its check was taken back already.
std::optional<Undone> undoCheckedQuestion(TrainingSession& run, Learner& learner);

// The question the run has just checked, recorded again with its right answers as Easy: the
// learner takes it back and answers it anew (the run's counts stay, as Easy counts as right).
// nullopt when it has no right answer or the learner holds no question to take back.
std::optional<FileResult<void>> recordRightAsEasy(const TrainingSession& run, Learner& learner);
