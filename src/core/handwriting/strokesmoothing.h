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

// An empty stroke stays empty; a single point stays as it is.
Stroke smoothStroke(const Stroke& stroke, const Smoothing& smoothing);
