// A kanji as strokes of points in writing order: drawn with the mouse or taken from KanjiVG.
#pragma once

#include <algorithm>
#include <cstddef>
#include <limits>
#include <optional>
#include <vector>

struct StrokePoint {
    float x = 0;
    float y = 0;

    friend bool operator==(const StrokePoint&, const StrokePoint&) = default;
};

// From pen down to pen up.
using Stroke = std::vector<StrokePoint>;
using StrokeList = std::vector<Stroke>;

// The box around the points of a drawing. Without a point in it, left lies right of right.
struct StrokeBounds {
    float left = std::numeric_limits<float>::max();
    float top = std::numeric_limits<float>::max();
    float right = std::numeric_limits<float>::lowest();
    float bottom = std::numeric_limits<float>::lowest();
};

// The box of every stroke but the one skip names.
inline StrokeBounds boundsOf(const StrokeList& strokes,
                             std::optional<std::size_t> skip = std::nullopt) {
    StrokeBounds b;
    for (std::size_t s = 0; s < strokes.size(); ++s) {
        if (s == skip) {
            continue;
        }
        for (const StrokePoint& p : strokes[s]) {
            b.left = std::min(b.left, p.x);
            b.top = std::min(b.top, p.y);
            b.right = std::max(b.right, p.x);
            b.bottom = std::max(b.bottom, p.y);
        }
    }
    return b;
}
