// Reading the SVG path of one KanjiVG stroke and turning its curves into points.
#pragma once

#include "base/expected.h"
#include "core/handwriting/strokes.h"

#include <QString>

#include <string_view>
#include <vector>

// One piece of a path as a cubic Bézier curve; lines and quadratic curves are exact cubics too.
struct PathSegment {
    StrokePoint from;
    StrokePoint control1;
    StrokePoint control2;
    StrokePoint to;
    bool straight = false;  // a line: its end is all flattening needs
};

// The segments of an SVG path's d attribute in absolute coordinates. Understands M m L l H h V v
// C c S s Q q T t Z z with implicitly repeated commands and SVG's compact numbers ("-1.5-2",
// ".5.5", "1e-3"). A stroke is one pen movement, so a path must start with its only moveto and
// draw something. The reason names the first thing not understood.
Expected<std::vector<PathSegment>, QString> parseSvgPath(std::string_view d);

// Points along the segments from the first one's start: curves are cut into pieces far shorter
// than the tolerance, then every point that lies within the tolerance of the line that replaces
// it is dropped. Empty for no segments.
Stroke flattenPath(const std::vector<PathSegment>& segments, float tolerance);
