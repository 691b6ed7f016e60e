// Rasteriser coverage, strip frames and palette, and the PNG a strip is saved as.
#include "makestrips/strip.h"
#include "makestrips/pngencode.h"
#include "makestrips/raster.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

int blackLevel(std::uint8_t index) {
    return index / kLevels;
}
int redLevel(std::uint8_t index) {
    return index % kLevels;
}

// Strokes in the data's 0-255 box; frame pixel = data coordinate * 100 / 256.
const std::vector<StrokeSegment> kThreeStrokes = {
    {30, 50, 220, 50}, {128, 20, 128, 230}, {30, 200, 220, 200}};

int framePixel(float data) {
    return static_cast<int>(data * kFrameSize / 256.0f);
}

}  // namespace

TEST(CoverageMask, SegmentIsSolidOnItsAxisEmptyFarAwayAndBlendedAtTheRim) {
    CoverageMask mask(40, 20);
    mask.drawCapsule(5, 10, 35, 10, 2.25f);
    EXPECT_EQ(255, mask.at(20, 9));  // centre 9.5: 0.5 from the axis
    EXPECT_EQ(0, mask.at(20, 4));    // centre 4.5: far outside the radius
    EXPECT_EQ(0, mask.at(39, 10));   // beyond the round cap
    int partial = 0;
    for (int y = 0; y < mask.height(); ++y) {
        const std::uint8_t edge = mask.at(20, y);
        partial += edge > 0 && edge < 255 ? 1 : 0;
    }
    EXPECT_EQ(2, partial) << "one blended pixel on each side of the line";
}

TEST(CoverageMask, DiscIsSymmetricAroundItsCentre) {
    CoverageMask mask(21, 21);
    mask.drawDisc(10.5f, 10.5f, 4.5f);
    EXPECT_EQ(255, mask.at(10, 10));
    for (int d = 0; d <= 6; ++d) {
        EXPECT_EQ(mask.at(10 + d, 10), mask.at(10 - d, 10)) << "offset " << d;
        EXPECT_EQ(mask.at(10, 10 + d), mask.at(10, 10 - d)) << "offset " << d;
    }
    EXPECT_EQ(0, mask.at(10 + 6, 10));
}

TEST(CoverageMask, ShapesOutsideOrUndefinedLeaveTheMaskUntouched) {
    CoverageMask mask(10, 10);
    const float huge = std::numeric_limits<float>::max();
    mask.drawCapsule(-huge, -huge, -huge / 2, -huge, 3);
    mask.drawCapsule(500, 500, 600, 600, 3);
    mask.drawCapsule(std::nanf(""), 5, 5, 5, 3);
    mask.drawDisc(5, 5, -1);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            EXPECT_EQ(0, mask.at(x, y)) << x << "," << y;
        }
    }
}

TEST(CoverageMask, UniteKeepsTheStrongerCoverage) {
    CoverageMask a(10, 1);
    CoverageMask b(10, 1);
    a.drawCapsule(0, 0.5f, 3, 0.5f, 0.5f);
    b.drawCapsule(6, 0.5f, 9, 0.5f, 0.5f);
    const std::uint8_t leftBefore = a.at(1, 0);
    a.unite(b);
    EXPECT_EQ(leftBefore, a.at(1, 0));
    EXPECT_EQ(b.at(8, 0), a.at(8, 0));
    EXPECT_EQ(0, a.at(4, 0));
}

TEST(StripPalette, CornersAreWhiteBlackAndRed) {
    const StripPalette palette = stripPalette();
    EXPECT_EQ((Rgb{255, 255, 255}), palette[0]);
    EXPECT_EQ((Rgb{0, 0, 0}), palette[(kLevels - 1) * kLevels]);
    const Rgb red = palette[kLevels - 1];
    EXPECT_GT(red.r, 150);
    EXPECT_LT(red.g, 60);
    // Red fully over black is the same red: the newest stroke always shows on top.
    EXPECT_EQ(red, palette[(kLevels - 1) * kLevels + kLevels - 1]);
    for (int level = 1; level < kLevels; ++level) {
        EXPECT_LT(palette[level * kLevels].r, palette[(level - 1) * kLevels].r) << level;
    }
}

