// Writing on the canvas with a pen tablet or one finger on a touch screen, as with the mouse.
#pragma once

#include <QPoint>

struct App;

// Puts the pen down at a point of the canvas, or draws on to it while the pen stays down.
void writeOnCanvas(App& app, QPoint pen);
// Ends the stroke being written; writing stroke by stroke, judges it.
void liftPen(App& app);

// The canvas takes tablet and single-finger touch events itself and ignores the mouse events Qt
// makes from them, which would draw each stroke a second time. Call once the training page is
// built.
void installPenInput(App& app);
