// Scenario tests of editing the set on the main window: new sets, new kanji, deleting (also in
// the middle of a training), the character, the stroke-order picture and the Genshi window.
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/trainingids.h"
#include "core/kanjiset/setfile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

std::vector<KanjiRecord> threeKanji() {
    KanjiRecord sun = makeKanji(12, 0x65E5, u"NICHI"_s, 4);
    sun.Genshi = u"5,2,"_s;
    return {makeKanji(3, 0x6708, u"GETSU"_s, 4), sun, makeKanji(20, 0x706B, u"KA"_s, 3)};
}

}  // namespace

class Editing : public AppFixture {
protected:
    void SetUp() override {
        writeSet(u"Alt"_s, threeKanji());
        writePreferences(u"Alt"_s);
        writeGenshiList(sixGenshi());
        start();
    }

    std::vector<qint32> codes() const {
        std::vector<qint32> result;
        for (const KanjiRecord& record : app.kanjiSet.records) {
            result.push_back(record.Unicode);
        }
        return result;
    }

    void showKanjiWithCode(qint32 code) {
        for (int i = 0; i < app.kanjiSet.size(); ++i) {
            if (app.kanjiSet.records[static_cast<size_t>(i)].Unicode == code) {
                enterNumber(i + 1);
            }
        }
    }
};

TEST_F(Editing, NewSetKeepsTheOpenSetAndRefusesWhatWouldLoseData) {
    app.kanjiSet.records[0].Bemerkung = u"geändert"_s;

    // Cancelled, empty, unusable and an existing name answered No: the open set stays.
    app.ui.requesters().answerNext(ui::Answer::cancel());
    chooseMenu(MenuNewSet);
    app.ui.requesters().answerNext(ui::Answer::accept(QString()));
    chooseMenu(MenuNewSet);
    for (const QString& refused : {u"../Fremd"_s, u"a\\b"_s, u"Was?"_s}) {
        app.ui.requesters().answerNext(ui::Answer::accept(refused));
        chooseMenu(MenuNewSet);
        EXPECT_EQ(app.ui.requesters().shown().back().kind, ui::RequesterKind::Message);
    }
    writeSet(u"Da"_s, {makeKanji(1, 0x4E00)});
    app.ui.requesters().answerNext(ui::Answer::accept(u"Da"_s));
    app.ui.requesters().answerNext(ui::Answer::cancel());
    chooseMenu(MenuNewSet);
    const ui::ShownRequester& question = app.ui.requesters().shown().back();
    EXPECT_EQ(question.text, u"Das Set Da gibt es schon. Ersetzen?"_s);
    EXPECT_EQ(question.preselected, ui::YesNoDefault::No);
    EXPECT_EQ(app.setName, u"Alt"_s);
    EXPECT_EQ(app.kanjiSet.size(), 3);
    EXPECT_TRUE(QFile::exists(setPath(u"Da"_s)));

    app.ui.requesters().answerNext(ui::Answer::accept(u"Neu"_s));
    chooseMenu(MenuNewSet);
    EXPECT_EQ(app.ui.requesters().shown().front().title, u"Neues Set"_s);
    EXPECT_EQ(app.setName, u"Neu"_s);
    EXPECT_EQ(app.kanjiSet.size(), 1);
    EXPECT_EQ(codes(), std::vector<qint32>{0});
    EXPECT_TRUE(QDir(mediaDir() + u"Neu/Anim"_s).exists());
    EXPECT_TRUE(QDir(mediaDir() + u"Neu/Sounds"_s).exists());
    const auto saved = readFile(u"Media/Neu.rki"_s);
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(parseSetFile(*saved)->size(), 1u);
    // The old set was saved with its change before it was replaced.
    const auto old = parseSetFile(*readFile(u"Media/Alt.rki"_s));
    ASSERT_TRUE(old.has_value());
    EXPECT_EQ(old->at(0).Bemerkung, u"geändert"_s);
}

TEST_F(Editing, NewKanjiIsEditedFromTheHeadAndTakesItsWholeFirstCharacter) {
    chooseMenu(MenuNewKanji);
    EXPECT_EQ(app.viewMode, ViewMode::Editing);
    EXPECT_EQ(app.kanjiSet.current, 0);
    EXPECT_EQ(app.kanjiSet.size(), 4);
    EXPECT_EQ(window().text(IndexField), u"4"_s);
    EXPECT_EQ(window().text(OnEditor), QString());

    // Two characters typed: the first counts, also beyond U+FFFF.
    app.ui.requesters().answerNext(ui::Answer::accept(u"𠮟る"_s));
    clickAt(control<ui::ImageView>(KanjiView), QPoint(20, 20));
    pass();
    EXPECT_EQ(app.ui.requesters().shown().back().text, u"Bitte Kanji eingeben"_s);
    EXPECT_EQ(app.kanjiSet.records[0].Unicode, 0x20B9F);
    EXPECT_FALSE(control<ui::ImageView>(KanjiView)->image().isNull());

    control<QLineEdit>(IndexField)->setText(u"25"_s);
    click(EditButton);
    EXPECT_EQ(app.viewMode, ViewMode::Overview);
    // Sorted behind the others and still the one shown.
    EXPECT_EQ(codes(), (std::vector<qint32>{0x6708, 0x65E5, 0x706B, 0x20B9F}));
    EXPECT_EQ(app.kanjiSet.current, 3);
}

