// Hand-made strokes for the handwriting tests: straight pen moves with a little wobble, references
// in KanjiVG's 109 x 109 box and drawings of them placed anywhere on the canvas.
#pragma once

#include "core/handwriting/strokes.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace drawn {

// From one point to another in ten steps, the inner points pushed to alternate sides of the line
// by wobble, as a hand shakes.
inline Stroke penMove(StrokePoint from, StrokePoint to, float wobble = 0) {
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    const float length = std::hypot(dx, dy);
    Stroke stroke;
    for (int i = 0; i <= 10; ++i) {
        const float t = static_cast<float>(i) / 10;
        const float aside = (i == 0 || i == 10) ? 0 : (i % 2 == 0 ? wobble : -wobble);
        stroke.push_back(
            {from.x + t * dx - aside * dy / length, from.y + t * dy + aside * dx / length});
    }
    return stroke;
}

// A drawing of the strokes: scaled, moved, each stroke wobbling.
inline StrokeList placed(const StrokeList& strokes, float scale, StrokePoint offset,
                         float wobble = 1.5f) {
    StrokeList drawing;
    for (const Stroke& s : strokes) {
        const StrokePoint from{offset.x + s.front().x * scale, offset.y + s.front().y * scale};
        const StrokePoint to{offset.x + s.back().x * scale, offset.y + s.back().y * scale};
        drawing.push_back(penMove(from, to, wobble));
    }
    return drawing;
}

inline Stroke reversed(Stroke stroke) {
    std::reverse(stroke.begin(), stroke.end());
    return stroke;
}

// KanjiVG-like references, strokes in writing order.
inline StrokeList ichi() {
    return {penMove({11, 55}, {97, 51})};
}
inline StrokeList san() {
    return {penMove({27, 24}, {82, 22}), penMove({33, 54}, {76, 53}), penMove({14, 89}, {95, 87})};
}
// 三 as a learner draws it on the 160 x 160 canvas.
inline StrokeList sanOnCanvas() {
    return placed(san(), 1.4f, {8, 6});
}
inline StrokeList tsuchi() {
    return {penMove({29, 45}, {80, 44}), penMove({54, 18}, {55, 86}), penMove({14, 87}, {95, 86})};
}
inline StrokeList ou() {
    return {penMove({22, 22}, {87, 22}), penMove({54, 22}, {55, 87}), penMove({28, 55}, {81, 54}),
            penMove({15, 88}, {94, 87})};
}
inline StrokeList kawa() {
    return {penMove({30, 18}, {18, 90}), penMove({54, 22}, {55, 80}), penMove({82, 15}, {83, 94})};
}

}  // namespace drawn
