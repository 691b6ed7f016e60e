// Grading a drawn kanji against its reference strokes, stroke by stroke.
#pragma once

#include "core/handwriting/strokes.h"

#include <vector>

// A side of a drawing's box shorter than this part of the longer side is graded, and shown, as
// that part of it: the box of 一 or 丨 is nearly a line, and stretching its thin side to full size
// would blow the hand's wobble up.
constexpr float MinSideRatio = 0.5f;

enum class HandwritingVerdict { Right, Partly, Wrong };

struct StrokeGrade {
    HandwritingVerdict verdict = HandwritingVerdict::Wrong;
    // One entry per drawn stroke: whether it matched the reference stroke it stands for. With as
    // many strokes as the reference, stroke i stands for reference stroke i, so two strokes
    // written in each other's place both count as unmatched; otherwise the strokes of the longest
    // in-order pairing count as matched.
    std::vector<bool> drawnMatched;
};

// Both drawings are scaled to their bounding boxes first (the thin side of 一 or 丨 not to full
// size), so size and place on the canvas do not count; a missing or extra stroke is left out of
// the box.
// Right: the same number of strokes, each matching its reference in order (start and end near the
// reference's, direction agreeing). Partly: one stroke missing or extra, or all strokes right but
// some in the wrong order or direction. Wrong: anything else, or nothing drawn.
StrokeGrade gradeStrokes(const StrokeList& drawn, const StrokeList& reference);