TEST_F(Editing, DeletingAsksWithTheKanjisNumberAndReading) {
    showKanjiWithCode(0x65E5);
    app.ui.requesters().answerNext(ui::Answer::cancel());
    chooseMenu(MenuDeleteKanji);
    EXPECT_EQ(app.ui.requesters().shown().back().text,
              u"Soll das Kanji Nr: 12: NICHI gelöscht werden?"_s);
    EXPECT_EQ(app.kanjiSet.size(), 3);

    app.ui.requesters().answerNext(ui::Answer::accept());
    chooseMenu(MenuDeleteKanji);
    EXPECT_EQ(codes(), (std::vector<qint32>{0x6708, 0x706B}));
    // The kanji before the removed one is current.
    EXPECT_EQ(app.kanjiSet.currentRecord()->Unicode, 0x6708);
}

TEST_F(Editing, DeletingAKanjiOfARunningTrainingDropsItsQuestions) {
    choosePage(ViewMode::Training);
    click(OrderIndex);
    click(StartButton);
    ASSERT_EQ(app.training.trainingLast, 2);
    control<QLineEdit>(AnswerOn)->setText(u"getsu"_s);
    click(CheckButton);
    click(NextQuestionButton);
    ASSERT_EQ(app.training.trainingPos, 1);
    ASSERT_EQ(app.kanjiSet.currentRecord()->Unicode, 0x65E5);

    // The question on the page goes: the next one takes its place.
    app.ui.requesters().answerNext(ui::Answer::accept());
    chooseMenu(MenuDeleteKanji);
    EXPECT_EQ(app.training.trainingLast, 1);
    EXPECT_EQ(app.training.trainingPos, 1);
    EXPECT_EQ(app.training.trainingList[1].Code, 0x706B);
    EXPECT_EQ(app.kanjiSet.currentRecord()->Unicode, 0x706B);
    EXPECT_EQ(window().text(ShownOn), u"KA"_s);
    EXPECT_EQ(app.training.checkState, CheckState::Answering);

    // With the last question gone the run ends with its evaluation of what was answered.
    app.ui.requesters().answerNext(ui::Answer::accept());
    chooseMenu(MenuDeleteKanji);
    EXPECT_EQ(app.training.trainingPos, -1);
    EXPECT_EQ(app.ui.requesters().shown().back().title, u"Trainieren - Kurzauswertung"_s);
}

TEST_F(Editing, StrokePictureIsCopiedIntoTheSetsFolderOrTheFailureNamed) {
    const QString picture = writeStrip(u"Quelle"_s, 1, {QColor(255, 0, 0)});
    const QString chosen = mediaDir() + u"Quelle/Anim/"_s + picture;
    chooseMenu(MenuNewKanji);

    // A kanji without character yet: the picture is its 0.png; the missing folder is made.
    app.ui.requesters().answerNext(ui::Answer::accept(chosen));
    clickAt(control<ui::ImageView>(StrokeView), QPoint(20, 20));
    pass();
    EXPECT_EQ(app.kanjiSet.records[0].Anim, u"0.png"_s);
    EXPECT_EQ(readFile(u"Media/Alt/Anim/0.png"_s), readFile(u"Media/Quelle/Anim/"_s + picture));
    EXPECT_EQ(app.paths.lastImageDir, mediaDir() + u"Quelle/Anim/"_s);

    // A target that cannot be written is told by name, and the kanji keeps its picture.
    app.kanjiSet.records[0].Unicode = 0x4E00;
    ASSERT_TRUE(QDir().mkpath(mediaDir() + u"Alt/Anim/19968.png"_s));
    app.ui.requesters().answerNext(ui::Answer::accept(chosen));
    clickAt(control<ui::ImageView>(StrokeView), QPoint(20, 20));
    pass();
    EXPECT_EQ(app.ui.requesters().shown().back().kind, ui::RequesterKind::Message);
    EXPECT_TRUE(app.ui.requesters().shown().back().text.contains(u"Alt/Anim/19968.png"_s));
    EXPECT_EQ(app.kanjiSet.records[0].Anim, u"0.png"_s);
}

TEST_F(Editing, GenshiWindowTakesTheTicksInAscendingOrder) {
    showKanjiWithCode(0x65E5);
    click(EditButton);
    // A click into the card's Genshi list opens the window, where step acts.
    const auto inGenshiWindow = [&](QPoint at, const DialogDriver::Step& step) {
        playDialog(GenshiWindowId, u"Genshiliste"_s, {step}, [&] {
            clickAt(control<ui::ReportList>(GenshiListView)->viewport(), at);
            pass();
        });
    };
    inGenshiWindow(QPoint(5, 5), [](QWidget* genshi) {
        auto* list = genshi->findChild<ui::ReportList*>();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->rowCount(), 6);
        EXPECT_TRUE(list->isRowChecked(2));
        EXPECT_TRUE(list->isRowChecked(5));
        list->setRowChecked(0, true);
        genshi->close();
    });
    EXPECT_EQ(app.kanjiSet.currentRecord()->Genshi, u"0,2,5,"_s);
    EXPECT_EQ(control<ui::ReportList>(GenshiListView)->rowCount(), 3);

    // A position outside the list is kept; OK keeps the ticks as they are.
    app.kanjiSet.currentRecord()->Genshi = u"4,17,"_s;
    inGenshiWindow(QPoint(5, 5), [](QWidget* genshi) {
        for (QPushButton* button : genshi->findChildren<QPushButton*>()) {
            if (button->text() == u"OK"_s) {
                button->click();
            }
        }
    });
    EXPECT_EQ(app.kanjiSet.currentRecord()->Genshi, u"4,17,"_s);

    // A new kanji's list is empty; a click into it opens the window all the same.
    chooseMenu(MenuNewKanji);
    ASSERT_EQ(control<ui::ReportList>(GenshiListView)->rowCount(), 0);
    inGenshiWindow(QPoint(40, 100), [](QWidget* genshi) {
        genshi->findChild<ui::ReportList*>()->setRowChecked(3, true);
        genshi->close();
    });
    EXPECT_EQ(app.kanjiSet.records[0].Genshi, u"3,"_s);
}
