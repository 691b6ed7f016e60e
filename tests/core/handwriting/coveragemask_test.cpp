// Tests of the rasteriser behind the strips: coverage of capsules and discs, and their union.
#include "core/handwriting/coveragemask.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
