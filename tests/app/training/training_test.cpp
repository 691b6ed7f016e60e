// Scenario tests of learning through the main window: profiles created, chosen, deleted and kept
// safe, training runs of every scope, answers graded and recorded, and the short evaluation.
#include "app/shell/appfixture.h"
#include "app/shell/soundrecorder.h"
#include "app/shell/startup.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/trainingids.h"
#include "app/training/profilecommands.h"
#include "base/files.h"
#include "core/training/profilefile.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <set>

using namespace Qt::StringLiterals;

namespace {

std::vector<KanjiRecord> fiveKanji() {
    KanjiRecord sun = makeKanji(1, 0x65E5, u"ニチ、ジツ"_s, 4);
    sun.KunYomi = u"ひ、-び、-か"_s;
    sun.Bemerkung = u"Sonne, Tag"_s;
    KanjiRecord moon = makeKanji(2, 0x6708, u"ゲツ、ガツ"_s, 4);
    moon.Bemerkung = u"Mond, Monat"_s;
    KanjiRecord fire = makeKanji(3, 0x706B, u"カ"_s, 3);
    fire.Bemerkung = u"Feuer"_s;
    KanjiRecord water = makeKanji(4, 0x6C34, u"スイ"_s, 3);
    KanjiRecord tree = makeKanji(5, 0x6728, u"モク、ボク"_s, 3);
    return {sun, moon, fire, water, tree};
}

}  // namespace

class Learning : public AppFixture {
protected:
    void SetUp() override {
        writeSet(u"JLPT"_s, fiveKanji());
        writePreferences(u"JLPT"_s);
        app.ui.setRandomSeed([] { return 7u; });
        app.ui.setLocalNow(
            [] { return QDateTime(QDate(2026, 12, 7), QTime(10, 0), Qt::LocalTime); });
        start();
    }

    void createProfile(const QString& name) {
        app.ui.requesters().answerNext(ui::Answer::accept(name));
        chooseMenu(MenuCreateProfile);
    }

    QString profilePath(const QString& name) const {
        return mediaDir() + u"JLPT/"_s + name + u".rkpr"_s;
    }

    std::vector<ProfileRecord> profileOnDisk(const QString& name) const {
        const auto bytes = readWholeFile(profilePath(name));
        EXPECT_TRUE(bytes.has_value());
        return bytes ? parseProfileFile(*bytes).records : std::vector<ProfileRecord>{};
    }

    void type(int id, const QString& text) { control<QLineEdit>(id)->setText(text); }

    std::vector<qint32> questionCodes() const {
        std::vector<qint32> codes;
        for (const TrainingItem& item : app.training.trainingList) {
            codes.push_back(item.Code);
        }
        return codes;
    }

    // The learner typing a number into a spin field of the settings.
    void setSpin(int id, int value) {
        control<QSpinBox>(id)->setValue(value);
        pass();
    }

    // Ticks an option or check box of the settings as the learner does.
    void tick(int id) { click(id); }
};

TEST_F(Learning, QuestionSoundSpeaksTheReadingsOnlyWhenTheyGiveNothingAway) {
    PlayedSounds played;
    app.sound.useOutput(std::make_unique<SoundRecorder>(played));
    choosePage(ViewMode::Training);
    tick(OrderIndex);
    tick(ScopeRange);
    setSpin(RangeEnd, 2);
    tick(ShowSoundBox);
    click(StartButton);
    ASSERT_EQ(app.training.trainingPos, 0);

    // On-Yomi asked: the button shows but stays silent until the answers are checked.
    EXPECT_TRUE(window().isVisible(QuestionSoundButton));
    EXPECT_FALSE(window().isEnabled(QuestionSoundButton));
    click(QuestionSoundButton);
    EXPECT_TRUE(played.speech.empty());
    chooseMenu(MenuKeyF2);
    ASSERT_EQ(app.training.checkState, CheckState::Checked);
    EXPECT_TRUE(window().isEnabled(QuestionSoundButton));
    click(QuestionSoundButton);
    ASSERT_EQ(played.speech.size(), 1u);
    EXPECT_GT(played.speech[0], 1000u);
    click(NextQuestionButton);
    EXPECT_FALSE(window().isEnabled(QuestionSoundButton)) << "the next question is open again";
    click(TrainingEndButton);
    EXPECT_FALSE(window().isEnabled(QuestionSoundButton));

    // Only the meaning asked: the readings are heard with the question, to be translated.
    tick(AskOnBox);
    tick(AskMeaningBox);
    click(StartButton);
    ASSERT_EQ(app.training.checkState, CheckState::Answering);
    EXPECT_TRUE(window().isEnabled(QuestionSoundButton));
    click(QuestionSoundButton);
    EXPECT_EQ(played.speech.size(), 2u);
    EXPECT_TRUE(played.files.empty());
}

