// The training page: its dispatch, the F2 key and the strokes written on its canvas.
#pragma once

#include "ui/events.h"

struct App;

// The page's buttons, settings and canvas; false for a control of another page.
bool onTrainingControl(App& app, const ui::Event& event);
// F2 checks the answers or moves on to the next question, on the training page only.
void trainingKeyF2(App& app);
// Ctrl+Z after a check takes the question back, on the training page only; before the check
// the text field with the focus undoes its own typing.
void trainingUndo(App& app);
// F3 after a check records the right answers as easy, on the training page only.
void trainingEasy(App& app);
