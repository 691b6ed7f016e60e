// The training page: its settings, the run and its end.
#pragma once

struct App;

// Fills WritingCanvas with white.
void clearWritingCanvas(App& app);
// Defaults each time the training page becomes the current page.
void resetTrainingSettings(App& app);
// Shows what the settings call for; causingControl is -1 when no control caused it.
void applyTrainingSettings(App& app, int causingControl);
// Stops a run and returns the page to its resting state; show sums the run up first.
void endTraining(App& app, bool show);

// The run itself is not built yet: these leave the state as it is.
void startTraining(App& app);
void nextQuestion(App& app, bool fromKeyF2);
void checkAnswers(App& app);
