// Scenario tests of what a learner does with a checked question: takes it back, marks it easy,
// types a reading again after a slip, and retrains a run's mistakes.
#include "app/shell/appfixture.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/trainingids.h"
#include "core/training/reviewlog.h"
#include "ui/widgets.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr qint32 School = 0x6821;  // 校, コウ
constexpr qint32 High = 0x9AD8;    // 高, コウ
constexpr qint32 Moon = 0x6708;    // 月, ゲツ ガツ
constexpr qint32 Fire = 0x706B;    // 火, カ

std::vector<KanjiRecord> fourKanji() {
    KanjiRecord school = makeKanji(1, School, u"コウ"_s, 4);
    school.Bemerkung = u"Schule"_s;
    KanjiRecord high = makeKanji(2, High, u"コウ"_s, 4);
    high.Bemerkung = u"hoch, teuer"_s;
    KanjiRecord moon = makeKanji(3, Moon, u"ゲツ、ガツ"_s, 4);
    moon.Bemerkung = u"Mond, Monat"_s;
    KanjiRecord fire = makeKanji(4, Fire, u"カ"_s, 4);
    fire.Bemerkung = u"Feuer"_s;
    return {school, high, moon, fire};
}

}  // namespace

class AnswerSteps : public AppFixture {
protected:
    void SetUp() override {
        writeSet(u"JLPT"_s, fourKanji());
        writePreferences(u"JLPT"_s);
        app.ui.setRandomSeed([] { return 7u; });
        app.ui.setLocalNow(
            [] { return QDateTime(QDate(2026, 12, 7), QTime(10, 0), Qt::LocalTime); });
        start();
        app.ui.requesters().answerNext(ui::Answer::accept(u"Lerner"_s));
        chooseMenu(MenuCreateProfile);
    }

    // A run of the whole set in its order, asking On-Yomi and meaning.
    void startRun() {
        choosePage(ViewMode::Training);
        click(OrderIndex);
        click(ScopeAll);
        if (window().isChecked(ShowMeaningBox)) {
            click(ShowMeaningBox);
        }
        if (!window().isChecked(AskMeaningBox)) {
            click(AskMeaningBox);
        }
        ASSERT_TRUE(window().isChecked(AskOnBox));
        ASSERT_TRUE(window().isChecked(AskMeaningBox));
        click(StartButton);
        ASSERT_TRUE(app.training.running());
    }

    void answer(const QString& on, const QString& meaning) {
        control<QLineEdit>(AnswerOn)->setText(on);
        control<QLineEdit>(AnswerMeaning)->setText(meaning);
        click(CheckButton);
    }

    qint32 askedCode() const {
        return app.training.trainingList[static_cast<size_t>(app.training.trainingPos)].Code;
    }

    const ProfileRecord& record(qint32 code) {
        EXPECT_TRUE(findProfileRecord(app.learner.profile(), code));
        return *app.learner.profile().currentRecord();
    }

    std::vector<ReviewEntry> logOnDisk() const {
        const FileResult<ReviewLogContent> log = readReviewLog(mediaDir() + u"JLPT/Lerner.rklog"_s);
        EXPECT_TRUE(log.has_value());
        return log ? log->entries : std::vector<ReviewEntry>{};
    }

    std::vector<std::pair<AnswerKind, Grade>> remembered(qint32 code) const {
        std::vector<std::pair<AnswerKind, Grade>> answers;
        const auto read = app.learner.history();
        EXPECT_TRUE(read.has_value());
        const std::vector<ReviewEntry> history = read.value_or(std::vector<ReviewEntry>{});
        for (const ReviewEntry& entry : history) {
            if (entry.code == code && entry.type == ReviewEntryType::Answer) {
                answers.emplace_back(entry.kind, entry.verdict);
            }
        }
        return answers;
    }
};

