// The canvas the learner writes a kanji on, as the grading sees it.
#pragma once

#include "core/handwriting/strokes.h"

#include <QImage>

#include <vector>

// The picture the writing canvas shows and what was written on it.
struct WritingPad {
    QImage writingCanvas;
    // What was written, stroke by stroke in canvas pixels, for grading.
    StrokeList strokes;
    // Writing stroke by stroke: per reference stroke how often it was missed, and whether any
    // stroke was missed or its hint shown since the question was asked.
    std::vector<int> liveMisses;
    bool liveSlipped = false;
};