TEST_F(Learning, WholeRunFromANewProfileToItsFileOnDisk) {
    createProfile(u"Lerner.alt"_s);
    EXPECT_EQ(app.profile.profileName, u"Lerner"_s);
    EXPECT_EQ(window().text(ProfileField), u"Lerner"_s);
    EXPECT_EQ(profileOnDisk(u"Lerner"_s).size(), 5u);

    choosePage(ViewMode::Training);
    tick(OrderIndex);
    tick(ScopeRange);
    setSpin(RangeEnd, 3);
    click(StartButton);
    ASSERT_EQ(app.training.trainingPos, 0);
    EXPECT_EQ(questionCodes(), (std::vector<qint32>{0x65E5, 0x6708, 0x706B}));
    EXPECT_EQ(window().statusText(2), u"Training: 1  (3)"_s);
    EXPECT_FALSE(window().isEnabled(StartButton));
    EXPECT_TRUE(window().isVisible(CheckButton));
    EXPECT_TRUE(window().isVisible(AnswerOn));
    EXPECT_FALSE(window().isVisible(ShownOn));

    // Right in romaji, wrong, and partly right.
    const QStringList answers{u"nichi"_s, u"kin"_s, u"ka ke"_s};
    for (int i = 0; i < 3; ++i) {
        type(AnswerOn, answers[i]);
        click(CheckButton);
        EXPECT_EQ(app.training.checkState, CheckState::Checked);
        EXPECT_TRUE(window().isVisible(MarkOn));
        EXPECT_TRUE(window().isVisible(ShownOn));
        EXPECT_TRUE(window().isVisible(NextQuestionButton));
        if (i == 0) {
            EXPECT_EQ(window().statusText(3), u"  +: 1     -: 0              (100 %)"_s);
        }
        click(NextQuestionButton);
    }

    // The run ended with its evaluation, and the answers are on disk at once.
    const auto& shown = app.ui.requesters().shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().title, u"Trainieren - Kurzauswertung"_s);
    EXPECT_EQ(shown.back().text,
              u"1 richtig  (33)\r\n1 teilweise  (33)\r\n1 falsch  (33)\r\n"
              u"Gesamt-Quote: 33%"_s);
    EXPECT_EQ(app.training.trainingPos, -1);
    EXPECT_TRUE(window().isEnabled(StartButton));
    EXPECT_EQ(window().statusText(2), QString());
    // No reading of the last question is left on the page before the next run.
    EXPECT_EQ(window().text(ShownOn), QString());
    EXPECT_TRUE(control<ui::ImageView>(QuestionImage)->image().isNull());

    const std::vector<ProfileRecord> saved = profileOnDisk(u"Lerner"_s);
    ASSERT_EQ(saved.size(), 5u);
    std::map<qint32, AnswerStats> on;
    for (const ProfileRecord& record : saved) {
        on[record.Code] = record.KindOn;
    }
    EXPECT_EQ(on[0x65E5].Right, 1);
    EXPECT_EQ(on[0x65E5].Quota, 100);
    EXPECT_EQ(on[0x65E5].Series, 1);
    EXPECT_EQ(on[0x65E5].LastAnswer, 1796637600u);
    EXPECT_EQ(on[0x6708].Wrong, 1);
    EXPECT_EQ(on[0x706B].Partly, 1);
    EXPECT_EQ(on[0x6C34], AnswerStats{});

    // The run's rows stay in the list with the colours of their right answers.
    const auto* list = control<ui::ReportList>(StatisticsList);
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(list->cellText(0, 0), u"日"_s);
    EXPECT_EQ(list->cellText(0, 1), u"1.0"_s);
    EXPECT_EQ(list->cellText(0, 2), u"100"_s);
    EXPECT_EQ(list->rowColour(0), app.resources.quoteColours[2]);
    EXPECT_EQ(list->rowColour(1), app.resources.quoteColours[0]);

    // The next run of the program finds the results again.
    finish();
    App next;
    next.ui.requesters().setScripted(true);
    initialiseApp(next, dir.path());
    ASSERT_TRUE(startUp(next));
    EXPECT_EQ(next.profile.profileName, u"Lerner"_s);
    ASSERT_TRUE(findProfileRecord(next.learner.profile(), 0x65E5));
    EXPECT_EQ(next.learner.profile().currentRecord()->KindOn.Right, 1);
    EXPECT_EQ(next.mainWindow->statusText(4), u"ON Yomi:  1-0-0  (100)%   Serie: 1"_s);
    shutDown(next);
}

