// The training page's settings: read from its boxes for each step of a run, their defaults, and
// the controls they call for.
#pragma once

#include "core/training/trainingsession.h"

struct App;

// The settings as the page's boxes and spins hold them now, so a box clicked during a run
// changes the next question.
TrainingSettings trainingSettings(const App& app);
// The settings a learner who kept none starts with.
TrainingSettings defaultTrainingSettings(const App& app);
// Each time the training page becomes the current page: the learner's kept choices, or the
// defaults.
void resetTrainingSettings(App& app);
// Shows what the settings call for and clears the counters of the status bar; causingControl
// is -1 when no control caused it.
void applyTrainingSettings(App& app, int causingControl);
// Shows what the settings call for, leaving the status bar alone.
void showTrainingControls(App& app, int causingControl);
// The page's controls as they rest between runs.
void restTrainingControls(App& app);
