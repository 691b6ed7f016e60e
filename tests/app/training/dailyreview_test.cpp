// Scenario tests of the daily review through the main window: answers logged and due again by
// their memory, the "Fällig" run, a damaged log, and the learner's choices kept across a restart.
#include "app/review/forecastwindow.h"
#include "app/shell/appfixture.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/trainingids.h"
#include "core/shell/preferences.h"
#include "core/training/reviewlog.h"

#include <set>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

std::vector<KanjiRecord> fiveKanji() {
    return {makeKanji(1, 0x65E5, u"ニチ"_s, 4), makeKanji(2, 0x6708, u"ゲツ"_s, 4),
            makeKanji(3, 0x706B, u"カ"_s, 3), makeKanji(4, 0x6C34, u"スイ"_s, 3),
            makeKanji(5, 0x6728, u"モク"_s, 3)};
}

}  // namespace

class DailyReview : public AppFixture {
protected:
    void SetUp() override {
        writeSet(u"JLPT"_s, fiveKanji());
        writePreferences(u"JLPT"_s);
        app.ui.setRandomSeed([] { return 7u; });
        app.ui.setLocalNow([this] { return today; });
        start();
        app.ui.requesters().answerNext(ui::Answer::accept(u"Lerner"_s));
        chooseMenu(MenuCreateProfile);
    }

    QString learnerFile(const QString& suffix) const {
        return mediaDir() + u"JLPT/Lerner"_s + suffix;
    }

    // One question answered with text in the On field.
    void answerOn(const QString& text) {
        control<QLineEdit>(AnswerOn)->setText(text);
        click(CheckButton);
        click(NextQuestionButton);
    }

    // The training page entered anew, as on another day.
    void enterTrainingPage() {
        choosePage(ViewMode::Overview);
        choosePage(ViewMode::Training);
    }

    QDateTime today{QDate(2026, 12, 7), QTime(10, 0), Qt::LocalTime};
};

TEST_F(DailyReview, WrongAnswersComeBackTomorrowAndEveryKanjiSomeDaysLater) {
    choosePage(ViewMode::Training);
    click(OrderIndex);
    EXPECT_EQ(window().text(DueLabel), u"Fällig: 0   Neu: 5"_s);
    click(StartButton);
    // 日, 月 and 火 right, 水 and 木 wrong.
    for (const QString& answer : {u"nichi"_s, u"getsu"_s, u"ka"_s, u"x"_s, u"x"_s}) {
        answerOn(answer);
    }
    ASSERT_FALSE(app.training.running());

    // Every answer is in the log on disk, in the order given.
    const FileResult<ReviewLogContent> log = readReviewLog(learnerFile(u".rklog"_s));
    ASSERT_TRUE(log.has_value());
    ASSERT_EQ(log->entries.size(), 5u);
    EXPECT_EQ(log->entries[3].code, 0x6C34);
    EXPECT_EQ(log->entries[3].verdict, Grade::Wrong);
    EXPECT_EQ(log->entries[0].verdict, Grade::Right);

    // The forecast shows the two forgotten kanji due today and the three others on later days,
    // in the chart and in words.
    QString summary;
    playDialog(
        ForecastWindowId, u"Vorschau"_s, {[&summary](QWidget* dialog) {
            for (const QLabel* label : dialog->findChildren<QLabel*>()) {
                if (label->text().startsWith(u"Fällige Kanji"_s)) {
                    summary = label->text();
                }
            }
            dialog->grab().save(QStringLiteral(RENKARI_BINARY_DIR "/screenshots/forecast.png"));
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text() == u"OK"_s) {
                    button->click();
                }
            }
        }},
        [this] { openForecast(app); });
    const QString perDay = summary.section(u": "_s, 1).section(u'\n', 0, 0);
    const QStringList days = perDay.split(u", "_s);
    ASSERT_EQ(days.size(), 30) << summary.toStdString();
    EXPECT_EQ(days[0], u"2"_s);
    int total = 0;
    for (const QString& day : days) {
        total += day.toInt();
    }
    EXPECT_EQ(total, 5);
    // Just answered, every kanji is still remembered, the forgotten ones as they were shown.
    EXPECT_TRUE(summary.contains(u"JLPT 3: 3 von 3 bekannt (100 %)"_s)) << summary.toStdString();

    today = today.addDays(1);
    enterTrainingPage();
    EXPECT_TRUE(window().text(DueLabel).startsWith(u"Fällig: 2   Neu: 0"_s))
        << window().text(DueLabel).toStdString();

    // "Fällig" asks the two forgotten kanji only, and only what was asked of them.
    click(ScopeDue);
    click(StartButton);
    ASSERT_TRUE(app.training.running());
    ASSERT_EQ(app.training.trainingList.size(), 2u);
    std::set<qint32> asked;
    for (const TrainingItem& item : app.training.trainingList) {
        asked.insert(item.Code);
        EXPECT_TRUE(item.kinds.on);
        EXPECT_EQ(item.kinds.count(), 1);
    }
    EXPECT_EQ(asked, (std::set<qint32>{0x6C34, 0x6728}));
    EXPECT_EQ(window().statusText(4), u"Fällig: 2   Neu: 0"_s);
    answerOn(u"sui"_s);
    EXPECT_EQ(window().statusText(4), u"Fällig: 1   Neu: 0"_s);
    click(TrainingEndButton);

    today = today.addDays(30);
    enterTrainingPage();
    EXPECT_TRUE(window().text(DueLabel).startsWith(u"Fällig: 5   Neu: 0"_s))
        << window().text(DueLabel).toStdString();
}

