// Tests of the quota rules: totals over the counted kinds, trained or not, quota and band, and
// the orders of the rows.
#include "core/training/quota.h"

#include "core/training/profilebuilders.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

std::vector<qint32> codesOf(const std::vector<QuotaRow>& rows) {
    std::vector<qint32> codes;
    for (const QuotaRow& row : rows) {
        codes.push_back(row.code);
    }
    return codes;
}

}  // namespace

TEST(QuotaFigures, QuotaRoundsDownAndBandsStartAtEachBoundary) {
    struct Case {
        qint32 right, partly, wrong;
        qint32 quota;
        int band;
    };
    for (const Case c : {Case{1, 0, 199, 0, 1}, Case{0, 0, 5, 0, 0}, Case{0, 3, 1, 0, 0},
                         Case{1, 0, 1, 50, 2}, Case{49, 0, 51, 49, 1}, Case{2, 0, 1, 66, 2},
                         Case{3, 0, 1, 75, 3}, Case{89, 11, 0, 89, 3}, Case{9, 1, 0, 90, 4},
                         Case{199, 0, 1, 99, 4}, Case{10, 0, 0, 100, 5}}) {
        const QuotaFigures f =
            quotaFigures(profileRecord(1, answers(c.right, c.partly, c.wrong)), {});
        EXPECT_TRUE(f.trained);
        EXPECT_EQ(f.quota, c.quota) << c.right << '/' << c.partly << '/' << c.wrong;
        EXPECT_EQ(f.band, c.band) << c.right << '/' << c.partly << '/' << c.wrong;
        EXPECT_EQ(quotaCategory(f), c.band);
        EXPECT_EQ(quotaText(f), QString::number(c.quota));
    }
}

TEST(QuotaFigures, OnlyCountedKindsAreSummedAndKanjiWritingNever) {
    ProfileRecord r =
        profileRecord(1, answers(1, 2, 3), answers(10, 20, 30), answers(100, 200, 300));
    r.KindKanji = answers(1000, 2000, 3000);

    const QuotaFigures all = quotaFigures(r, {});
    EXPECT_EQ(all.right, 111);
    EXPECT_EQ(all.partly, 222);
    EXPECT_EQ(all.wrong, 333);
    EXPECT_EQ(all.quota, 16);

    const QuotaFigures kunOnly = quotaFigures(r, {false, true, false});
    EXPECT_EQ(kunOnly.right, 10);
    EXPECT_EQ(kunOnly.partly, 20);
    EXPECT_EQ(kunOnly.wrong, 30);

    const QuotaFigures onAndMeaning = quotaFigures(r, {true, false, true});
    EXPECT_EQ(onAndMeaning.right, 101);
    EXPECT_EQ(onAndMeaning.wrong, 303);
}

TEST(QuotaFigures, PartlyAnswersAloneOrNoCountedKindLeaveAKanjiUntrained) {
    const QuotaFigures partlyOnly = quotaFigures(profileRecord(1, answers(0, 7, 0)), {});
    EXPECT_FALSE(partlyOnly.trained);
    EXPECT_EQ(partlyOnly.partly, 7);
    EXPECT_EQ(quotaText(partlyOnly), u"-"_s);
    EXPECT_EQ(quotaCategory(partlyOnly), 0);
    EXPECT_EQ(partlyOnly.quota, 0);

    const ProfileRecord trained =
        profileRecord(1, answers(5, 0, 0), answers(0, 0, 5), answers(3, 0, 0));
    const QuotaFigures none = quotaFigures(trained, {false, false, false});
    EXPECT_FALSE(none.trained);
    EXPECT_EQ(none.right + none.partly + none.wrong, 0);
    EXPECT_EQ(quotaText(none), u"-"_s);
    EXPECT_EQ(quotaCategory(none), 0);
}

TEST(QuotaFigures, HugeCountersNeitherWrapNorDivideByZero) {
    const qint32 max = std::numeric_limits<qint32>::max();
    const QuotaFigures f = quotaFigures(
        profileRecord(1, answers(max, 0, 0), answers(max, 0, 0), answers(0, 0, max)), {});
    EXPECT_EQ(f.right, max);
    EXPECT_EQ(f.wrong, max);
    EXPECT_EQ(f.quota, 66);
    EXPECT_EQ(f.band, 2);

    // Negative counters are no training's doing, but a damaged file must not crash the list.
    const QuotaFigures damaged = quotaFigures(profileRecord(1, answers(1, -2, 1)), {});
    EXPECT_TRUE(damaged.trained);
    EXPECT_EQ(damaged.quota, 0);
}

TEST(QuotaRows, EachOrderSortsByItsKeyAndTiesKeepTheListOrder) {
    ProfileList list;
    list.records = {
        profileRecord(0x4E00, answers(2, 0, 2)),  // quota 50
        profileRecord(0x4E01, answers(0, 4, 0)),  // untrained
        profileRecord(0x4E02, answers(9, 1, 0)),  // quota 90
        profileRecord(0x4E03, answers(0, 0, 3)),  // quota 0
        profileRecord(0x4E04, answers(2, 0, 0)),  // quota 100
        profileRecord(0x3400, answers(1, 0, 3)),  // quota 25, out of code order
    };

    EXPECT_EQ(codesOf(quotaRows(list, {}, QuotaOrder::Kanji)),
              (std::vector<qint32>{0x3400, 0x4E00, 0x4E01, 0x4E02, 0x4E03, 0x4E04}));
    EXPECT_EQ(codesOf(quotaRows(list, {}, QuotaOrder::Right)),
              (std::vector<qint32>{0x4E02, 0x4E00, 0x4E04, 0x3400, 0x4E01, 0x4E03}));
    EXPECT_EQ(codesOf(quotaRows(list, {}, QuotaOrder::Wrong)),
              (std::vector<qint32>{0x4E03, 0x3400, 0x4E00, 0x4E01, 0x4E02, 0x4E04}));
    // Untrained kanji sort with a quota of 0.
    EXPECT_EQ(codesOf(quotaRows(list, {}, QuotaOrder::Quota)),
              (std::vector<qint32>{0x4E04, 0x4E02, 0x4E00, 0x3400, 0x4E01, 0x4E03}));

    const std::vector<QuotaRow> rows = quotaRows(list, {}, QuotaOrder::Quota);
    EXPECT_EQ(rows[1].figures.band, 4);
    EXPECT_FALSE(rows[4].figures.trained);
}

TEST(QuotaRows, EmptyListGivesNoRowsAndNoKindsGivesOnlyUntrainedRows) {
    EXPECT_TRUE(quotaRows(ProfileList{}, {}, QuotaOrder::Quota).empty());

    ProfileList list;
    list.records = {profileRecord(1, answers(3, 0, 0)), profileRecord(2, answers(0, 0, 3))};
    const std::vector<QuotaRow> rows = quotaRows(list, {false, false, false}, QuotaOrder::Wrong);
    ASSERT_EQ(rows.size(), 2u);
    for (const QuotaRow& row : rows) {
        EXPECT_FALSE(row.figures.trained);
        EXPECT_EQ(quotaCategory(row.figures), 0);
    }
    EXPECT_EQ(codesOf(rows), (std::vector<qint32>{1, 2}));
}
