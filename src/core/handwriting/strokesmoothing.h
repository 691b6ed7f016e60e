// Taking the hand's wobble out of a mouse stroke, so that a recogniser sees its corners only.
#pragma once

#include "core/handwriting/strokes.h"

struct Smoothing {
    // Distance between the points the stroke is first resampled to.
    float step = 1;
    // Each resampled point becomes the mean of itself and this many neighbours on either side.
    int reach = 0;
    // A point is kept only where the stroke strays further than this from the straight line
    // between the points kept around it (Ramer-Douglas-Peucker).
    float tolerance = 0;
};

// Points every step along the stroke from its first point, its last point included; the stroke
// must not be empty.
Stroke resampled(const Stroke& stroke, float step);

// An empty stroke stays empty; a single point stays as it is.
Stroke smoothStroke(const Stroke& stroke, const Smoothing& smoothing);