TEST_F(DailyReview, ADamagedLogIsKeptAsideAndANewOneBegins) {
    ASSERT_TRUE(finish());
    writeFile(u"Media/JLPT/Lerner.rklog"_s, "not a review log at all");
    writeFile(u"Renkari.pref"_s,
              serializePreferences({u"JLPT"_s, u"Lerner"_s, workDir(), workDir(), QString()}));
    start();
    // The log is read when the learner is loaded with the profile.
    choosePage(ViewMode::Training);
    const auto& shown = app.ui.requesters().shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_TRUE(shown.back().text.contains(u"Lernprotokoll"_s)) << shown.back().text.toStdString();
    EXPECT_EQ(readFile(u"Media/JLPT/Lerner.rklog.bak"_s), QByteArray("not a review log at all"));

    click(StartButton);
    answerOn(u"nichi"_s);
    click(TrainingEndButton);
    const FileResult<ReviewLogContent> log = readReviewLog(learnerFile(u".rklog"_s));
    ASSERT_TRUE(log.has_value());
    ASSERT_FALSE(log->entries.empty());
    EXPECT_EQ(log->entries.back().type, ReviewEntryType::Answer);
}

TEST_F(DailyReview, AProfileOlderThanItsLogIsBroughtUpToDateFromIt) {
    choosePage(ViewMode::Training);
    click(OrderIndex);
    click(StartButton);
    // 日 right, 月 wrong; the run ends, and the profile is saved with them.
    answerOn(u"nichi"_s);
    answerOn(u"x"_s);
    click(TrainingEndButton);
    const std::optional<QByteArray> firstRun = readFile(u"Media/JLPT/Lerner.rkpr"_s);
    ASSERT_TRUE(firstRun.has_value());

    // A second run: both right. A crash before the profile's next save leaves its file as the
    // first run left it, while the log holds every answer.
    click(StartButton);
    answerOn(u"nichi"_s);
    answerOn(u"getsu"_s);
    click(TrainingEndButton);
    const std::vector<ProfileRecord> answered = app.learner.profile().records;
    ASSERT_TRUE(finish());
    writeFile(u"Media/JLPT/Lerner.rkpr"_s, *firstRun);

    start();
    EXPECT_EQ(app.learner.profile().records, answered);
    const ProfileRecord& sun = app.learner.profile().records[0];
    EXPECT_EQ(sun.KindOn.Right, 2);
    EXPECT_EQ(sun.KindOn.Series, 2);
    const ProfileRecord& moon = app.learner.profile().records[1];
    EXPECT_EQ(moon.KindOn.Right, 1);
    EXPECT_EQ(moon.KindOn.Wrong, 1);
    EXPECT_EQ(moon.KindOn.Series, 1);

    // A profile replaced by a new one of its name starts afresh: its log does not bring the old
    // answers back.
    app.ui.requesters().answerNext(ui::Answer::accept(u"Lerner"_s));
    app.ui.requesters().answerNext(ui::Answer::accept());
    chooseMenu(MenuCreateProfile);
    ASSERT_TRUE(finish());
    start();
    EXPECT_EQ(app.learner.profile().records[0].KindOn, AnswerStats{});
    EXPECT_TRUE(readFile(u"Media/JLPT/Lerner.rklog.bak"_s).has_value());
}

TEST_F(DailyReview, TheLearnersChoicesAreRestoredAfterARestart) {
    choosePage(ViewMode::Training);
    click(OrderIndex);
    click(ScopeDue);
    click(ShowOnBox);
    click(AskMeaningBox);
    click(StartButton);
    click(TrainingEndButton);
    ASSERT_TRUE(finish());

    start();
    choosePage(ViewMode::Training);
    EXPECT_TRUE(window().isChecked(OrderIndex));
    EXPECT_TRUE(window().isChecked(ScopeDue));
    EXPECT_TRUE(window().isChecked(ShowOnBox));
    EXPECT_TRUE(window().isChecked(AskMeaningBox));
}
