// Tests of planning the daily review: the fuzzed and balanced due days, the days ahead as the
// simulation expects them, and the retention recommended for a budget.
#include "core/training/duelist.h"
#include "core/training/retentionrecommendation.h"
#include "core/training/schedulefuzz.h"
#include "core/training/workloadsimulation.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace {

constexpr qint32 First = 0x4E00;
constexpr qint64 Hour = 3600;

// 10 March 2026, 4:00 UTC: the start of a learner's day in UTC.
const qint64 DayZero =
    QDateTime(QDate(2026, 3, 10), QTime(4, 0), QTimeZone::utc()).toSecsSinceEpoch();

qint64 evening(int day) {
    return DayZero + day * SecondsPerDay + 15 * Hour;
}

KanjiSet kanjiSet(int count) {
    KanjiSet set;
    for (int i = 0; i < count; ++i) {
        KanjiRecord record;
        record.Idx1 = i + 1;
        record.Unicode = First + i;
        record.OnYomi = QStringLiteral("オン");
        record.Bemerkung = QStringLiteral("Bedeutung");
        set.records.push_back(record);
    }
    set.current = 0;
    return set;
}

AskedKinds meaningOnly() {
    AskedKinds asked;
    asked.meaning = true;
    return asked;
}

qint64 dayOf(qint64 time) {
    return (time - DayZero) / SecondsPerDay;
}

TEST(DueSchedule, FuzzSpreadsEqualIntervalsEvenlyWithinTheirRangeAndReplaysTheSame) {
    // Sixty kanji learnt in one evening and answered right again three days later: every
    // meaning has the same interval, so only the fuzz and the load tell their due days apart.
    std::vector<ReviewEntry> log;
    for (int day : {0, 3}) {
        for (int i = 0; i < 60; ++i) {
            log.push_back(
                answerEntry(evening(day) + i * 20, First + i, AnswerKind::Meaning, Grade::Right));
        }
    }
    const MemoryModel model;
    const MemoryStates states = replayReviews(log, model);
    // The same states entered in the reverse order: a table walked in another order.
    MemoryStates reversed;
    for (int i = 59; i >= 0; --i) {
        reversed.emplace(First + i, AnswerKind::Meaning,
                         *states.find(First + i, AnswerKind::Meaning));
    }

    for (double retention : {0.9, 0.8}) {
        const DueSchedule schedule = scheduleDue(states, model, retention, DayZero);
        const DueSchedule again = scheduleDue(reversed, model, retention, DayZero);
        const double interval =
            model.intervalDays(states.find(First, AnswerKind::Meaning)->stability, retention);
        const std::optional<FuzzRange> range = fuzzRange(interval);
        ASSERT_TRUE(range.has_value()) << interval;
        EXPECT_GE(range->high - range->low, 2) << interval;
        std::map<qint64, int> perDay;
        for (int i = 0; i < 60; ++i) {
            const std::optional<qint64> due = schedule.dueTime(First + i, AnswerKind::Meaning);
            ASSERT_TRUE(due.has_value());
            EXPECT_EQ(due, again.dueTime(First + i, AnswerKind::Meaning)) << i;
            const qint64 after = dayOf(*due) - 3;
            EXPECT_GE(after, range->low) << i << " at " << retention;
            EXPECT_LE(after, range->high) << i << " at " << retention;
            EXPECT_EQ((*due - DayZero) % SecondsPerDay, 0) << "due at the start of a day";
            ++perDay[after];
        }
        EXPECT_EQ(qint64(perDay.size()), range->high - range->low + 1) << "every day of the range";
        const auto [fewest, most] = std::minmax_element(
            perDay.begin(), perDay.end(), [](auto& a, auto& b) { return a.second < b.second; });
        EXPECT_LE(most->second - fewest->second, 1);
    }
    EXPECT_FALSE(fuzzRange(2.4).has_value());
    EXPECT_EQ(fuzzRange(3.0)->low, 2);
    EXPECT_EQ(fuzzRange(3.0)->high, 4);
    EXPECT_EQ(fuzzRange(100.0)->low, 93);
    EXPECT_EQ(fuzzRange(100.0)->high, 107);
}

