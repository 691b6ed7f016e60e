// Reading KanjiVG's SVG paths and flattening them: end points, relative and smooth commands,
// compact numbers, paths that must be refused, and how close the points stay to the curve.
#include "makestrokes/svgpath.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<PathSegment> parsed(std::string_view d) {
    const Expected<std::vector<PathSegment>, QString> segments = parseSvgPath(d);
    EXPECT_TRUE(segments) << d << ": " << segments.error().toStdString();
    return segments ? *segments : std::vector<PathSegment>{};
}

void expectPoint(float x, float y, StrokePoint p) {
    EXPECT_FLOAT_EQ(x, p.x);
    EXPECT_FLOAT_EQ(y, p.y);
}

}  // namespace

TEST(ParseSvgPath, KanjiVgStrokesEndWhereTheirRelativeCurvesAddUpTo) {
    // 日, stroke 1: three relative cubics, one of them with a "-0.16" glued to the number before.
    const std::vector<PathSegment> down = parsed(
        "M31.5,24.5c1.12,1.12,1.74,2.75,1.74,4.75c0,1.6-0.16,38.11-0.09,53.5c0.02,3.82,0.05,6.35,"
        "0.09,6.75");
    ASSERT_EQ(3u, down.size());
    expectPoint(31.5f, 24.5f, down[0].from);
    expectPoint(32.62f, 25.62f, down[0].control1);
    expectPoint(33.24f, 29.25f, down[0].to);
    expectPoint(33.24f, 29.25f, down[1].from);
    expectPoint(33.08f, 67.36f, down[1].control2);
    expectPoint(33.15f, 82.75f, down[1].to);
    expectPoint(33.24f, 89.5f, down[2].to);
    EXPECT_FALSE(down[2].straight);

    // ! (code 33), stroke 2: a dot drawn as four relative curves with implicit repeats and
    // blanks instead of commas; it closes on its start.
    const std::vector<PathSegment> dot = parsed(
        "M54.5,88 c -0.83,0 -1.5,0.67 -1.5,1.5 0,0.83 0.67,1.5 1.5,1.5 0.83,0 1.5,-0.67 1.5,-1.5 "
        "0,-0.83 -0.67,-1.5 -1.5,-1.5");
    ASSERT_EQ(4u, dot.size());
    expectPoint(53.0f, 89.5f, dot[0].to);
    expectPoint(54.5f, 91.0f, dot[1].to);
    expectPoint(56.0f, 89.5f, dot[2].to);
    expectPoint(54.5f, 88.0f, dot[3].to);
}

TEST(ParseSvgPath, SmoothCurvesReflectTheControlPointBeforeThem) {
    const std::vector<PathSegment> smooth =
        parsed("M10,10 C20,0 30,0 40,10 S60,20 70,10 s20,-10 30,0");
    ASSERT_EQ(3u, smooth.size());
    expectPoint(50.0f, 20.0f, smooth[1].control1);  // 40,10 mirrored from 30,0
    expectPoint(60.0f, 20.0f, smooth[1].control2);
    expectPoint(80.0f, 0.0f, smooth[2].control1);  // 70,10 mirrored from 60,20
    expectPoint(90.0f, 0.0f, smooth[2].control2);  // relative to 70,10
    expectPoint(100.0f, 10.0f, smooth[2].to);

    // After anything but a cubic, S starts from the current point.
    const std::vector<PathSegment> afterLine = parsed("M0,0 L10,0 S20,10 30,0");
    ASSERT_EQ(2u, afterLine.size());
    expectPoint(10.0f, 0.0f, afterLine[1].control1);

    // Quadratics become the cubic of the same shape; T mirrors the quadratic's control point.
    const std::vector<PathSegment> quad = parsed("M0,0 Q30,30 60,0 T120,0");
    ASSERT_EQ(2u, quad.size());
    expectPoint(20.0f, 20.0f, quad[0].control1);
    expectPoint(40.0f, 20.0f, quad[0].control2);
    expectPoint(80.0f, -20.0f, quad[1].control1);  // mirrored control 90,-30
    expectPoint(100.0f, -20.0f, quad[1].control2);
}

