// Writing a kanji stroke by stroke: each stroke is judged the moment the pen lifts, a missed one
// taken away for another try, and after three misses of a stroke its reference shown faintly.
#pragma once

#include "core/handwriting/strokes.h"
#include "core/training/profilerecord.h"

#include <QtGlobal>

#include <optional>

struct App;
struct WritingPad;

// Whether the training page's "Strich für Strich" is chosen.
bool liveWritingOn(const App& app);
// Judges the stroke just lifted, the pad's last, against the reference stroke in its place and
// redraws the pad's canvas.
void judgeLiveStroke(WritingPad& pad, const StrokeList& reference);
// The kanji written stroke by stroke: Right when no stroke missed, Partly when one missed (or
// its hint was shown), Wrong when the kanji is not complete; nullopt when the kanji has no
// reference strokes, so that the whole drawing is graded as usual.
std::optional<Grade> liveWritingResult(const WritingPad& pad, const StrokeList* reference);
