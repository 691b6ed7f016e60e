// Tests of the stroke-order strip: frames, colours, the start dot and strokes drawn as their
// polylines, also from the committed KanjiVG strokes.
#include "core/handwriting/strokestrip.h"

#include "core/handwriting/strokelibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

int blackLevel(std::uint8_t index) {
    return index / StripLevels;
}
int redLevel(std::uint8_t index) {
    return index % StripLevels;
}

// KanjiVG's 109 box fills the frame but for a margin of 3 pixels on each side.
float frameCoordinate(float kanjiVg) {
    return 3.0f + kanjiVg * (StripFrameSize - 6) / StrokeLibrary::BoxSize;
}
int framePixel(float kanjiVg) {
    return static_cast<int>(frameCoordinate(kanjiVg));
}

const StrokeList kThreeStrokes = {
    {{15, 25}, {95, 25}}, {{55, 10}, {55, 100}}, {{15, 90}, {95, 90}}};

float distanceToStroke(StrokePoint p, const Stroke& stroke) {
    float nearest = std::hypot(p.x - stroke.front().x, p.y - stroke.front().y);
    for (size_t i = 1; i < stroke.size(); ++i) {
        const StrokePoint a = stroke[i - 1];
        const StrokePoint b = stroke[i];
        const float dx = b.x - a.x;
        const float dy = b.y - a.y;
        const float squared = dx * dx + dy * dy;
        const float t =
            squared > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / squared, 0.0f, 1.0f)
                        : 0.0f;
        nearest = std::min(nearest, std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy));
    }
    return nearest;
}

}  // namespace

TEST(StripPalette, CornersAreWhiteBlackAndRed) {
    const StripPalette palette = stripPalette();
    EXPECT_EQ((StripRgb{255, 255, 255}), palette[0]);
    EXPECT_EQ((StripRgb{0, 0, 0}), palette[(StripLevels - 1) * StripLevels]);
    const StripRgb red = palette[StripLevels - 1];
    EXPECT_GT(red.r, 150);
    EXPECT_LT(red.g, 60);
    // Red fully over black is the same red: the newest stroke always shows on top.
    EXPECT_EQ(red, palette[(StripLevels - 1) * StripLevels + StripLevels - 1]);
    for (int level = 1; level < StripLevels; ++level) {
        EXPECT_LT(palette[level * StripLevels].r, palette[(level - 1) * StripLevels].r) << level;
    }
}

TEST(RenderStrip, OneFramePerStrokeNewestRedEarlierBlack) {
    const StripImage strip = renderStrip(kThreeStrokes);
    ASSERT_EQ(3 * StripFrameSize, strip.width);
    ASSERT_EQ(StripFrameSize, strip.height);

    // Frame 0: only stroke 1, in red, nothing black anywhere.
    const int row1 = framePixel(25);
    EXPECT_EQ(StripLevels - 1, redLevel(strip.at(framePixel(55), row1)));
    for (int y = 0; y < StripFrameSize; ++y) {
        for (int x = 0; x < StripFrameSize; ++x) {
            ASSERT_EQ(0, blackLevel(strip.at(x, y))) << x << "," << y;
        }
    }
    // Frame 2: strokes 1 and 2 black, stroke 3 red; stroke 1 carries no red any more.
    const int left = 2 * StripFrameSize;
    EXPECT_EQ(StripLevels - 1, blackLevel(strip.at(left + framePixel(75), row1)));
    EXPECT_EQ(0, redLevel(strip.at(left + framePixel(75), row1)));
    EXPECT_EQ(StripLevels - 1, blackLevel(strip.at(left + framePixel(55), framePixel(60))));
    EXPECT_EQ(StripLevels - 1, redLevel(strip.at(left + framePixel(75), framePixel(90))));
}

TEST(RenderStrip, StartDotMarksWhereTheNewStrokeBegins) {
    const StripImage strip = renderStrip(kThreeStrokes);
    // Before the start of stroke 1, off its own line but inside the dot.
    const int x = framePixel(15) - 3;
    const int y = framePixel(25) - 2;
    EXPECT_EQ(StripLevels - 1, redLevel(strip.at(x, y)));
    // Once the stroke is black in later frames, its dot is gone.
    EXPECT_EQ(0, strip.at(StripFrameSize + x, y));
    EXPECT_EQ(0, strip.at(2 * StripFrameSize + x, y));
    // At the end of the stroke there is no dot.
    EXPECT_EQ(0, redLevel(strip.at(framePixel(95) + 3, framePixel(25) - 2)));
}

