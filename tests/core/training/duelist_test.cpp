// Tests of the daily review: what falls due after a day's answers, across the 4:00 day
// boundary, the run "Fällig" builds from it, and the forecast of the days ahead.
#include "core/training/duelist.h"
#include "core/training/forecast.h"
#include "core/training/trainingsession.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace {

const QTimeZone Berlin(QByteArrayLiteral("Europe/Berlin"));
constexpr qint32 First = 0x4E00;
constexpr qint64 Minute = 60;

qint64 berlin(int day, int hour, int minute = 0) {
    return QDateTime(QDate(2026, 3, day), QTime(hour, minute), Berlin).toSecsSinceEpoch();
}

// Twelve kanji; the seventh has no meaning to ask. Kanji 1 and 2 are JLPT 4, 3 and 4 JLPT 3.
KanjiSet twelveKanji() {
    KanjiSet set;
    for (int i = 0; i < 12; ++i) {
        KanjiRecord record;
        record.Idx1 = i + 1;
        record.Idx2 = i < 2 ? 4 : i < 4 ? 3 : 0;
        record.Unicode = First + i;
        record.OnYomi = QStringLiteral("オン");
        record.Bemerkung = i == 6 ? QString() : QStringLiteral("Bedeutung");
        set.records.push_back(record);
    }
    set.current = 0;
    return set;
}

AskedKinds kanjiAndMeaning() {
    AskedKinds asked;
    asked.kanji = true;
    asked.meaning = true;
    return asked;
}

// On 10 March at 23:30 the learner writes the first five kanji right, and gives the meaning of
// the first three right and of the fourth and fifth wrong (the fifth ten minutes earlier).
std::vector<ReviewEntry> eveningOfTheTenth() {
    std::vector<ReviewEntry> log;
    for (int i = 0; i < 5; ++i) {
        const qint64 time = berlin(10, 23, 30) - (i == 4 ? 10 * Minute : 0);
        log.push_back(answerEntry(time, First + i, AnswerKind::Kanji, Grade::Right));
        log.push_back(answerEntry(time + 5, First + i, AnswerKind::Meaning,
                                  i < 3 ? Grade::Right : Grade::Wrong));
    }
    return log;
}

std::vector<qint32> codesOf(const std::vector<DueQuestion>& questions) {
    std::vector<qint32> codes;
    for (const DueQuestion& question : questions) {
        codes.push_back(question.code);
    }
    return codes;
}

TEST(DueList, AsksTheForgottenFirstThenTheDayNewOnesAcrossTheDayBoundary) {
    const KanjiSet set = twelveKanji();
    const MemoryModel model;
    const MemoryStates states = replayReviews(eveningOfTheTenth(), model);
    DueOptions options;
    options.asked = kanjiAndMeaning();

    // Past midnight the learner's day is still the 10th: five of its ten new kanji are begun.
    options.now = berlin(11, 1, 30);
    options.dayStart = learnerDayStart(options.now, Berlin);
    EXPECT_EQ(options.dayStart, berlin(10, 4));
    DueList list = dueList(set, states, model, options);
    EXPECT_EQ(list.dueCount(), 0);
    EXPECT_EQ(list.begunToday, 5);
    EXPECT_EQ(codesOf(list.fresh),
              (std::vector<qint32>{First + 5, First + 6, First + 7, First + 8, First + 9}));
    // The wrong meanings fall due within hours.
    ASSERT_TRUE(list.nextDue.has_value());
    EXPECT_GT(*list.nextDue, options.now);
    EXPECT_LT(*list.nextDue, berlin(11, 6));

    // The next evening: the two wrong meanings are due, the longer forgotten first, and a new
    // day takes up to ten new kanji again (seven are left).
    options.now = berlin(11, 18);
    options.dayStart = learnerDayStart(options.now, Berlin);
    EXPECT_EQ(options.dayStart, berlin(11, 4));
    list = dueList(set, states, model, options);
    EXPECT_EQ(list.begunToday, 0);
    EXPECT_EQ(codesOf(list.due), (std::vector<qint32>{First + 4, First + 3}));
    EXPECT_LT(list.due[0].recall, list.due[1].recall);
    EXPECT_LT(list.due[1].recall, 0.9);
    EXPECT_EQ(list.newCount(), 7);

    TrainingSettings settings;
    settings.manual = true;
    settings.scope = TrainingScope::Due;
    settings.asked = kanjiAndMeaning();
    const std::vector<TrainingItem> run = trainingQuestions(settings, set, {}, {}, list);
    ASSERT_EQ(run.size(), 9u);
    EXPECT_EQ(run[0].Code, First + 4);
    EXPECT_EQ(run[1].Code, First + 3);
    for (int i : {0, 1}) {
        EXPECT_TRUE(run[size_t(i)].kinds.meaning);
        EXPECT_FALSE(run[size_t(i)].kinds.kanji) << "only the due kind is asked";
    }
    EXPECT_EQ(run[2].Code, First + 5);
    EXPECT_TRUE(run[2].kinds.kanji && run[2].kinds.meaning);
    EXPECT_EQ(run[3].Code, First + 6);
    EXPECT_TRUE(run[3].kinds.kanji);
    EXPECT_FALSE(run[3].kinds.meaning) << "the seventh kanji has no meaning to ask";
    EXPECT_EQ(run[8].Code, First + 11);

    // Other scopes still ask the settings' kinds.
    settings.scope = TrainingScope::All;
    const std::vector<TrainingItem> all = trainingQuestions(settings, set, {}, {});
    ASSERT_EQ(all.size(), 12u);
    EXPECT_TRUE(all[0].kinds.kanji && all[0].kinds.meaning && !all[0].kinds.on);

    // Some days later every kanji of that evening is due, in both kinds.
    options.now = berlin(14, 18);
    options.dayStart = learnerDayStart(options.now, Berlin);
    list = dueList(set, states, model, options);
    EXPECT_EQ(list.dueCount(), 5);
    for (const DueQuestion& question : list.due) {
        EXPECT_TRUE(question.kinds.kanji && question.kinds.meaning) << question.code;
    }
    EXPECT_EQ(codesOf(list.due).front(), First + 4);
}

TEST(Forecast, CountsTheDaysAheadAndTheKanjiKnownPerLevel) {
    const KanjiSet set = twelveKanji();
    const MemoryModel model;
    const MemoryStates states = replayReviews(eveningOfTheTenth(), model);
    const qint64 now = berlin(11, 18);
    const Forecast ahead =
        forecast(set, states, model, kanjiAndMeaning(), 0.9, now, learnerDayStart(now, Berlin));
    // Today: the two wrong meanings; the three right kanji fall due 2.3 days after 23:30 on the
    // 10th, early on the 13th, which is day 2 from the 11th's 4:00.
    EXPECT_EQ(ahead.duePerDay[0], 2);
    EXPECT_EQ(ahead.duePerDay[1], 0);
    EXPECT_EQ(ahead.duePerDay[2], 3);
    qint32 total = 0;
    for (qint32 day : ahead.duePerDay) {
        total += day;
    }
    EXPECT_EQ(total, 5) << "new kanji are not counted";
    EXPECT_EQ(ahead.byLevel[4].known, 2);
    EXPECT_EQ(ahead.byLevel[4].total, 2);
    EXPECT_EQ(ahead.byLevel[3].known, 1) << "the fourth kanji's meaning is forgotten";
    EXPECT_EQ(ahead.byLevel[3].total, 2);
    EXPECT_EQ(ahead.byLevel[0].known, 0);
    EXPECT_EQ(ahead.byLevel[0].total, 8);
}

}  // namespace
