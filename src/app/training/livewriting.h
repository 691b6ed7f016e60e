// Writing a kanji stroke by stroke: each stroke is judged the moment the pen lifts, a missed one
// taken away for another try and named in words, and after three misses of a stroke its reference
// shown over the writing with its start and direction.
#pragma once

#include "core/handwriting/livestroke.h"
#include "core/handwriting/strokes.h"
#include "core/training/profilerecord.h"

#include <QString>
#include <QtGlobal>

#include <optional>

struct App;
class TextTables;
struct WritingPad;

// Whether the training page's "Strich für Strich" is chosen.
bool liveWritingOn(const App& app);
// Judges the stroke just lifted, the pad's last, against the reference stroke in its place and
// redraws the pad's canvas: a missed stroke is taken away, and returned with what went wrong.
std::optional<LiveStrokeMiss> takeLiveStroke(WritingPad& pad, const StrokeList& reference);
// What went wrong with a missed stroke, for the label beside the canvas.
QString liveStrokeMissText(const TextTables& texts, const LiveStrokeMiss& miss);
// The kanji written stroke by stroke: Right when no stroke missed, Partly when one missed (or
// its hint was shown), Wrong when the kanji is not complete; nullopt when the kanji has no
// reference strokes, so that the whole drawing is graded as usual.
std::optional<Grade> liveWritingResult(const WritingPad& pad, const StrokeList* reference);
