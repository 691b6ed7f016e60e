// A kanji as strokes of points in writing order: drawn with the mouse or taken from KanjiVG.
#pragma once

#include <vector>

struct StrokePoint {
    float x = 0;
    float y = 0;

    friend bool operator==(const StrokePoint&, const StrokePoint&) = default;
};

// From pen down to pen up.
using Stroke = std::vector<StrokePoint>;
using StrokeList = std::vector<Stroke>;