TEST(RenderStrip, StrokeFollowsItsPolylineWithRoundJoinsNotItsChord) {
    // The corner lands on the centre of frame pixel (20, 80): 17.5 and 77.5 beyond the margin.
    const float cornerX = 17.5f * StrokeLibrary::BoxSize / (StripFrameSize - 6);
    const float cornerY = 77.5f * StrokeLibrary::BoxSize / (StripFrameSize - 6);
    const StripImage strip = renderStrip({{{cornerX, 20}, {cornerX, cornerY}, {90, cornerY}}});
    ASSERT_EQ(StripFrameSize, strip.width);
    const auto red = [&](int x, int y) { return redLevel(strip.at(x, y)); };
    EXPECT_EQ(StripLevels - 1, red(20, framePixel(50))) << "down the first leg";
    EXPECT_EQ(StripLevels - 1, red(20, 80)) << "the corner";
    EXPECT_EQ(StripLevels - 1, red(framePixel(60), 80)) << "along the second leg";
    EXPECT_EQ(0, red(framePixel(55), framePixel(55)))
        << "the straight line from start to end is not drawn";
    // Outside the corner: 1.4 px away along the diagonal is inside the pen, 2.8 px is not,
    // though a square join would still cover it.
    EXPECT_EQ(StripLevels - 1, red(19, 81));
    EXPECT_EQ(0, red(18, 82));
}

TEST(RenderStrip, NoStrokesGiveAnEmptyImage) {
    const StripImage strip = renderStrip({});
    EXPECT_EQ(0, strip.width);
    EXPECT_TRUE(strip.pixels.empty());
}

TEST(RenderStrip, KanjiVgStrokesAreRedWhenNewestAndBlackAfter) {
    const FileResult<StrokeLibrary> library =
        loadStrokeLibrary(RENKARI_SOURCE_DIR u"/data/Media/Strokes/KanjiVG.strokes"_s);
    ASSERT_TRUE(library);
    for (const char32_t code : {U'日', U'永', U'語'}) {
        const StrokeList* strokes = library->find(code);
        ASSERT_NE(nullptr, strokes);
        const StripImage strip = renderStrip(*strokes);
        ASSERT_EQ(StripFrameSize * static_cast<int>(strokes->size()), strip.width);
        for (size_t k = 0; k < strokes->size(); ++k) {
            const int left = StripFrameSize * static_cast<int>(k);
            const auto at = [&](StrokePoint p) {
                return strip.at(left + framePixel(p.x), framePixel(p.y));
            };
            for (const StrokePoint p : (*strokes)[k]) {
                EXPECT_EQ(StripLevels - 1, redLevel(at(p)))
                    << static_cast<quint32>(code) << " frame " << k << " at " << p.x << "," << p.y;
            }
            // Earlier strokes are black wherever the newest one and its dot stay clear of them.
            int checked = 0;
            for (size_t j = 0; j < k; ++j) {
                for (const StrokePoint p : (*strokes)[j]) {
                    if (distanceToStroke(p, (*strokes)[k]) < 10) {
                        continue;
                    }
                    ++checked;
                    EXPECT_EQ(StripLevels - 1, blackLevel(at(p))) << static_cast<quint32>(code);
                    EXPECT_EQ(0, redLevel(at(p))) << static_cast<quint32>(code);
                }
            }
            EXPECT_TRUE(k == 0 || checked > 0) << static_cast<quint32>(code) << " frame " << k;
            // Strokes still to come are not drawn at all.
            for (size_t j = k + 1; j < strokes->size(); ++j) {
                for (const StrokePoint p : (*strokes)[j]) {
                    bool nearDrawn = false;
                    for (size_t d = 0; d <= k; ++d) {
                        nearDrawn = nearDrawn || distanceToStroke(p, (*strokes)[d]) < 10;
                    }
                    if (!nearDrawn) {
                        EXPECT_EQ(0, at(p)) << static_cast<quint32>(code) << " frame " << k;
                    }
                }
            }
        }
    }
}
