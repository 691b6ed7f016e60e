// The training page: its dispatch, the F2 key and the strokes written on its canvas.
#pragma once

#include "ui/events.h"

struct App;

// The page's buttons, settings and canvas; false for a control of another page.
bool onTrainingControl(App& app, const ui::Event& event);
// F2 checks the answers or moves on to the next question, on the training page only.
void trainingKeyF2(App& app);