TEST(ParseSvgPath, LinesCompactNumbersAndClosing) {
    const std::vector<PathSegment> lines = parsed("m1e1 .5.5.5H5h-1V2v+3l-1.5-2Z");
    ASSERT_EQ(7u, lines.size());
    expectPoint(10.0f, 0.5f, lines[0].from);  // a leading m is absolute
    expectPoint(10.5f, 1.0f, lines[0].to);    // pairs after m draw relative lines
    expectPoint(5.0f, 1.0f, lines[1].to);
    expectPoint(4.0f, 1.0f, lines[2].to);
    expectPoint(4.0f, 2.0f, lines[3].to);
    expectPoint(4.0f, 5.0f, lines[4].to);
    expectPoint(2.5f, 3.0f, lines[5].to);
    expectPoint(10.0f, 0.5f, lines[6].to);  // Z draws back to the start
    for (const PathSegment& segment : lines) {
        EXPECT_TRUE(segment.straight);
    }
    expectPoint(0.001f, 2.0f, parsed("M0,0L1e-3,2E0")[0].to);
}

TEST(ParseSvgPath, RefusesWhatIsNotOneStroke) {
    for (const std::string_view bad : {
             "",                         // nothing
             "   ",                      // nothing but blanks
             "L10,10",                   // no moveto first
             "M10,10",                   // draws nothing
             "M10,10 Z",                 // closes on itself: still nothing
             "M10,10 L20",               // a lone number
             "M10,10 C1,2 3,4",          // a cubic short of its end point
             "M10,10 L20,20 M5,5 L6,6",  // a second pen movement
             "M10,10 A5,5 0 0 1 20,20",  // arcs
             "M10,10 X20,20",            // no such command
             "M10,10 L20,x",             // not a number
             "M10,10 L1e999,2",          // not a finite number
             "M10,10 Linf,2",            // from_chars would take this
             "M10,10 L+-1,2",            // two signs
             "M10,10 L.,2",              // a point without digits
             "M10,10 L1e,2",             // an exponent without digits
             "M10,10 L1,,2",             // two commas
             "M10,10 20,20 5",           // an implicit line short of its y
         }) {
        const Expected<std::vector<PathSegment>, QString> segments = parseSvgPath(bad);
        EXPECT_FALSE(segments) << "accepted \"" << bad << "\"";
        if (!segments) {
            EXPECT_TRUE(segments.error().contains(u"offset"_qs) ||
                        segments.error().contains(u"nothing"_qs))
                << segments.error().toStdString();
        }
    }
}

TEST(FlattenPath, PointsStayWithinTheToleranceOfTheCurveAndAreFew) {
    // 人, stroke 1: a long sweep.
    const std::vector<PathSegment> sweep =
        parsed("M54.5,20c0.37,2.12,0.23,4.03-0.22,6.27C51.68,39.48,38.25,72.25,16.5,87.25");
    constexpr float kTolerance = 0.25f;
    const Stroke points = flattenPath(sweep, kTolerance);
    ASSERT_GE(points.size(), 4u) << "a curve is more than its chord";
    EXPECT_LE(points.size(), 20u) << "a smooth sweep needs few points at a quarter unit";
    EXPECT_EQ(sweep.front().from, points.front());
    EXPECT_EQ(sweep.back().to, points.back());

    // Every point of the curve, sampled densely, lies near the polyline.
    const auto distanceToPolyline = [&](StrokePoint p) {
        float nearest = 1e9f;
        for (size_t i = 1; i < points.size(); ++i) {
            const StrokePoint a = points[i - 1];
            const StrokePoint b = points[i];
            const float dx = b.x - a.x;
            const float dy = b.y - a.y;
            const float t =
                std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
            nearest = std::min(nearest, std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy));
        }
        return nearest;
    };
    for (const PathSegment& s : sweep) {
        for (int i = 0; i <= 1000; ++i) {
            const float t = i / 1000.0f;
            const float u = 1 - t;
            const StrokePoint p{u * u * u * s.from.x + 3 * u * u * t * s.control1.x +
                                    3 * u * t * t * s.control2.x + t * t * t * s.to.x,
                                u * u * u * s.from.y + 3 * u * u * t * s.control1.y +
                                    3 * u * t * t * s.control2.y + t * t * t * s.to.y};
            ASSERT_LT(distanceToPolyline(p), kTolerance * 1.1f) << "t " << t;
        }
    }

    // A straight line needs its two ends only; a closed dot keeps its way round.
    EXPECT_EQ(2u, flattenPath(parsed("M0,0 L10,10 L20,20"), kTolerance).size());
    const Stroke dot = flattenPath(
        parsed("M54.5,88 c -0.83,0 -1.5,0.67 -1.5,1.5 0,0.83 0.67,1.5 1.5,1.5 0.83,0 1.5,-0.67 "
               "1.5,-1.5 0,-0.83 -0.67,-1.5 -1.5,-1.5"),
        kTolerance);
    EXPECT_GE(dot.size(), 5u);
    EXPECT_EQ(dot.front(), dot.back());
    EXPECT_TRUE(flattenPath({}, kTolerance).empty());
}
