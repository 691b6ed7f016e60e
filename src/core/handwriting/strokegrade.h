// Grading a drawn kanji against its reference strokes, stroke by stroke.
#pragma once

#include "core/handwriting/strokes.h"
#include "core/training/grade.h"

#include <cstddef>
#include <vector>

// A side of a drawing's box shorter than this part of the longer side is shown as that part of
// it: the box of 一 or 丨 is nearly a line, and stretching its thin side to full size would blow
// the hand's wobble up.
constexpr float MinSideRatio = 0.5f;

// What went wrong, for the learner to read. Strokes are counted from 0 in the reference's order;
// an extra stroke is counted in the drawing's.
struct StrokeFault {
    enum class Kind { Backwards, Exchanged, Missing, Extra };
    Kind kind = Kind::Missing;
    std::size_t stroke = 0;
    // The stroke exchanged with stroke; unused otherwise.
    std::size_t other = 0;

    friend bool operator==(const StrokeFault&, const StrokeFault&) = default;
};

struct StrokeGrade {
    Grade verdict = Grade::Wrong;
    // One entry per drawn stroke: whether it matched the reference stroke it stands for. With as
    // many strokes as the reference, stroke i stands for reference stroke i, so two strokes
    // written in each other's place both count as unmatched; otherwise the strokes of the longest
    // in-order pairing count as matched.
    std::vector<bool> drawnMatched;
    // Every stroke matches its reference in order and direction under the wider tolerance that
    // a second opinion (the recogniser naming the kanji first) may turn into Right.
    bool closeInOrder = false;
    std::vector<StrokeFault> faults;
};

// Both drawings are scaled with one scale for both axes to the longer side of their boxes, so a
// flat 一 stays flat, and the drawing is then fitted onto the reference (placement and a mild
// stretch of either axis) before stroke is compared with stroke by shape: where its middle lies,
// and how far its points, taken evenly along its length, lie from the reference's. Tolerances
// grow with the reference stroke's length, so a long stroke may end a little short or long.
// Right: the same number of strokes, each matching its reference in order and direction.
// Partly: one stroke missing, extra or missed (a near miss is no worse than no stroke at all),
// or all strokes right but some in the wrong order or direction. Wrong: anything else, or
// nothing drawn.
StrokeGrade gradeStrokes(const StrokeList& drawn, const StrokeList& reference);
