// Tests of the statistics summary: the figures over a profile and the text the learner reads.
#include "core/training/statisticssummary.h"

#include "core/training/profilebuilders.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

ProfileList profileOf(const std::vector<AnswerStats>& onAnswers) {
    ProfileList list;
    qint32 code = 0x4E00;
    for (const AnswerStats& on : onAnswers) {
        list.records.push_back(profileRecord(code++, on));
    }
    return list;
}

QString summaryOf(const ProfileList& list, CountedKinds kinds = {}) {
    return statisticsSummary(statisticsFigures(quotaRows(list, kinds, QuotaOrder::Kanji)), kinds,
                             builtInTexts());
}

}  // namespace

TEST(StatisticsSummary, FourKanjiWithBestAndWorst) {
    ProfileList list =
        profileOf({answers(3, 0, 0), answers(0, 0, 2), answers(1, 1, 2), answers(0, 5, 0)});
    // Kanji writing never counts, whatever its results.
    list.records[3].KindKanji = answers(7, 0, 0);

    const StatisticsFigures f = statisticsFigures(quotaRows(list, {}, QuotaOrder::Quota));
    EXPECT_EQ(f.total, 4);
    EXPECT_EQ(f.trained, 3);
    EXPECT_EQ(f.untrained, 1);
    EXPECT_EQ(f.bands, (std::array<qint32, 6>{1, 1, 0, 0, 0, 1}));
    EXPECT_EQ(f.best, 100);
    EXPECT_EQ(f.worst, 0);

    EXPECT_EQ(summaryOf(list),
              u"Zusammenfassung\n\n"
              u"Kanji insgesamt: 4\n\n"
              u"Trainiert: 3  - Quote: 75%\n"
              u"Noch nicht trainiert: 1  - Quote: 25%\n\n"
              u"Die einzelnen Kanji \n"
              u"Immer richtig (100%): \t1\n"
              u"Sehr oft richtig (90-99%): \t0\n"
              u"Meist richtig (75-89%): \t0\n"
              u"Öfter richtig (50-74%): \t0\n"
              u"Manchmal richtig (0-49%): \t1\n"
              u"Nie richtig (0%): \t\t1\n\n"
              u"Beste Einzel-Quote: 100\n"
              u"Schlechteste Einzel-Quote: 0\n\n"_s);
}

TEST(StatisticsSummary, NothingTrainedLeavesOutBestAndWorst) {
    // Partly right answers alone train nothing.
    const ProfileList list = profileOf({answers(0, 0, 0), answers(0, 4, 0)});

    EXPECT_EQ(summaryOf(list),
              u"Zusammenfassung\n\n"
              u"Kanji insgesamt: 2\n\n"
              u"Trainiert: 0  - Quote: 0%\n"
              u"Noch nicht trainiert: 2  - Quote: 100%\n\n"
              u"Die einzelnen Kanji \n"
              u"Immer richtig (100%): \t0\n"
              u"Sehr oft richtig (90-99%): \t0\n"
              u"Meist richtig (75-89%): \t0\n"
              u"Öfter richtig (50-74%): \t0\n"
              u"Manchmal richtig (0-49%): \t0\n"
              u"Nie richtig (0%): \t\t0\n\n"_s);
}

TEST(StatisticsSummary, PercentagesRoundDownAndExtremesComeFromAnyRow) {
    // Best and worst lie in neither the first nor the last row, and no quota is 0 or 100.
    const ProfileList list = profileOf({answers(0, 0, 0), answers(1, 0, 1), answers(0, 0, 0),
                                        answers(9, 1, 0), answers(3, 0, 1), answers(0, 0, 0)});
    const StatisticsFigures f = statisticsFigures(quotaRows(list, {}, QuotaOrder::Right));
    EXPECT_EQ(f.best, 90);
    EXPECT_EQ(f.worst, 50);
    const QString text = summaryOf(list);
    EXPECT_TRUE(text.contains(u"\nTrainiert: 3  - Quote: 50%\n"_s)) << text.toStdString();
    EXPECT_TRUE(text.endsWith(u"Beste Einzel-Quote: 90\nSchlechteste Einzel-Quote: 50\n\n"_s))
        << text.toStdString();

    const QString third = summaryOf(profileOf({answers(1, 0, 0), {}, {}}));
    EXPECT_TRUE(third.contains(u"Trainiert: 1  - Quote: 33%\n"_s)) << third.toStdString();
    EXPECT_TRUE(third.contains(u"Noch nicht trainiert: 2  - Quote: 66%\n"_s))
        << third.toStdString();
}

TEST(StatisticsSummary, EmptyWithoutRecordsOrWithoutCountedKinds) {
    EXPECT_EQ(summaryOf(ProfileList{}), QString());
    const ProfileList list = profileOf({answers(3, 0, 0)});
    EXPECT_EQ(summaryOf(list, {false, false, false}), QString());
    // One counted kind is enough, even one without answers.
    const QString kunOnly = summaryOf(list, {false, true, false});
    EXPECT_TRUE(kunOnly.contains(u"Noch nicht trainiert: 1  - Quote: 100%\n"_s))
        << kunOnly.toStdString();
}

TEST(StatisticsSummary, CatalogTranslatesEveryLabel) {
    TextTables texts = builtInTexts();
    texts.setText(MessageText::SummaryNeverRight, u"Never: "_s);
    texts.setText(MessageText::SummaryQuota, u" ~ "_s);
    const ProfileList list = profileOf({answers(0, 0, 1)});
    const QString text =
        statisticsSummary(statisticsFigures(quotaRows(list, {}, QuotaOrder::Kanji)), {}, texts);
    EXPECT_TRUE(text.contains(u"\nNever: \t\t1\n\n"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Trainiert: 1 ~ 100%\n"_s)) << text.toStdString();
}