TEST(DueSchedule, AKanjisKindsFallDueOnDifferentDaysAndAreAskedTogetherOnceDue) {
    const KanjiSet set = kanjiSet(1);
    AskedKinds asked;
    asked.kanji = true;
    asked.on = true;
    asked.meaning = true;
    std::vector<ReviewEntry> log;
    for (int day : {0, 3}) {
        for (AnswerKind kind : {AnswerKind::Kanji, AnswerKind::On, AnswerKind::Meaning}) {
            log.push_back(answerEntry(evening(day), First, kind, Grade::Right));
        }
    }
    const MemoryModel model;
    const MemoryStates states = replayReviews(log, model);
    const DueSchedule schedule = scheduleDue(states, model, 0.9, DayZero);
    std::set<qint64> days;
    for (AnswerKind kind : {AnswerKind::Kanji, AnswerKind::On, AnswerKind::Meaning}) {
        days.insert(dayOf(*schedule.dueTime(First, kind)));
    }
    ASSERT_EQ(days.size(), 3u) << "three kinds, three days";

    DueOptions options;
    options.asked = asked;
    options.schedule = &schedule;
    const auto kindsDueOn = [&](qint64 day) {
        options.now = evening(int(day));
        options.dayStart = DayZero + day * SecondsPerDay;
        const DueList list = dueList(set, states, model, options);
        return list.due.empty() ? 0 : list.due.front().kinds.count();
    };
    EXPECT_EQ(kindsDueOn(*days.begin() - 1), 0);
    EXPECT_EQ(kindsDueOn(*days.begin()), 1);
    EXPECT_EQ(kindsDueOn(*std::next(days.begin())), 2) << "the earlier kind still waits";
    EXPECT_EQ(kindsDueOn(*days.rbegin()), 3);
}

TEST(Workload, ExpectsTheAnswersTheComingDaysCauseAndTheNewKanji) {
    // Kanji 1 was learnt right two evenings ago; kanji 2 and 3 are new, one a day.
    const KanjiSet set = kanjiSet(3);
    const MemoryModel model;
    const MemoryStates states =
        replayReviews({answerEntry(evening(-2), First, AnswerKind::Meaning, Grade::Right)}, model);
    WorkloadOptions options;
    options.asked = meaningOnly();
    options.retention = 0.9;
    options.newPerDay = 1;
    options.now = evening(0);
    options.dayStart = DayZero;
    options.firstRecall = 0.6;
    const Workload ahead = simulateWorkload(set, states, model, options);
    ASSERT_EQ(ahead.answersPerDay.size(), 30u);
    // Today: kanji 1 (its 2.3 days end in tonight's hours) and the first new one.
    EXPECT_DOUBLE_EQ(ahead.answersPerDay[0], 2.0);
    // Tomorrow: kanji 1 again where it was forgotten, kanji 2 where its first answer was wrong,
    // and the next new one. Recalled, each rests longer than a day.
    const double recalled = model.recall(model.first(Rating::Good, 0).stability, 2.0);
    EXPECT_NEAR(ahead.answersPerDay[1], (1 - recalled) + 0.4 + 1.0, 1e-9);
    EXPECT_EQ(ahead.newPerDay[0], 1);
    EXPECT_EQ(ahead.newPerDay[1], 1);
    EXPECT_EQ(ahead.newPerDay[2], 0) << "no new kanji left";
    EXPECT_EQ(ahead.kanji, 3);
    EXPECT_GT(ahead.knownAtEnd, 0.0);
    EXPECT_LE(ahead.knownAtEnd, 3.0);

    options.newPerDay = 0;
    const Workload without = simulateWorkload(set, states, model, options);
    EXPECT_DOUBLE_EQ(without.answersPerDay[0], 1.0);
    EXPECT_NEAR(without.answersPerDay[1], 1 - recalled, 1e-9);
    EXPECT_LT(without.knownAtEnd, ahead.knownAtEnd);
}

TEST(Recommendation, ATightBudgetTakesALowerRetentionThanALooseOne) {
    const KanjiSet set = kanjiSet(600);
    const MemoryModel model;
    const MemoryStates none;
    PlanStart start{set, none, model, meaningOnly()};
    start.now = evening(0);
    start.dayStart = DayZero;

    start.answersPerDay = 15;
    int progressed = 0;
    const std::optional<Recommendation> tight =
        recommendPlan(start, [&progressed](int done, int total) {
            progressed = done;
            return done <= total;
        });
    start.answersPerDay = 300;
    const std::optional<Recommendation> loose = recommendPlan(start);
    ASSERT_TRUE(tight && loose);
    EXPECT_GT(progressed, 40);
    EXPECT_LT(tight->retentionPercent, loose->retentionPercent);
    EXPECT_LE(tight->newPerDay, 15);
    EXPECT_GT(loose->expectedRecalled, tight->expectedRecalled);

    EXPECT_FALSE(recommendPlan(start, [](int, int) { return false; }).has_value());
    EXPECT_DOUBLE_EQ(medianAnswerSeconds({}), DefaultAnswerSeconds);
    EXPECT_DOUBLE_EQ(medianAnswerSeconds({0, 12, 4, 7, -1}), 7.0);
    EXPECT_DOUBLE_EQ(medianAnswerSeconds({3, 9, 5, 6}), 5.5);
    EXPECT_EQ(answersInMinutes(10, 8.0), 75);
}

}  // namespace
