// The strokes the training page's writing canvas hands on, whether a mouse, a pen tablet or a
// finger wrote them.
#pragma once

#include <QPolygon>

struct App;

// Keeps a finished stroke (canvas pixels) on the writing pad and shows it; writing stroke by
// stroke, judges it, otherwise starts reading the kanji so far for the grading to come.
void takeStroke(App& app, const QPolygon& points);
// Takes the stroke being written, if one is, as far as it goes: a command that comes meanwhile
// (a key) sees it, and the rest of that drag writes nothing.
void endStrokeInProgress(App& app);