TEST_F(AnswerSteps, UndoTakesTheQuestionBackOutOfProfileLogMemoryAndRun) {
    startRun();
    answer(u"kou"_s, u"Schule"_s);
    click(NextQuestionButton);
    ASSERT_EQ(askedCode(), High);

    // Everything as it stands before the slip.
    const std::vector<ProfileRecord> profileBefore = app.learner.profile().records;
    const std::vector<ReviewEntry> historyBefore = app.learner.history().value();
    const MemoryState* stateBefore = app.learner.states().find(School, AnswerKind::On);
    ASSERT_NE(stateBefore, nullptr);
    const MemoryState schoolBefore = *stateBefore;
    const TrainingItem itemBefore = app.training.trainingList[1];
    const QString scoreBefore = window().statusText(3);
    const auto* list = control<ui::ReportList>(StatisticsList);
    const int rowsBefore = list->rowCount();

    // Before the check, Ctrl+Z is the text field's own undo, which the window's shortcut leaves
    // alone; and the shortcut itself takes nothing back.
    const auto focusKeepsCtrlZ = [this] {
        QWidget* focused = window().top()->focusWidget();
        QKeyEvent ctrlZ(QEvent::ShortcutOverride, Qt::Key_Z, Qt::ControlModifier);
        ctrlZ.ignore();
        if (focused != nullptr) {
            QCoreApplication::sendEvent(focused, &ctrlZ);
        }
        return focused != nullptr && ctrlZ.isAccepted();
    };
    control<QLineEdit>(AnswerOn)->setFocus();
    EXPECT_TRUE(focusKeepsCtrlZ());
    chooseMenu(MenuUndoAnswer);
    EXPECT_EQ(app.training.checkState, CheckState::Answering);

    answer(u"ka"_s, u"niedrig"_s);
    ASSERT_EQ(app.training.checkState, CheckState::Checked);
    EXPECT_FALSE(focusKeepsCtrlZ()) << "after the check the shortcut takes Ctrl+Z";
    EXPECT_TRUE(window().isVisible(UndoButton));
    EXPECT_EQ(record(High).KindOn.Wrong, 1);
    EXPECT_NE(app.learner.states().find(High, AnswerKind::On), nullptr);
    const size_t loggedAfterCheck = logOnDisk().size();

    chooseMenu(MenuUndoAnswer);
    EXPECT_EQ(app.training.checkState, CheckState::Answering);
    EXPECT_EQ(app.learner.profile().records, profileBefore);
    // Its answers are left out of the history, the earlier ones stay.
    std::vector<ReviewEntry> answered;
    const std::vector<ReviewEntry> history = app.learner.history().value();
    for (const ReviewEntry& entry : history) {
        if (entry.type == ReviewEntryType::Answer) {
            answered.push_back(entry);
        }
    }
    EXPECT_EQ(answered, historyBefore);
    EXPECT_EQ(app.learner.states().find(High, AnswerKind::On), nullptr);
    EXPECT_EQ(app.learner.states().find(High, AnswerKind::Meaning), nullptr);
    const MemoryState* schoolAfter = app.learner.states().find(School, AnswerKind::On);
    ASSERT_NE(schoolAfter, nullptr);
    EXPECT_EQ(schoolAfter->stability, schoolBefore.stability);
    EXPECT_EQ(schoolAfter->reviews, schoolBefore.reviews);
    EXPECT_EQ(app.training.runRight, 2);
    EXPECT_EQ(app.training.runWrong, 0);
    EXPECT_EQ(app.training.trainingList[1].right, itemBefore.right);
    EXPECT_EQ(app.training.trainingList[1].wrong, itemBefore.wrong);
    EXPECT_EQ(app.training.trainingList[1].partly, itemBefore.partly);
    EXPECT_EQ(window().statusText(3), scoreBefore);
    EXPECT_EQ(list->rowCount(), rowsBefore);
    // The log keeps the answers and cancels them with undo records.
    const std::vector<ReviewEntry> logged = logOnDisk();
    ASSERT_EQ(logged.size(), loggedAfterCheck + 2);
    EXPECT_EQ(logged.back().type, ReviewEntryType::Undo);
    EXPECT_EQ(logged.back().code, High);
    // Asked again with what was typed.
    EXPECT_EQ(window().text(AnswerOn), u"ka"_s);
    EXPECT_EQ(window().text(AnswerMeaning), u"niedrig"_s);
    EXPECT_TRUE(window().isVisible(CheckButton));
    EXPECT_FALSE(window().isVisible(MarkOn));
    EXPECT_FALSE(window().isVisible(UndoButton));

    // One level only: a second undo has nothing to take back.
    click(UndoButton);
    chooseMenu(MenuUndoAnswer);
    EXPECT_EQ(app.learner.profile().records, profileBefore);

    answer(u"kou"_s, u"hoch"_s);
    EXPECT_EQ(record(High).KindOn.Right, 1);
    EXPECT_EQ(record(High).KindOn.Wrong, 0);
    EXPECT_EQ(app.training.runRight, 4);
}

