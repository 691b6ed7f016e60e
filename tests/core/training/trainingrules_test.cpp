// Tests of the rules of a run: which kinds a kanji is asked for, the running score over the
// answers graded, and the bounds of the range scope.
#include "core/training/trainingrules.h"

#include "core/kanjiset/recordexpect.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr AskedKinds Everything{true, true, true, true};

bool same(AskedKinds a, AskedKinds b) {
    return a.kanji == b.kanji && a.on == b.on && a.kun == b.kun && a.meaning == b.meaning;
}

}  // namespace

TEST(TrainingRules, AKanjiIsAskedOnlyForTheTextsItHolds) {
    KanjiRecord moon = makeKanji(2, 0x6708, u"ゲツ、ガツ"_s);
    moon.Bemerkung = u"Mond"_s;
    // No Kun reading: an empty answer would count as right.
    EXPECT_TRUE(same(questionKinds(moon, Everything), AskedKinds{true, true, false, true}));
    EXPECT_TRUE(same(questionKinds(moon, AskedKinds{false, false, true, true}),
                     AskedKinds{false, false, false, true}));
    EXPECT_TRUE(isTrainingQuestion(moon, AskedKinds{false, false, false, true}));
    EXPECT_FALSE(isTrainingQuestion(moon, AskedKinds{false, false, true, false}));
    EXPECT_FALSE(isTrainingQuestion(moon, AskedKinds{}));

    // A record without a character cannot be written, but its texts can be answered.
    KanjiRecord textsOnly;
    textsOnly.Bemerkung = u"ohne Zeichen"_s;
    EXPECT_TRUE(same(questionKinds(textsOnly, Everything), AskedKinds{false, false, false, true}));

    // The blank record of a new set is no question, whatever is asked.
    const KanjiRecord blank;
    ASSERT_TRUE(isBlank(blank));
    EXPECT_EQ(questionKinds(blank, Everything).count(), 0);
    EXPECT_FALSE(isTrainingQuestion(blank, Everything));
}

TEST(TrainingRules, RunningScoreCountsTheAnswersGraded) {
    // Two questions, the second with one kind left out: two right of three graded, where the
    // asked kinds per question would have made it two of four.
    EXPECT_EQ(runningQuota(2, 1), 66);
    EXPECT_EQ(runningQuota(3, 0), 100);
    // Partly right answers are graded but not right.
    EXPECT_EQ(runningQuota(1, 3), 25);
    EXPECT_EQ(runningQuota(0, 0), 0);
    EXPECT_EQ(runningQuota(0x7FFFFFFF, 0x7FFFFFFF), 50);
}

TEST(TrainingRules, RangeStaysInOrderWithinTheSet) {
    EXPECT_EQ(clampedRange({5, 3}, 20), (TrainingRange{3, 3}));
    EXPECT_EQ(clampedRange({2, 7}, 20), (TrainingRange{2, 7}));
    EXPECT_EQ(clampedRange({4, 30}, 20), (TrainingRange{4, 20}));
    EXPECT_EQ(clampedRange({25, 30}, 20), (TrainingRange{19, 20}));
    EXPECT_EQ(clampedRange({0, -3}, 20), (TrainingRange{1, 1}));
    EXPECT_EQ(clampedRange({3, 5}, 0), (TrainingRange{1, 1}));
}
