// Tests of the stroke matcher: a drawing graded against its reference strokes, with the strokes
// that matched for the canvas to paint.
#include "core/handwriting/strokegrade.h"

#include "core/handwriting/drawnstrokes.h"
#include "core/handwriting/strokelibrary.h"

#include <gtest/gtest.h>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

using drawn::placed;
using drawn::reversed;

constexpr Grade Right = Grade::Right;
constexpr Grade Partly = Grade::Partly;
constexpr Grade Wrong = Grade::Wrong;

// 王 at the canvas's usual size and place, a little off centre.
StrokeList drawnOu() {
    return placed(drawn::ou(), 1.4f, {8, 12});
}

}  // namespace

TEST(StrokeGrade, TheReferenceDrawnAnywhereAtAnySizeIsRight) {
    for (const float scale : {1.4f, 0.5f, 2.0f}) {
        for (const StrokePoint offset : {StrokePoint{8, 12}, StrokePoint{90, 95}}) {
            const StrokeGrade grade = gradeStrokes(placed(drawn::ou(), scale, offset), drawn::ou());
            EXPECT_EQ(grade.verdict, Right) << scale << " at " << offset.x << ',' << offset.y;
            EXPECT_EQ(grade.drawnMatched, std::vector<bool>(4, true));
        }
    }
}

TEST(StrokeGrade, SwappedOrReversedStrokesArePartlyRightAndShowRed) {
    StrokeList swapped = drawnOu();
    std::swap(swapped[0], swapped[2]);
    const StrokeGrade swappedGrade = gradeStrokes(swapped, drawn::ou());
    EXPECT_EQ(swappedGrade.verdict, Partly);
    EXPECT_EQ(swappedGrade.drawnMatched, (std::vector<bool>{false, true, false, true}));

    StrokeList backwards = drawnOu();
    backwards[3] = reversed(backwards[3]);
    const StrokeGrade backwardsGrade = gradeStrokes(backwards, drawn::ou());
    EXPECT_EQ(backwardsGrade.verdict, Partly);
    EXPECT_EQ(backwardsGrade.drawnMatched, (std::vector<bool>{true, true, true, false}));

    // Every stroke in place but all of them drawn backwards is still the kanji's shape.
    StrokeList allBackwards = drawnOu();
    for (Stroke& s : allBackwards) {
        s = reversed(s);
    }
    const StrokeGrade allBackwardsGrade = gradeStrokes(allBackwards, drawn::ou());
    EXPECT_EQ(allBackwardsGrade.verdict, Partly);
    EXPECT_EQ(allBackwardsGrade.drawnMatched, std::vector<bool>(4, false));
}

TEST(StrokeGrade, OneMissingStrokeIsPartlyRightEvenWhenItHeldUpTheBox) {
    // 土 without its vertical is only as tall as the gap between its two horizontals, so the
    // others match only once the reference is boxed without that stroke as well.
    StrokeList noVertical = placed(drawn::tsuchi(), 1.4f, {8, 12});
    noVertical.erase(noVertical.begin() + 1);
    const StrokeGrade grade = gradeStrokes(noVertical, drawn::tsuchi());
    EXPECT_EQ(grade.verdict, Partly);
    EXPECT_EQ(grade.drawnMatched, (std::vector<bool>{true, true}));

    StrokeList noMiddle = drawnOu();
    noMiddle.erase(noMiddle.begin() + 2);
    EXPECT_EQ(gradeStrokes(noMiddle, drawn::ou()).verdict, Partly);
}

TEST(StrokeGrade, OneExtraStrokeIsPartlyRightAndOnlyItShowsRed) {
    // A stray line far below the kanji widens the drawing's box; the kanji itself is still right.
    StrokeList stray = drawnOu();
    stray.insert(stray.begin() + 2, drawn::penMove({20, 150}, {140, 158}));
    const StrokeGrade grade = gradeStrokes(stray, drawn::ou());
    EXPECT_EQ(grade.verdict, Partly);
    EXPECT_EQ(grade.drawnMatched, (std::vector<bool>{true, true, false, true, true}));
}

