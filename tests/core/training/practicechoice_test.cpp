// Tests of the choice of kanji for a practice sheet: by quota with a profile, else the last
// training, else the start of the set; or the last training, a JLPT level or a range.
#include "core/training/practicechoice.h"

#include "core/training/profilebuilders.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

KanjiSet setOfCodes(const std::vector<qint32>& codes) {
    KanjiSet set;
    for (qint32 code : codes) {
        KanjiRecord record;
        record.Unicode = code;
        set.records.push_back(record);
    }
    set.current = set.empty() ? -1 : 0;
    return set;
}

KanjiSet setOfCount(int count) {
    std::vector<qint32> codes;
    for (int i = 0; i < count; ++i) {
        codes.push_back(0x4E00 + i);
    }
    return setOfCodes(codes);
}

std::vector<int> upTo(int count) {
    std::vector<int> positions;
    for (int i = 0; i < count; ++i) {
        positions.push_back(i);
    }
    return positions;
}

}  // namespace

TEST(PracticeChoice, WithProfileTheWeakestOfAllFourKindsComeFirstAndUntrainedFollowTheNeverRight) {
    // Set order differs from code order, so ties show which order they keep.
    const KanjiSet set = setOfCodes({500, 100, 200, 300, 400, 600, 700, 800});
    ProfileList profile;
    profile.records = {
        profileRecord(100, answers(9, 0, 1)),          // quota 90
        profileRecord(200, answers(0, 0, 3)),          // never right: band 0
        profileRecord(300, {}, answers(1, 0, 199)),    // quota 0, but once right: band 1
        profileRecord(400, {}, {}, answers(0, 4, 0)),  // only partly right: untrained
        profileRecord(500, answers(1, 0, 1)),          // quota 50
        profileRecord(800, answers(0, 0, 1)),          // band 0 too, later in the set
    };
    // Written answers count with the others: never written right is never right.
    ProfileRecord written = profileRecord(600);
    written.KindKanji = answers(0, 0, 9);
    profile.records.push_back(written);
    // 700 has no record at all and counts as untrained.
    const std::vector<int> chosen = practicePositions(set, &profile, {100, 200});
    // 200, 600, 800 (band 0, set order); 400, 700 (untrained); 300 (0), 500 (50), 100 (90).
    EXPECT_EQ(chosen, (std::vector<int>{2, 5, 7, 4, 6, 3, 0, 1}));
    // 100, read right nine times in ten but written wrong nine times, falls below 500's 50.
    profile.records[0].KindKanji = answers(0, 0, 9);
    const std::vector<int> withWriting = practicePositions(set, &profile, {});
    EXPECT_EQ(std::vector<int>(withWriting.end() - 3, withWriting.end()),
              (std::vector<int>{3, 1, 0}));
}

TEST(PracticeChoice, WithProfileAtMostFortyAndTheTrainingListIsIgnored) {
    const KanjiSet set = setOfCount(45);
    ProfileList profile;
    for (const KanjiRecord& record : set.records) {
        profile.records.push_back(profileRecord(record.Unicode, answers(1, 0, 0)));
    }
    // The last five are the weakest and lead; the cut falls inside the rest, in set order.
    for (int i = 40; i < 45; ++i) {
        profile.records[i] = profileRecord(set.records[i].Unicode, answers(1, 0, 1));
    }
    const std::vector<int> chosen = practicePositions(set, &profile, {0x4E00 + 44});
    ASSERT_EQ(chosen.size(), 40u);
    EXPECT_EQ(std::vector<int>(chosen.begin(), chosen.begin() + 6),
              (std::vector<int>{40, 41, 42, 43, 44, 0}));
    EXPECT_EQ(chosen.back(), 34);

    // A profile in use without any records leaves every kanji untrained.
    const ProfileList empty;
    EXPECT_EQ(practicePositions(set, &empty, {}), upTo(40));
}

TEST(PracticeChoice, WithoutProfileTheLastTrainingInItsOrderEachKanjiOnce) {
    const KanjiSet set = setOfCodes({10, 20, 30, 40, 30});
    // 99 is no longer in the set; a repeated code is shown once, at its first index.
    EXPECT_EQ(practicePositions(set, nullptr, {40, 99, 30, 10, 40}), (std::vector<int>{3, 2, 0}));
}

TEST(PracticeChoice, WithoutProfileOrTrainingTheStartOfTheSet) {
    EXPECT_EQ(practicePositions(setOfCount(50), nullptr, {}), upTo(40));
    EXPECT_EQ(practicePositions(setOfCount(3), nullptr, {}), upTo(3));
    // A training whose kanji all left the set is no training to repeat.
    EXPECT_EQ(practicePositions(setOfCount(3), nullptr, {7, 8}), upTo(3));
    EXPECT_TRUE(practicePositions(KanjiSet{}, nullptr, {1}).empty());
    const ProfileList empty;
    EXPECT_TRUE(practicePositions(KanjiSet{}, &empty, {}).empty());
}

TEST(PracticeChoice, TheLastRunALevelOrARangeAtMostAsManyAsChosen) {
    KanjiSet set = setOfCount(10);
    for (int i = 0; i < set.size(); ++i) {
        set.records[static_cast<size_t>(i)].Idx2 = i % 2 == 0 ? 3 : 4;
    }
    set.records[4] = KanjiRecord{};
    const ProfileList profile;
    const auto choose = [&](PrintScope scope, const std::vector<qint32>& run, qint32 atMost) {
        PrintChoice choice;
        choice.scope = scope;
        choice.jlptLevel = 3;
        choice.range = TrainingRange{3, 8};
        choice.atMost = atMost;
        return practicePositions(set, &profile, run, choice);
    };
    // The profile is no matter for these; blank records are left out.
    EXPECT_EQ(choose(PrintScope::Jlpt, {}, 40), (std::vector<int>{0, 2, 6, 8}));
    EXPECT_EQ(choose(PrintScope::Jlpt, {}, 2), (std::vector<int>{0, 2}));
    EXPECT_EQ(choose(PrintScope::Range, {}, 40), (std::vector<int>{2, 3, 5, 6, 7}));
    EXPECT_EQ(choose(PrintScope::Range, {}, 3), (std::vector<int>{2, 3, 5}));
    EXPECT_EQ(choose(PrintScope::LastRun, {0x4E00 + 9, 0x4E00 + 1, 0x4E00 + 9, 0x4E00 + 7}, 2),
              (std::vector<int>{9, 1}));
    EXPECT_TRUE(choose(PrintScope::LastRun, {}, 40).empty());
    EXPECT_EQ(choose(PrintScope::Weakest, {}, 3), (std::vector<int>{0, 1, 2}));
}
