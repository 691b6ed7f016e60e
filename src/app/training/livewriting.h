// Writing a kanji stroke by stroke: each stroke is judged the moment the pen lifts, a missed one
// taken away for another try, and after three misses of a stroke its reference shown faintly.
#pragma once

#include "core/training/profilerecord.h"

#include <QtGlobal>

#include <optional>

struct App;

// Whether the training page's "Strich für Strich" is chosen.
bool liveWritingOn(const App& app);
// Judges the stroke just lifted against the reference stroke in its place and redraws the canvas.
void judgeLiveStroke(App& app);
// The kanji written stroke by stroke: Right when no stroke missed, Partly when one missed (or
// its hint was shown), Wrong when the kanji is not complete; nullopt when the mode is off or the
// kanji has no reference strokes, so that the whole drawing is graded as usual.
std::optional<Grade> liveWritingResult(App& app, qint32 code);
