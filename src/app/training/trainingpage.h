// The training page: its settings, the run and its end.
#pragma once

#include "ui/events.h"

#include <QImage>
#include <QPoint>
#include <QRect>

struct App;

// Where a question stands: no run, answers awaited, answers graded.
enum class CheckState { NoRun = 0, Answering = 1, Checked = 2 };

struct TrainingRun {
    qint32 trainingPos = -1;
    qint32 trainingLast = -1;
    CheckState checkState = CheckState::NoRun;
};

// The surface the learner writes the kanji on with the mouse, and the last pen point on it
// (-1 while the pen is lifted).
struct WritingPad {
    QImage writingCanvas;
    qint32 lastPenX = -1;
    qint32 lastPenY = -1;
};

// Fills WritingCanvas with white.
void clearWritingCanvas(App& app);
// Defaults each time the training page becomes the current page.
void resetTrainingSettings(App& app);
// Shows what the settings call for; causingControl is -1 when no control caused it.
void applyTrainingSettings(App& app, int causingControl);
// Stops a run and returns the page to its resting state; show sums the run up first.
void endTraining(App& app, bool show);

// The page's buttons and settings; false for a control of another page.
bool onTrainingControl(App& app, const ui::Event& event);
// F2 checks the answers or moves on to the next question, on the training page only.
void trainingKeyF2(App& app);

// Draws what the mouse writes on the canvas, once per pass of the main loop.
void serveMouseWriting(App& app);
// Whether the mouse at a client-area point lies on a control at a place of the client area:
// the control's left and top edges count as outside, its right and bottom edges as inside.
bool mouseInsideControl(QPoint mouse, QRect control);

// The run itself is not built yet: these leave the state as it is.
void startTraining(App& app);
void nextQuestion(App& app, bool fromKeyF2);
void checkAnswers(App& app);