TEST_F(Learning, ScopesBuildTheirQuestions) {
    createProfile(u"Lerner"_s);
    choosePage(ViewMode::Training);
    tick(OrderIndex);

    tick(ScopeJlpt);
    tick(Jlpt3);
    EXPECT_EQ(window().text(Jlpt3), u"3  (3)"_s);
    EXPECT_FALSE(window().isEnabled(Jlpt2));
    click(StartButton);
    EXPECT_EQ(questionCodes(), (std::vector<qint32>{0x706B, 0x6C34, 0x6728}));
    const size_t shownBefore = app.ui.requesters().shown().size();
    click(TrainingEndButton);
    // Ended before anything was graded: no evaluation.
    EXPECT_EQ(app.ui.requesters().shown().size(), shownBefore);

    // The worst answered first: give two kanji a good On quota.
    for (qint32 code : {0x65E5, 0x6708, 0x706B}) {
        ASSERT_TRUE(findProfileRecord(app.learner.profile(), code));
        app.learner.profile().currentRecord()->KindOn.Quota = code == 0x706B ? 40 : 90;
    }
    tick(ScopeWorst);
    tick(WorstRelative);
    setSpin(RangeEnd, 40);
    click(StartButton);
    // The two never answered, in the profile's order.
    EXPECT_EQ(questionCodes(), (std::vector<qint32>{0x6728, 0x6C34}));
    click(TrainingEndButton);

    // A range of one kanji starts nothing.
    tick(ScopeRange);
    setSpin(RangeStart, 2);
    setSpin(RangeEnd, 2);
    click(StartButton);
    EXPECT_EQ(app.training.trainingPos, -1);
    EXPECT_TRUE(window().isEnabled(StartButton));

    // "Zufall" gives every kanji once, in another order for some seed.
    tick(ScopeAll);
    tick(OrderRandom);
    std::set<std::vector<qint32>> orders;
    for (quint32 seed = 1; seed <= 5; ++seed) {
        app.ui.setRandomSeed([seed] { return seed; });
        click(StartButton);
        std::vector<qint32> codes = questionCodes();
        orders.insert(codes);
        std::sort(codes.begin(), codes.end());
        EXPECT_EQ(codes, (std::vector<qint32>{0x65E5, 0x6708, 0x6728, 0x6C34, 0x706B}));
        click(TrainingEndButton);
    }
    EXPECT_GT(orders.size(), 1u);
}

