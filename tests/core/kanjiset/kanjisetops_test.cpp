// Tests of removing, sorting, finding and stepping through the records of a set.
#include "core/kanjiset/kanjisetops.h"

#include "core/kanjiset/recordexpect.h"

#include <gtest/gtest.h>

namespace {

// A set whose records carry the given Idx1 values; Unicode tells the records apart.
KanjiSet setWithIndices(std::initializer_list<qint32> indices) {
    KanjiSet set;
    qint32 code = 100;
    for (qint32 idx1 : indices) {
        set.records.push_back(makeKanji(idx1, code++));
    }
    return set;
}

std::vector<qint32> codes(const KanjiSet& set) {
    std::vector<qint32> result;
    for (const KanjiRecord& record : set.records) {
        result.push_back(record.Unicode);
    }
    return result;
}

TEST(RemoveKanji, ThePreviousRecordBecomesCurrent) {
    KanjiSet set = setWithIndices({1, 2, 3});
    set.current = 2;
    removeKanji(set, 1);
    EXPECT_EQ(codes(set), (std::vector<qint32>{100, 102}));
    EXPECT_EQ(set.current, 0);

    removeKanji(set, 0);
    EXPECT_EQ(codes(set), (std::vector<qint32>{102}));
    EXPECT_EQ(set.current, -1);
}

TEST(RemoveKanji, MinusOneRemovesAllAndOutOfRangeNothing) {
    KanjiSet set = setWithIndices({1, 2, 3});
    set.current = 1;
    removeKanji(set, 3);
    removeKanji(set, -2);
    EXPECT_EQ(set.size(), 3);
    EXPECT_EQ(set.current, 1);

    removeKanji(set, -1);
    EXPECT_TRUE(set.empty());
    EXPECT_EQ(set.current, -1);
}

TEST(SortSetKeepingCurrent, SortsStablyBySignedIdx1AndKeepsTheCurrentRecord) {
    KanjiSet set = setWithIndices({5, -3, 5, 2147483647, -2147483647 - 1, 0});
    set.current = 2;  // the second record with Idx1 5 (code 102)
    EXPECT_EQ(sortSetKeepingCurrent(set, 0), 4);
    EXPECT_EQ(codes(set), (std::vector<qint32>{104, 101, 105, 100, 102, 103}));
    EXPECT_EQ(set.current, 4);
    EXPECT_EQ(set.currentRecord()->Unicode, 102);
}

TEST(SortSetKeepingCurrent, WithoutCurrentTakesThePositionBeforeTheSort) {
    KanjiSet set = setWithIndices({3, 1, 2});
    set.current = -1;
    EXPECT_EQ(sortSetKeepingCurrent(set, 0), 2);  // the record first before the sort, Idx1 3
    EXPECT_EQ(set.currentRecord()->Unicode, 100);

    set.current = -1;
    EXPECT_EQ(sortSetKeepingCurrent(set, 7), 2);  // beyond the end: the last record
    EXPECT_EQ(set.currentRecord()->Unicode, 100);
}

TEST(SortSetKeepingCurrent, ASortedSetKeepsItsOrderAndTakesTheSameCurrent) {
    KanjiSet set = setWithIndices({-4, 1, 1, 9});
    set.current = 2;
    EXPECT_EQ(sortSetKeepingCurrent(set, 0), 2);
    EXPECT_EQ(codes(set), (std::vector<qint32>{100, 101, 102, 103}));

    set.current = -1;
    EXPECT_EQ(sortSetKeepingCurrent(set, 1), 1);
    set.current = -1;
    EXPECT_EQ(sortSetKeepingCurrent(set, 7), 3);  // beyond the end: the last record
    EXPECT_EQ(set.current, 3);
}

TEST(SortSetKeepingCurrent, AfterRemovingTheFirstRecordItsSuccessorIsCurrent) {
    KanjiSet set = setWithIndices({1, 2, 3});
    set.current = 0;
    removeKanji(set, 0);
    EXPECT_EQ(sortSetKeepingCurrent(set, 0), 0);
    EXPECT_EQ(set.currentRecord()->Unicode, 101);

    KanjiSet single = setWithIndices({1});
    single.current = 0;
    removeKanji(single, 0);
    EXPECT_EQ(sortSetKeepingCurrent(single, 0), -1);
    EXPECT_EQ(single.current, -1);
}

TEST(FindByCode, FirstMatchElseTheLastRecord) {
    KanjiSet set = setWithIndices({1, 2, 3});
    set.records[2].Unicode = 101;
    EXPECT_EQ(findByCode(set, 101), 1);
    EXPECT_EQ(findByCode(set, 100), 0);
    EXPECT_EQ(findByCode(set, 999), 2);
    EXPECT_EQ(findByCode(KanjiSet(), 100), -1);
}

TEST(StepFrom, StopsAtBothEnds) {
    const KanjiSet set = setWithIndices({1, 2, 3, 4, 5});
    EXPECT_EQ(stepFrom(set, 1, 1), 2);
    EXPECT_EQ(stepFrom(set, 3, 3), 4);
    EXPECT_EQ(stepFrom(set, 1, -3), 0);
    EXPECT_EQ(stepFrom(set, 2, 0), 2);
    EXPECT_EQ(stepFrom(set, 4, 2147483647), 4);
    EXPECT_EQ(stepFrom(set, 0, -2147483647 - 1), 0);
    EXPECT_EQ(stepFrom(KanjiSet(), 0, 1), -1);
}

}  // namespace
