// The training page: its dispatch, the F2 key and the pen on the writing canvas.
#pragma once

#include "ui/events.h"

#include <QPoint>
#include <QRect>

struct App;

// The page's buttons and settings; false for a control of another page.
bool onTrainingControl(App& app, const ui::Event& event);
// F2 checks the answers or moves on to the next question, on the training page only.
void trainingKeyF2(App& app);

// Draws what the mouse writes on the canvas, once per pass of the main loop.
void serveMouseWriting(App& app);
// Whether the mouse at a client-area point lies on a control at a place of the client area:
// the control's left and top edges count as outside, its right and bottom edges as inside.
bool mouseInsideControl(QPoint mouse, QRect control);