TEST_F(Learning, KanjiWrittenOnTheCanvasIsJudgedByTheLearnerAndCounted) {
    createProfile(u"Lerner"_s);
    choosePage(ViewMode::Training);
    tick(OrderIndex);
    tick(AskKanjiBox);
    tick(ShowKanjiBox);  // unticked: the kanji is asked, not shown
    tick(AskKanjiBox);
    tick(AskOnBox);  // only the kanji is asked
    ASSERT_TRUE(window().isChecked(AskKanjiBox));
    ASSERT_FALSE(window().isChecked(AskOnBox));
    click(StartButton);
    EXPECT_TRUE(window().isVisible(CanvasImage));
    EXPECT_FALSE(window().isVisible(QuestionImage));

    // The learner's verdict among three, whatever the grader said of the empty canvas.
    const auto verdict = [this](const QString& choice) {
        QString preselected;
        playDialog(KanjiVerdictWindowId, u"Kanji überprüfen"_s, {[&](QWidget* dialog) {
                       for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                           if (button->isDefault()) {
                               preselected = button->text();
                           }
                       }
                       for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                           if (button->text() == choice) {
                               button->click();
                           }
                       }
                   }},
                   [this] { click(CheckButton); });
        return preselected;
    };
    EXPECT_EQ(verdict(u"Teilweise"_s), u"Falsch"_s);
    EXPECT_TRUE(window().isVisible(QuestionImage));
    EXPECT_EQ(app.training.runWrong, 1);
    EXPECT_EQ(app.training.trainingList[0].partly, 1);
    ASSERT_TRUE(findProfileRecord(app.learner.profile(), 0x65E5));
    EXPECT_EQ(app.learner.profile().currentRecord()->KindKanji.Partly, 1);
    EXPECT_EQ(app.learner.profile().currentRecord()->KindKanji.Right, 0);

    click(NextQuestionButton);
    verdict(u"Richtig"_s);
    EXPECT_EQ(window().statusText(3), u"  +: 1     -: 1              (50 %)"_s);
    ASSERT_TRUE(findProfileRecord(app.learner.profile(), 0x6708));
    EXPECT_EQ(app.learner.profile().currentRecord()->KindKanji.Right, 1);
}

TEST_F(Learning, WithoutManualTheCardsKanjiIsAskedUntilTheEnd) {
    choosePage(ViewMode::Training);
    click(ManualBox);
    ASSERT_FALSE(window().isChecked(ManualBox));
    click(ShortOnBox);
    click(StartButton);
    EXPECT_EQ(app.training.trainingPos, 0);
    EXPECT_EQ(questionCodes(), (std::vector<qint32>{0x65E5}));
    EXPECT_TRUE(window().isVisible(AnswerOn));
    type(AnswerOn, u"jitsu"_s);
    click(CheckButton);
    // The learner moves on the card; the next question is the kanji found there.
    app.kanjiSet.current = 3;
    click(NextQuestionButton);
    EXPECT_EQ(questionCodes(), (std::vector<qint32>{0x65E5, 0x6C34}));
    EXPECT_EQ(window().statusText(2), u"Training: 2  (2)"_s);
    type(AnswerOn, u"sui"_s);
    click(CheckButton);
    click(TrainingEndButton);
    EXPECT_EQ(app.ui.requesters().shown().back().text,
              u"2 richtig  (100)\r\n0 teilweise  (0)\r\n0 falsch  (0)\r\nGesamt-Quote: 100%"_s);
}