TEST(StrokeGrade, MoreThanOneSlipIsWrongWithTheInOrderMatchesStillShown) {
    // Two strokes missing.
    StrokeList twoMissing = drawnOu();
    twoMissing.erase(twoMissing.begin() + 1, twoMissing.begin() + 3);
    const StrokeGrade missingGrade = gradeStrokes(twoMissing, drawn::ou());
    EXPECT_EQ(missingGrade.verdict, Wrong);
    EXPECT_EQ(missingGrade.drawnMatched, (std::vector<bool>{true, true}));

    // One stroke missing and another reversed: neither slip alone, so no partial credit.
    StrokeList missingAndReversed = drawnOu();
    missingAndReversed.erase(missingAndReversed.begin() + 2);
    missingAndReversed[0] = reversed(missingAndReversed[0]);
    const StrokeGrade bothGrade = gradeStrokes(missingAndReversed, drawn::ou());
    EXPECT_EQ(bothGrade.verdict, Wrong);
    EXPECT_EQ(bothGrade.drawnMatched, (std::vector<bool>{false, true, true}));

    // The right number of strokes, one of them in the wrong place.
    StrokeList misplaced = drawnOu();
    misplaced[2] = drawn::penMove({40, 50}, {60, 130});
    const StrokeGrade misplacedGrade = gradeStrokes(misplaced, drawn::ou());
    EXPECT_EQ(misplacedGrade.verdict, Wrong);
    EXPECT_EQ(misplacedGrade.drawnMatched, (std::vector<bool>{true, true, false, true}));
}

TEST(StrokeGrade, AnotherKanjisStrokesAreWrong) {
    // 川 has as many strokes as 三, but upright.
    const StrokeGrade kawa = gradeStrokes(placed(drawn::kawa(), 1.4f, {8, 12}), drawn::san());
    EXPECT_EQ(kawa.verdict, Wrong);
    EXPECT_EQ(kawa.drawnMatched, std::vector<bool>(3, false));

    // Fitted onto 三, 土's horizontals lie where 三's outer ones do; its upright is no near miss
    // of a horizontal.
    const StrokeGrade tsuchi = gradeStrokes(placed(drawn::tsuchi(), 1.4f, {8, 12}), drawn::san());
    EXPECT_EQ(tsuchi.verdict, Wrong);
    EXPECT_EQ(tsuchi.drawnMatched, (std::vector<bool>{true, false, true}));
}

TEST(StrokeGrade, KanjiVgsOwnCurvedStrokesOfUmi) {
    const FileResult<StrokeLibrary> library =
        loadStrokeLibrary(RENKARI_SOURCE_DIR u"/data/Media/Strokes/KanjiVG.strokes"_s);
    ASSERT_TRUE(library.has_value());
    const StrokeList* umi = library->find(U'\u6D77');
    ASSERT_NE(umi, nullptr);
    ASSERT_EQ(umi->size(), 9u);

    // Every point of every curve on the canvas, smaller and off to one side.
    StrokeList drawing;
    for (const Stroke& stroke : *umi) {
        Stroke& points = drawing.emplace_back();
        for (const StrokePoint p : stroke) {
            points.push_back({30 + p.x * 1.1f, 5 + p.y * 1.1f});
        }
    }
    const StrokeGrade right = gradeStrokes(drawing, *umi);
    EXPECT_EQ(right.verdict, Right);
    EXPECT_EQ(right.drawnMatched, std::vector<bool>(9, true));

    // The two dots of 氵 lie one above the other, a quarter of the kanji apart.
    StrokeList dotsExchanged = drawing;
    std::swap(dotsExchanged[0], dotsExchanged[1]);
    const StrokeGrade exchanged = gradeStrokes(dotsExchanged, *umi);
    EXPECT_EQ(exchanged.verdict, Partly);
    std::vector<bool> dotsRed(9, true);
    dotsRed[0] = dotsRed[1] = false;
    EXPECT_EQ(exchanged.drawnMatched, dotsRed);

    StrokeList noRise = drawing;
    noRise.erase(noRise.begin() + 2);
    EXPECT_EQ(gradeStrokes(noRise, *umi).verdict, Partly);
}