TEST(RenderStrip, OneFramePerStrokeNewestRedEarlierBlack) {
    const StripImage strip = renderStrip(kThreeStrokes);
    ASSERT_EQ(3 * kFrameSize, strip.width);
    ASSERT_EQ(kFrameSize, strip.height);

    // Frame 0: only stroke 1, in red, nothing black anywhere.
    const int row1 = framePixel(50);
    EXPECT_EQ(kLevels - 1, redLevel(strip.at(framePixel(128), row1)));
    for (int y = 0; y < kFrameSize; ++y) {
        for (int x = 0; x < kFrameSize; ++x) {
            ASSERT_EQ(0, blackLevel(strip.at(x, y))) << x << "," << y;
        }
    }
    // Frame 2: strokes 1 and 2 black, stroke 3 red; stroke 1 carries no red any more.
    const int left = 2 * kFrameSize;
    EXPECT_EQ(kLevels - 1, blackLevel(strip.at(left + framePixel(160), row1)));
    EXPECT_EQ(0, redLevel(strip.at(left + framePixel(160), row1)));
    EXPECT_EQ(kLevels - 1, blackLevel(strip.at(left + framePixel(128), framePixel(120))));
    EXPECT_EQ(kLevels - 1, redLevel(strip.at(left + framePixel(160), framePixel(200))));
}

TEST(RenderStrip, StartDotMarksWhereTheNewStrokeBegins) {
    const StripImage strip = renderStrip(kThreeStrokes);
    // 4 px before the start of stroke 1, off its own line but inside the dot.
    const int x = framePixel(30) - 3;
    const int y = framePixel(50) - 2;
    EXPECT_EQ(kLevels - 1, redLevel(strip.at(x, y)));
    // Once the stroke is black in later frames, its dot is gone.
    EXPECT_EQ(0, strip.at(kFrameSize + x, y));
    EXPECT_EQ(0, strip.at(2 * kFrameSize + x, y));
    // At the end of the stroke there is no dot.
    EXPECT_EQ(0, redLevel(strip.at(framePixel(220) + 3, framePixel(50) - 2)));
}

TEST(RenderStrip, FirstAndLastFramesDiffer) {
    const StripImage strip = renderStrip(kThreeStrokes);
    int differing = 0;
    for (int y = 0; y < kFrameSize; ++y) {
        for (int x = 0; x < kFrameSize; ++x) {
            differing += strip.at(x, y) != strip.at(2 * kFrameSize + x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(differing, 500);
}

TEST(RenderStrip, NoStrokesGiveNoImageAndNoPng) {
    const StripImage strip = renderStrip({});
    EXPECT_EQ(0, strip.width);
    EXPECT_TRUE(strip.pixels.empty());
    EXPECT_FALSE(encodeStripPng(strip).has_value());
}

TEST(EncodeStripPng, DecodesToThePaletteColoursOfEveryPixel) {
    const StripImage strip = renderStrip(kThreeStrokes);
    const std::optional<QByteArray> png = encodeStripPng(strip);
    ASSERT_TRUE(png.has_value());
    QImage image;
    ASSERT_TRUE(image.loadFromData(*png, "PNG"));
    ASSERT_EQ(strip.width, image.width());
    ASSERT_EQ(strip.height, image.height());
    const StripPalette palette = stripPalette();
    int mismatches = 0;
    for (int y = 0; y < strip.height; ++y) {
        for (int x = 0; x < strip.width; ++x) {
            const Rgb expected = palette[strip.at(x, y)];
            const QRgb actual = image.pixel(x, y);
            mismatches += qRed(actual) != expected.r || qGreen(actual) != expected.g ||
                                  qBlue(actual) != expected.b
                              ? 1
                              : 0;
        }
    }
    EXPECT_EQ(0, mismatches);
}