TEST_F(Learning, ProfilesAreSavedBeforeTheyAreReplacedAndDeletedOnlyOnYes) {
    createProfile(u"Anna"_s);
    ASSERT_TRUE(findProfileRecord(app.learner.profile(), 0x6708));
    app.learner.profile().currentRecord()->KindMeaning.Right = 4;

    // Choosing another profile first saves Anna's answers.
    app.ui.requesters().answerNext(ui::Answer::accept(u"/irgendwo/Ben.rkpr"_s));
    chooseMenu(MenuChooseProfile);
    EXPECT_EQ(app.profile.profileName, u"Ben"_s);
    EXPECT_FALSE(QFile::exists(profilePath(u"Ben"_s)));
    bool found = false;
    for (const ProfileRecord& record : profileOnDisk(u"Anna"_s)) {
        found = found || (record.Code == 0x6708 && record.KindMeaning.Right == 4);
    }
    EXPECT_TRUE(found);

    // A name that exists asks before it wipes the results; No keeps everything.
    app.ui.requesters().answerNext(ui::Answer::accept(u"Anna"_s));
    app.ui.requesters().answerNext(ui::Answer::cancel());
    chooseMenu(MenuCreateProfile);
    EXPECT_EQ(app.profile.profileName, u"Ben"_s);
    EXPECT_EQ(app.ui.requesters().shown().back().preselected, ui::YesNoDefault::No);
    EXPECT_EQ(profileOnDisk(u"Anna"_s).size(), 5u);

    // A name with a folder in it creates nothing.
    app.ui.requesters().answerNext(ui::Answer::accept(u"../Fremd"_s));
    chooseMenu(MenuCreateProfile);
    EXPECT_EQ(app.profile.profileName, u"Ben"_s);
    EXPECT_EQ(app.ui.requesters().shown().back().kind, ui::RequesterKind::Message);

    // Deleting asks; No keeps the profile, Yes keeps its file aside.
    app.ui.requesters().answerNext(ui::Answer::cancel());
    chooseMenu(MenuDeleteProfile);
    EXPECT_EQ(app.profile.profileName, u"Ben"_s);
    EXPECT_EQ(app.ui.requesters().shown().back().text, u"Soll das Profil Ben gelöscht werden?"_s);
    app.ui.requesters().answerNext(ui::Answer::accept(u"Anna.rkpr"_s));
    chooseMenu(MenuChooseProfile);
    app.ui.requesters().answerNext(ui::Answer::accept());
    chooseMenu(MenuDeleteProfile);
    EXPECT_EQ(app.profile.profileName, QString());
    EXPECT_TRUE(app.learner.profile().empty());
    EXPECT_EQ(window().text(ProfileField), QString());
    EXPECT_FALSE(QFile::exists(profilePath(u"Anna"_s)));
    EXPECT_TRUE(QFile::exists(profilePath(u"Anna"_s) + u".deleted"_s));
}

TEST_F(Learning, DamagedProfileFileIsKeptBeforeTheFirstSave) {
    createProfile(u"Lerner"_s);
    const auto whole = readWholeFile(profilePath(u"Lerner"_s));
    ASSERT_TRUE(whole.has_value());
    // Cut in the middle of the fourth record, as a full disk of an older program might have.
    const QByteArray cut = whole->left(4 + 350);
    writeFile(u"Media/JLPT/Alt.rkpr"_s, cut);
    app.ui.requesters().answerNext(ui::Answer::accept(u"Alt.rkpr"_s));
    chooseMenu(MenuChooseProfile);
    EXPECT_TRUE(app.profile.fileDamaged);
    EXPECT_EQ(app.learner.profile().size(), 5);

    finish();
    EXPECT_EQ(readFile(u"Media/JLPT/Alt.rkpr.bak"_s), cut);
    EXPECT_EQ(profileOnDisk(u"Alt"_s).size(), 5u);
}

TEST_F(Learning, UnsavableProfileIsReportedByName) {
    createProfile(u"Lerner"_s);
    ASSERT_TRUE(QFile::remove(profilePath(u"Lerner"_s)));
    ASSERT_TRUE(QDir().mkdir(profilePath(u"Lerner"_s)));
    EXPECT_FALSE(saveProfile(app));
    const auto& shown = app.ui.requesters().shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().kind, ui::RequesterKind::Message);
    EXPECT_TRUE(shown.back().text.contains(profilePath(u"Lerner"_s)))
        << shown.back().text.toStdString();
    EXPECT_EQ(app.learner.profile().size(), 5);
}

TEST_F(Learning, SelectionScopeAsksTheChosenRowsInTheirOrder) {
    createProfile(u"Lerner"_s);
    choosePage(ViewMode::Training);
    tick(OrderIndex);
    tick(ScopeSelection);
    // In the dialog: every row, then OK.
    const auto clickOn = [](const QString& caption) {
        return [caption](QWidget* dialog) {
            for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                if (button->text() == caption) {
                    button->click();
                }
            }
        };
    };
    playDialog(SelectionWindowId, u"Trainingsauswahl "_s, {clickOn(u"Alle"_s), clickOn(u"OK"_s)},
               [&] { click(StartButton); });
    EXPECT_EQ(questionCodes(), (std::vector<qint32>{0x65E5, 0x6708, 0x6728, 0x6C34, 0x706B}));
    EXPECT_EQ(app.training.trainingPos, 0);
}