TEST(StrokeGrade, ANearMissIsNeverWorseThanTheStrokeLeftOut) {
    const FileResult<StrokeLibrary> library =
        loadStrokeLibrary(RENKARI_SOURCE_DIR u"/data/Media/Strokes/KanjiVG.strokes"_s);
    ASSERT_TRUE(library.has_value());
    const StrokeList* hi = library->find(U'\u65E5');
    ASSERT_NE(hi, nullptr);
    ASSERT_EQ(hi->size(), 4u);
    const auto onCanvas = [](const StrokeList& strokes) {
        StrokeList drawing;
        for (const Stroke& stroke : strokes) {
            Stroke& points = drawing.emplace_back();
            for (const StrokePoint p : stroke) {
                points.push_back({20 + p.x * 1.3f, 10 + p.y * 1.3f});
            }
        }
        return drawing;
    };
    const StrokeBounds box = boundsOf(*hi);

    // The inner stroke ending a quarter of the width early is an ordinary difference of hands.
    StrokeList shortInner = *hi;
    Stroke& inner = shortInner[2];
    const StrokePoint from = inner.front();
    const StrokePoint to = inner.back();
    const float keep = 1 - 0.25f * (box.right - box.left) / (to.x - from.x);
    inner =
        drawn::penMove(from, {from.x + keep * (to.x - from.x), from.y + keep * (to.y - from.y)});
    EXPECT_EQ(gradeStrokes(onCanvas(shortInner), *hi).verdict, Right);

    // The inner stroke drawn well off its place and slant counts as much as leaving it out.
    StrokeList off = *hi;
    off[2] = drawn::penMove({from.x + 4, from.y + 20}, {to.x - 10, to.y + 16});
    StrokeList left = *hi;
    left.erase(left.begin() + 2);
    const StrokeGrade missed = gradeStrokes(onCanvas(off), *hi);
    EXPECT_EQ(missed.verdict, Partly);
    EXPECT_EQ(missed.drawnMatched, (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(gradeStrokes(onCanvas(left), *hi).verdict, Partly);
}

TEST(StrokeGrade, AThinKanjiIsNotStretchedAcrossItsThinSide) {
    // The reference 一 rises a little, the drawing falls a little; stretched to full height each
    // would become a steep diagonal, the two crossing each other.
    const StrokeList falling{drawn::penMove({20, 76}, {140, 82}, 1)};
    const StrokeGrade grade = gradeStrokes(falling, drawn::ichi());
    EXPECT_EQ(grade.verdict, Right);
    EXPECT_EQ(grade.drawnMatched, std::vector<bool>{true});

    EXPECT_EQ(gradeStrokes({reversed(falling[0])}, drawn::ichi()).verdict, Partly);
    EXPECT_EQ(gradeStrokes({drawn::penMove({80, 20}, {78, 140})}, drawn::ichi()).verdict, Wrong);
}

TEST(StrokeGrade, NothingDrawnOrOnlyClicksAreWrong) {
    const StrokeGrade empty = gradeStrokes({}, drawn::san());
    EXPECT_EQ(empty.verdict, Wrong);
    EXPECT_TRUE(empty.drawnMatched.empty());

    const StrokeList clicks{{{40, 40}}, {{80, 80}}, {{120, 120}}};
    const StrokeGrade clicked = gradeStrokes(clicks, drawn::san());
    EXPECT_EQ(clicked.verdict, Wrong);
    EXPECT_EQ(clicked.drawnMatched, std::vector<bool>(3, false));
}