TEST_F(AnswerSteps, EasyRecordsTheRightAnswersAgainAsEasy) {
    startRun();
    answer(u"kou"_s, u"Mond"_s);
    ASSERT_TRUE(window().isVisible(EasyButton));
    chooseMenu(MenuEasyAnswer);

    // The log remembers On as easy, the wrong meaning as it was.
    EXPECT_EQ(remembered(School),
              (std::vector<std::pair<AnswerKind, Grade>>{{AnswerKind::On, Grade::Easy},
                                                         {AnswerKind::Meaning, Grade::Wrong}}));
    // The profile counts easy as right, once.
    EXPECT_EQ(record(School).KindOn.Right, 1);
    EXPECT_EQ(record(School).KindMeaning.Wrong, 1);
    EXPECT_EQ(app.training.runRight, 1);
    EXPECT_EQ(app.training.runWrong, 1);
    EXPECT_FALSE(window().isVisible(EasyButton));
    // The memory took it as easy: a first easy answer holds longer than a first right one.
    const MemoryState* easy = app.learner.states().find(School, AnswerKind::On);
    ASSERT_NE(easy, nullptr);
    EXPECT_GT(easy->stability, app.learner.model().first(Rating::Good, 0).stability);

    // A question without a right answer has nothing to make easy.
    click(NextQuestionButton);
    answer(u"ka"_s, u"niedrig"_s);
    EXPECT_FALSE(window().isVisible(EasyButton));
    const size_t logged = logOnDisk().size();
    chooseMenu(MenuEasyAnswer);
    EXPECT_EQ(logOnDisk().size(), logged);
}

TEST_F(AnswerSteps, LenientTyposGiveAReadingWithASlipOneMoreTry) {
    // Off unless chosen; chosen in "Einstellungen" → "Training" and kept with the choices.
    playDialog(TrainingOptionsWindowId, u"Training"_s,
               {[](QWidget* dialog) {
                    auto* box = dialog->findChild<QCheckBox*>();
                    ASSERT_NE(box, nullptr);
                    EXPECT_FALSE(box->isChecked());
                    EXPECT_EQ(box->text(), u"Tippfehler nachsichtig"_s);
                    box->click();
                },
                [](QWidget* dialog) {
                    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                        if (button->text() == u"OK"_s) {
                            button->click();
                        }
                    }
                }},
               [this] { chooseMenu(MenuSettingsTraining); });
    EXPECT_TRUE(app.learner.choices().lenientTypos);
    EXPECT_TRUE(readFile(u"Media/JLPT/Lerner.rktrain"_s)
                    .value_or(QByteArray())
                    .contains("\nlenientTypos=1\n"));

    startRun();
    // 校 is こう: "ko" leaves out the long vowel. The meaning is graded at once, the reading
    // waits with its text.
    answer(u"ko"_s, u"Schule"_s);
    EXPECT_EQ(app.training.checkState, CheckState::Answering);
    EXPECT_TRUE(window().isVisible(AlmostOn));
    EXPECT_EQ(window().text(AlmostOn), u"Fast – noch einmal?"_s);
    EXPECT_EQ(window().text(AnswerOn), u"ko"_s);
    EXPECT_TRUE(window().isVisible(MarkMeaning));
    EXPECT_FALSE(window().isVisible(MarkOn));
    EXPECT_EQ(record(School).KindMeaning.Right, 1);
    EXPECT_EQ(record(School).KindOn, AnswerStats{});
    EXPECT_EQ(remembered(School),
              (std::vector<std::pair<AnswerKind, Grade>>{{AnswerKind::Meaning, Grade::Right}}));
    // The next check grades the reading as usual, and the meaning not again.
    click(CheckButton);
    EXPECT_EQ(app.training.checkState, CheckState::Checked);
    EXPECT_EQ(record(School).KindOn.Wrong, 1);
    EXPECT_EQ(record(School).KindMeaning.Right, 1);
    EXPECT_EQ(app.training.runRight, 1);
    EXPECT_EQ(app.training.runWrong, 1);

    // 高 is こう too: "ka" is no slip but wrong, at once.
    click(NextQuestionButton);
    EXPECT_FALSE(window().isVisible(AlmostOn));
    answer(u"ka"_s, u"hoch"_s);
    EXPECT_EQ(app.training.checkState, CheckState::Checked);
    EXPECT_FALSE(window().isVisible(AlmostOn));
    EXPECT_EQ(record(High).KindOn.Wrong, 1);
}