// A new set's blank record after the five kanji: never a question, whatever the scope.
class SkewedProfile : public Learning {
protected:
    void SetUp() override {
        std::vector<KanjiRecord> records = fiveKanji();
        KanjiRecord blank;
        blank.Idx1 = 6;
        records.push_back(blank);
        writeSet(u"JLPT"_s, records);
        writePreferences(u"JLPT"_s);
        app.ui.setRandomSeed([] { return 7u; });
        app.ui.setLocalNow(
            [] { return QDateTime(QDate(2026, 12, 7), QTime(10, 0), Qt::LocalTime); });
        start();
    }

    const ProfileRecord& record(qint32 code) {
        EXPECT_TRUE(findProfileRecord(app.learner.profile(), code));
        static const ProfileRecord none;
        const ProfileRecord* found = app.learner.profile().currentRecord();
        return found != nullptr ? *found : none;
    }

    void clickTrainingRow(int row) {
        auto* list = control<ui::ReportList>(StatisticsList);
        clickAt(list->viewport(), list->visualItemRect(list->topLevelItem(row)).center());
        pass();
    }
};

TEST_F(SkewedProfile, OnlyAnswersGivenToTextsHeldReachTheProfile) {
    constexpr qint32 Sun = 0x65E5, Moon = 0x6708, Fire = 0x706B, Water = 0x6C34, Tree = 0x6728;
    ASSERT_EQ(app.kanjiSet.size(), 6);
    createProfile(u"Lerner"_s);
    choosePage(ViewMode::Training);
    tick(OrderIndex);

    // Only "Übersetzung" asked: kanji without a meaning, and the blank record, are no questions.
    tick(AskOnBox);
    tick(AskMeaningBox);
    click(StartButton);
    EXPECT_EQ(questionCodes(), (std::vector<qint32>{Sun, Moon, Fire}));
    type(AnswerMeaning, u"Sonne"_s);

    // Away to the card and back: the run asks what it asked, with what was typed, where it was.
    choosePage(ViewMode::Overview);
    choosePage(ViewMode::Training);
    EXPECT_FALSE(window().isChecked(AskOnBox));
    EXPECT_TRUE(window().isChecked(AskMeaningBox));
    EXPECT_FALSE(window().isVisible(AnswerOn));
    EXPECT_EQ(window().text(AnswerMeaning), u"Sonne"_s);
    EXPECT_EQ(window().top()->focusWidget(), control<QLineEdit>(AnswerMeaning));
    chooseMenu(MenuKeyF2);
    EXPECT_EQ(record(Sun).KindMeaning.Right, 1);
    EXPECT_EQ(record(Sun).KindOn, AnswerStats{});
    click(TrainingEndButton);

    // The blank record's profile record is the worst answered of all, and still not asked.
    tick(AskOnBox);
    tick(ScopeWorst);
    setSpin(RangeEnd, 6);
    click(StartButton);
    std::vector<qint32> worst = questionCodes();
    std::sort(worst.begin(), worst.end());
    EXPECT_EQ(worst, (std::vector<qint32>{Sun, Moon, Tree, Water, Fire}));
    click(TrainingEndButton);

    // A range spin changed below the other bound moves that bound and stays enabled.
    tick(ScopeRange);
    setSpin(RangeStart, 3);
    setSpin(RangeEnd, 2);
    EXPECT_EQ(window().spinValue(RangeStart), 2);
    EXPECT_EQ(window().spinValue(RangeEnd), 2);
    EXPECT_TRUE(window().isEnabled(RangeEnd));
    EXPECT_TRUE(window().isEnabled(RangeStart));
    setSpin(RangeEnd, 6);
    setSpin(RangeStart, 3);

    // On and meaning asked from 3 to the blank record: water and tree hold no meaning, so that
    // field takes no answer there and nothing is recorded for it.
    click(StartButton);
    EXPECT_EQ(questionCodes(), (std::vector<qint32>{Fire, Water, Tree}));
    EXPECT_TRUE(window().isEnabled(AnswerMeaning));
    type(AnswerOn, u"kin"_s);
    type(AnswerMeaning, u"Feuer"_s);
    chooseMenu(MenuKeyF2);
    chooseMenu(MenuKeyF2);
    ASSERT_EQ(app.kanjiSet.currentRecord()->Unicode, Water);
    EXPECT_TRUE(window().isVisible(AnswerMeaning));
    EXPECT_FALSE(window().isEnabled(AnswerMeaning));
    EXPECT_TRUE(window().isEnabled(AnswerOn));
    EXPECT_EQ(window().top()->focusWidget(), control<QLineEdit>(AnswerOn));
    type(AnswerOn, u"sui"_s);
    chooseMenu(MenuKeyF2);
    EXPECT_FALSE(window().isVisible(MarkMeaning));
    EXPECT_EQ(record(Water).KindMeaning, AnswerStats{});
    EXPECT_EQ(record(Water).KindOn.Right, 1);
    // Two right of three graded, not of the four kinds two questions would ask.
    EXPECT_EQ(window().statusText(3), u"  +: 2     -: 1              (66 %)"_s);
    click(TrainingEndButton);

    // A row of a kanji the set no longer holds keeps the card's kanji.
    choosePage(ViewMode::Overview);
    enterNumber(4);
    ASSERT_EQ(window().text(UnicodeField), QString::number(Water));
    app.ui.requesters().answerNext(ui::Answer::accept());
    chooseMenu(MenuDeleteKanji);
    const QString shown = window().text(UnicodeField);
    ASSERT_NE(shown, QString::number(Water));
    clickTrainingRow(1);
    EXPECT_EQ(app.viewMode, ViewMode::Overview);
    EXPECT_EQ(window().text(UnicodeField), shown);
    EXPECT_EQ(window().statusText(2), u"水 ist nicht im Set"_s);
    clickTrainingRow(0);
    EXPECT_EQ(window().text(UnicodeField), QString::number(Fire));

    // "Profil löschen" puts the profile aside; its name given again brings it back on Yes.
    app.ui.requesters().answerNext(ui::Answer::accept());
    chooseMenu(MenuDeleteProfile);
    EXPECT_EQ(app.profile.profileName, QString());
    EXPECT_FALSE(QFile::exists(profilePath(u"Lerner"_s)));
    app.ui.requesters().answerNext(ui::Answer::accept(u"Lerner"_s));
    app.ui.requesters().answerNext(ui::Answer::accept());
    chooseMenu(MenuCreateProfile);
    EXPECT_EQ(app.ui.requesters().shown().back().text,
              u"Das Profil Lerner wurde gelöscht. Wiederherstellen? Bei Nein wird es durch ein "
              u"neues, leeres Profil ersetzt."_s);
    EXPECT_EQ(app.profile.profileName, u"Lerner"_s);
    EXPECT_EQ(window().text(ProfileField), u"Lerner"_s);
    EXPECT_EQ(record(Sun).KindMeaning.Right, 1);
    EXPECT_EQ(record(Fire).KindMeaning.Right, 1);
    EXPECT_EQ(record(Fire).KindOn.Wrong, 1);
    EXPECT_FALSE(QFile::exists(profilePath(u"Lerner"_s) + u".deleted"_s));

    // On No the fresh profile replaces the one put aside.
    app.ui.requesters().answerNext(ui::Answer::accept());
    chooseMenu(MenuDeleteProfile);
    app.ui.requesters().answerNext(ui::Answer::accept(u"Lerner"_s));
    app.ui.requesters().answerNext(ui::Answer::cancel());
    chooseMenu(MenuCreateProfile);
    EXPECT_EQ(app.profile.profileName, u"Lerner"_s);
    EXPECT_EQ(record(Sun).KindMeaning, AnswerStats{});
    EXPECT_FALSE(QFile::exists(profilePath(u"Lerner"_s) + u".deleted"_s));
    for (const ProfileRecord& saved : profileOnDisk(u"Lerner"_s)) {
        EXPECT_EQ(saved.KindOn, AnswerStats{}) << saved.Code;
    }
}
