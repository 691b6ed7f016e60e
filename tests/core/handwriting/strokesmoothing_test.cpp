// Tests of the smoothing that takes a mouse's wobble out of a stroke before recognition.
#include "core/handwriting/strokesmoothing.h"

#include "core/handwriting/drawnstrokes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr Smoothing OnTheCanvas{.step = 3.2f, .reach = 3, .tolerance = 10.7f};

float distance(StrokePoint a, StrokePoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

}  // namespace

TEST(StrokeSmoothing, AWobblyLineKeepsOnlyItsEnds) {
    const Stroke line = drawn::penMove({20, 30}, {140, 50}, 3);
    const Stroke smooth = smoothStroke(line, OnTheCanvas);
    ASSERT_EQ(smooth.size(), 2u);
    // The ends are averaged with their neighbours too, so they move in by a few points' spacing.
    EXPECT_LT(distance(smooth.front(), line.front()), 8.0f);
    EXPECT_LT(distance(smooth.back(), line.back()), 8.0f);
}

TEST(StrokeSmoothing, ACornerStaysWhereverThePointsLie) {
    // Down, then right: once with a point every pixel, once with only the three corners, as a
    // fast mouse reports them.
    Stroke dense;
    for (int y = 20; y <= 120; ++y) {
        dense.push_back({30, static_cast<float>(y)});
    }
    for (int x = 31; x <= 130; ++x) {
        dense.push_back({static_cast<float>(x), 120});
    }
    const Stroke sparse{{30, 20}, {30, 120}, {130, 120}};
    for (const Stroke& stroke : {dense, sparse}) {
        const Stroke smooth = smoothStroke(stroke, OnTheCanvas);
        ASSERT_EQ(smooth.size(), 3u) << stroke.size() << " points";
        EXPECT_LT(distance(smooth[1], {30, 120}), 8.0f) << smooth[1].x << ',' << smooth[1].y;
    }
}

TEST(StrokeSmoothing, AClickStaysAPoint) {
    EXPECT_EQ(smoothStroke({{50, 60}}, OnTheCanvas), (Stroke{{50, 60}}));
    EXPECT_TRUE(smoothStroke({}, OnTheCanvas).empty());
    // The pen went down and up on the spot, reported twice.
    const Stroke twice = smoothStroke({{50, 60}, {50, 60}}, OnTheCanvas);
    ASSERT_FALSE(twice.empty());
    EXPECT_EQ(twice.front(), (StrokePoint{50, 60}));
}