TEST_F(AnswerSteps, MistakesAreRetrainedWithTheKindsMissedAndTheSettingsLeftAlone) {
    startRun();
    answer(u"kou"_s, u"Schule"_s);  // right
    click(NextQuestionButton);
    answer(u"ka"_s, u"hoch"_s);  // On wrong
    click(NextQuestionButton);
    answer(u"getsu"_s, u"Mond, Sonne"_s);  // meaning partly right
    click(NextQuestionButton);
    answer(u"ka"_s, u"Feuer"_s);  // right
    click(NextQuestionButton);
    ASSERT_FALSE(app.training.running());
    // The short evaluation is as it always was.
    EXPECT_EQ(app.ui.requesters().shown().back().text,
              u"6 richtig  (75)\r\n1 teilweise  (12)\r\n1 falsch  (12)\r\nGesamt-Quote: 75%"_s);
    ASSERT_TRUE(window().isVisible(RetrainButton));
    EXPECT_EQ(window().text(RetrainButton), u"Fehler üben (2)"_s);
    const std::optional<QByteArray> choices = readFile(u"Media/JLPT/Lerner.rktrain"_s);

    click(RetrainButton);
    ASSERT_TRUE(app.training.running());
    ASSERT_EQ(app.training.trainingList.size(), 2u);
    EXPECT_EQ(askedCode(), High);
    EXPECT_TRUE(window().isVisible(AnswerOn));
    EXPECT_FALSE(window().isVisible(AnswerMeaning));
    EXPECT_FALSE(window().isVisible(RetrainButton));
    answer(u"ka"_s, QString());  // wrong again
    click(NextQuestionButton);
    EXPECT_EQ(askedCode(), Moon);
    EXPECT_FALSE(window().isVisible(AnswerOn));
    EXPECT_TRUE(window().isVisible(AnswerMeaning));
    answer(QString(), u"Mond"_s);
    click(NextQuestionButton);
    ASSERT_FALSE(app.training.running());

    // The page's settings and the kept choices are the learner's own still.
    EXPECT_TRUE(window().isChecked(AskOnBox));
    EXPECT_TRUE(window().isChecked(AskMeaningBox));
    EXPECT_TRUE(window().isChecked(ScopeAll));
    EXPECT_EQ(readFile(u"Media/JLPT/Lerner.rktrain"_s), choices);

    // A single kanji left is a run of its own.
    EXPECT_EQ(window().text(RetrainButton), u"Fehler üben (1)"_s);
    click(RetrainButton);
    ASSERT_TRUE(app.training.running());
    EXPECT_EQ(app.training.trainingList.size(), 1u);
    EXPECT_EQ(askedCode(), High);
    answer(u"kou"_s, QString());
    click(NextQuestionButton);
    EXPECT_FALSE(app.training.running());
    EXPECT_FALSE(window().isVisible(RetrainButton));
}
