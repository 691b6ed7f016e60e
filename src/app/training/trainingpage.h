// The training page: its settings, its resting state, its dispatch and the writing canvas.
#pragma once

#include "core/handwriting/strokes.h"
#include "ui/events.h"

#include <QImage>
#include <QPoint>
#include <QRect>

struct App;

// The surface the learner writes the kanji on with the mouse, and the last pen point on it
// (-1 while the pen is lifted).
struct WritingPad {
    QImage writingCanvas;
    qint32 lastPenX = -1;
    qint32 lastPenY = -1;
    // What was written, stroke by stroke in canvas pixels, for grading.
    StrokeList strokes;
};

// Fills WritingCanvas with white and forgets the strokes.
void clearWritingCanvas(App& app);
// Defaults each time the training page becomes the current page.
void resetTrainingSettings(App& app);
// Shows what the settings call for and clears the counters of the status bar; causingControl
// is -1 when no control caused it.
void applyTrainingSettings(App& app, int causingControl);
// Shows what the settings call for, leaving the status bar alone.
void showTrainingControls(App& app, int causingControl);
// The page's controls as they rest between runs.
void restTrainingControls(App& app);
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
