// Tests of the verdict on a kanji written with the mouse: the matcher where reference strokes
// exist, zinnia's candidates where they do not.
#include "core/handwriting/handwritinggrade.h"

#include "core/handwriting/drawnstrokes.h"
#include "core/handwriting/recognizertest.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr char32_t San = U'\u4E09';
constexpr char32_t Ryuu = U'\u9F8D';  // 龍: sixteen strokes, nothing like three lines

class HandwritingGradeTest : public RecognizerTest {
protected:
    HandwritingGrade grade(const StrokeList& strokes, char32_t kanji,
                           const StrokeList* reference) const {
        return gradeHandwriting(strokes, kanji, reference, &*recognizer, 160, 160);
    }

    const StrokeList san = drawn::sanOnCanvas();
};

}  // namespace

TEST_F(HandwritingGradeTest, WithoutReferenceZinniasRankDecides) {
    const HandwritingGrade right = grade(san, San, nullptr);
    EXPECT_EQ(right.verdict, Grade::Right);
    EXPECT_FALSE(right.hadReference);
    EXPECT_TRUE(right.drawnMatched.empty());
    ASSERT_EQ(right.candidates.size(), 5u);
    EXPECT_EQ(right.candidates.front(), San);

    // Asked for a kanji zinnia ranks lower, the same drawing is partly right.
    for (std::size_t rank = 1; rank < right.candidates.size(); ++rank) {
        const HandwritingGrade lower = grade(san, right.candidates[rank], nullptr);
        EXPECT_EQ(lower.verdict, Grade::Partly) << "rank " << rank;
    }

    ASSERT_EQ(std::ranges::count(right.candidates, Ryuu), 0);
    EXPECT_EQ(grade(san, Ryuu, nullptr).verdict, Grade::Wrong);

    const HandwritingGrade empty = grade({}, San, nullptr);
    EXPECT_EQ(empty.verdict, Grade::Wrong);
    EXPECT_TRUE(empty.candidates.empty());

    // An empty reference has nothing to compare stroke by stroke either.
    const StrokeList none;
    EXPECT_EQ(grade(san, San, &none).verdict, Grade::Right);
}

TEST_F(HandwritingGradeTest, WithReferenceTheStrokesDecideAndZinniaStillAdvises) {
    // Every line drawn from right to left: zinnia does not even list 三, but the strokes are all
    // there, only backwards.
    StrokeList backwards = san;
    for (Stroke& s : backwards) {
        s = drawn::reversed(s);
    }
    const StrokeList reference = drawn::san();
    ASSERT_EQ(std::ranges::count(recognizer->candidates(backwards, 160, 160), San), 0)
        << "zinnia alone would judge";
    const HandwritingGrade grade = this->grade(backwards, San, &reference);
    EXPECT_EQ(grade.verdict, Grade::Partly);
    EXPECT_TRUE(grade.hadReference);
    EXPECT_EQ(grade.drawnMatched, std::vector<bool>(3, false));

    const HandwritingGrade inOrder = this->grade(san, San, &reference);
    EXPECT_EQ(inOrder.verdict, Grade::Right);
    EXPECT_EQ(inOrder.drawnMatched, std::vector<bool>(3, true));
}

TEST(HandwritingGrade, ZinniaIsReadOnlyWhereTheVerdictDependsOnIt) {
    const StrokeList reference = drawn::san();
    int reads = 0;
    const auto naming = [&](char32_t first) {
        return [&reads, first] {
            ++reads;
            return std::vector<char32_t>{first};
        };
    };
    // Stroke for stroke on its reference: the matcher alone is sure.
    EXPECT_EQ(gradeHandwriting(drawn::sanOnCanvas(), San, &reference, naming(San)).verdict,
              Grade::Right);
    EXPECT_EQ(reads, 0);

    // The middle line stopping early: close to its reference in order but not on it, so zinnia's
    // first candidate decides between right and partly, and is read once.
    StrokeList shortMiddle = drawn::san();
    shortMiddle[1] = drawn::penMove({33, 54}, {45, 53});
    const StrokeList drawing = drawn::placed(shortMiddle, 1.4f, {8, 6});
    reads = 0;
    const HandwritingGrade near = gradeHandwriting(drawing, San, &reference, naming(San));
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(near.verdict, Grade::Right);
    EXPECT_EQ(near.candidates, std::vector<char32_t>{San});
    EXPECT_EQ(gradeHandwriting(drawing, San, &reference, naming(Ryuu)).verdict, Grade::Partly);

    // Without a reference zinnia is all there is.
    reads = 0;
    EXPECT_EQ(gradeHandwriting(drawn::sanOnCanvas(), San, nullptr, naming(San)).verdict,
              Grade::Right);
    EXPECT_EQ(reads, 1);
}

TEST(HandwritingGrade, WithoutReferenceOrRecognizerNothingCanBeRight) {
    const StrokeList san = drawn::sanOnCanvas();
    const HandwritingGrade grade = gradeHandwriting(san, San, nullptr, nullptr, 160, 160);
    EXPECT_EQ(grade.verdict, Grade::Wrong);
    EXPECT_TRUE(grade.candidates.empty());

    const StrokeList reference = drawn::san();
    EXPECT_EQ(gradeHandwriting(san, San, &reference, nullptr, 160, 160).verdict, Grade::Right);
}
