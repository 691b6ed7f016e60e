// Tests of zinnia's recognition with the Japanese model that scripts/setup installs.
#include "core/handwriting/kanjirecognizer.h"

#include "core/handwriting/drawnstrokes.h"
#include "core/handwriting/recognizertest.h"

#include <gtest/gtest.h>

namespace {

constexpr char32_t San = U'\u4E09';
constexpr char32_t Kawa = U'\u5DDD';

using KanjiRecognizerTest = RecognizerTest;

}  // namespace

TEST_F(KanjiRecognizerTest, ThreeHorizontalStrokesAreSanFirst) {
    const std::vector<char32_t> candidates = recognizer->candidates(drawn::sanOnCanvas(), 160, 160);
    ASSERT_FALSE(candidates.empty());
    EXPECT_EQ(candidates.front(), San);
    EXPECT_EQ(candidates.size(), 5u);

    const std::vector<char32_t> upright =
        recognizer->candidates(drawn::placed(drawn::kawa(), 1.4f, {8, 6}), 160, 160);
    ASSERT_FALSE(upright.empty());
    EXPECT_EQ(upright.front(), Kawa);
}

TEST_F(KanjiRecognizerTest, AskedForFewerItGivesFewerAndForNothingNone) {
    const StrokeList san = drawn::sanOnCanvas();
    EXPECT_EQ(recognizer->candidates(san, 160, 160, 2).size(), 2u);
    EXPECT_TRUE(recognizer->candidates({}, 160, 160).empty());
}

TEST(KanjiRecognizer, AMissingModelIsRefusedWithItsPath) {
    const FileResult<KanjiRecognizer> missing =
        KanjiRecognizer::open(QStringLiteral("/nonexistent/handwriting-ja.model"));
    ASSERT_FALSE(missing.has_value());
    EXPECT_TRUE(
        missing.error().systemText.contains(QStringLiteral("/nonexistent/handwriting-ja.model")))
        << missing.error().systemText.toStdString();
}
