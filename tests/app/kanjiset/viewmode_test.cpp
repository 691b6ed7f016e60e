// Scenario tests of the view modes: page switches, entering and leaving the editing mode, and
// ending the program while editing.
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/listsids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/trainingids.h"
#include "core/kanjiset/setfile.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>

using namespace Qt::StringLiterals;

namespace {

constexpr int NavigationControls[] = {FirstButton, PreviousButton, NextButton, LastButton,
                                      NumberSpin};

std::vector<KanjiRecord> fourKanji() {
    return {makeKanji(1, 0x65E5, u"ニチ"_s, 4), makeKanji(2, 0x6708, u"ゲツ"_s, 4),
            makeKanji(3, 0x706B, u"カ"_s, 4), makeKanji(4, 0x6C34, u"スイ"_s, 4)};
}

}  // namespace

class ViewModes : public AppFixture {
protected:
    void SetUp() override {
        writeSet(u"Modi"_s, fourKanji());
        writePreferences(u"Modi"_s);
        start();
    }

    void expectBrowsing(ViewMode mode) {
        EXPECT_EQ(app.viewMode, mode);
        EXPECT_EQ(window().isVisible(EditButton), mode == ViewMode::Overview);
        EXPECT_EQ(window().text(EditButton), u"Kanji editieren"_s);
        for (int id : NavigationControls) {
            EXPECT_TRUE(window().isEnabled(id)) << "control " << id;
        }
        EXPECT_TRUE(window().isEnabled(EndButton));
    }

    void expectEditing() {
        EXPECT_EQ(app.viewMode, ViewMode::Editing);
        EXPECT_TRUE(window().isVisible(EditButton));
        EXPECT_EQ(window().text(EditButton), u"Edit Beenden"_s);
        for (int id : NavigationControls) {
            EXPECT_FALSE(window().isEnabled(id)) << "control " << id;
        }
        EXPECT_FALSE(window().isEnabled(EndButton));
        EXPECT_EQ(control<ui::TabPanel>(Panel)->currentPage(), pageIndex(ViewMode::Overview));
    }

    void pressF2() {
        for (QShortcut* shortcut : window().top()->findChildren<QShortcut*>()) {
            if (shortcut->key() == QKeySequence(Qt::Key_F2)) {
                emit shortcut->activated();
                pass();
                return;
            }
        }
        ADD_FAILURE() << "no F2 shortcut";
    }

    // What the user types on the card while editing.
    void type(int id, const QString& text) {
        if (auto* field = window().get<QLineEdit>(id)) {
            field->setText(text);
        } else if (auto* editor = window().get<QPlainTextEdit>(id)) {
            editor->setPlainText(text);
        } else {
            ADD_FAILURE() << "control " << id << " takes no typing";
        }
    }
};

TEST_F(ViewModes, PageSwitchesHideAndShowTheEditButton) {
    expectBrowsing(ViewMode::Overview);
    choosePage(ViewMode::Training);
    expectBrowsing(ViewMode::Training);
    choosePage(ViewMode::Lists);
    expectBrowsing(ViewMode::Lists);
    choosePage(ViewMode::Overview);
    expectBrowsing(ViewMode::Overview);
}

TEST_F(ViewModes, EditButtonEntersEditingAndLeavingCommitsAndResorts) {
    click(NextButton);
    ASSERT_EQ(app.kanjiSet.current, 1);
    click(EditButton);
    expectEditing();
    // Disabled navigation does not react to the user.
    click(NextButton);
    EXPECT_EQ(app.kanjiSet.current, 1);

    type(IndexField, u"9"_s);
    type(JlptField, u"$2"_s);
    type(OnEditor, u"ガツ"_s);
    type(KunEditor, u"つき"_s);
    type(NoteEditor, u"Mond\nMonat"_s);
    type(ExampleField3, u"月曜日"_s);
    click(EditButton);

    expectBrowsing(ViewMode::Overview);
    // The edited kanji moved behind the others and is still the one shown.
    ASSERT_EQ(app.kanjiSet.current, 3);
    const KanjiRecord& edited = app.kanjiSet.records[3];
    EXPECT_EQ(edited.Unicode, 0x6708);
    EXPECT_EQ(edited.Idx1, 9);
    EXPECT_EQ(edited.Idx2, 2);
    EXPECT_EQ(edited.OnYomi, u"ガツ"_s);
    EXPECT_EQ(edited.KunYomi, u"つき"_s);
    EXPECT_EQ(edited.Bemerkung, u"Mond\nMonat"_s);
    EXPECT_EQ(edited.Beispiel[2], u"月曜日"_s);
    EXPECT_EQ(app.kanjiSet.records[1].Unicode, 0x706B);
    EXPECT_EQ(window().text(IndexField), u"9"_s);
    EXPECT_EQ(window().spinValue(NumberSpin), 4);
}

TEST_F(ViewModes, EditMenuEntryFromTheListsPageShowsTheCard) {
    choosePage(ViewMode::Lists);
    chooseMenu(MenuEditKanji);
    expectEditing();

    // Choosing another page ends editing with a commit as well.
    type(OnEditor, u"geändert"_s);
    choosePage(ViewMode::Training);
    expectBrowsing(ViewMode::Training);
    EXPECT_EQ(app.kanjiSet.records[0].OnYomi, u"geändert"_s);
}

TEST_F(ViewModes, CardTakesKeysOnlyWhileEditing) {
    const auto pressKeys = [this](int id, const QString& letters) {
        ::pressKeys(window().control(id), letters);
    };
    for (int id : {IndexField, OnEditor, NoteEditor, ExampleField2}) {
        pressKeys(id, u"x"_s);
        EXPECT_TRUE(window().isReadOnly(id)) << "control " << id;
    }
    EXPECT_EQ(window().text(OnEditor), u"ニチ"_s);
    EXPECT_EQ(window().text(IndexField), u"1"_s);
    EXPECT_EQ(window().text(ExampleField2), QString());

    click(EditButton);
    pressKeys(OnEditor, u"x"_s);
    pressKeys(ExampleField2, u"ab"_s);
    // Each key typed into a text field is an event of its own for the loop.
    settle();
    click(EditButton);
    EXPECT_EQ(app.kanjiSet.records[0].OnYomi, u"xニチ"_s);
    EXPECT_EQ(app.kanjiSet.records[0].Beispiel[1], u"ab"_s);
    EXPECT_TRUE(window().isReadOnly(OnEditor));
    // The code of the kanji changes only by clicking its picture.
    EXPECT_TRUE(window().isReadOnly(UnicodeField));
}

TEST_F(ViewModes, KeyF2OutsideTrainingDoesNothing) {
    click(NextButton);
    for (ViewMode mode : {ViewMode::Overview, ViewMode::Lists}) {
        choosePage(mode);
        // Answers waiting to be checked are only checked on the training page.
        app.training.checkState = CheckState::Answering;
        app.training.trainingPos = 0;
        ASSERT_NE(app.loop.lastEventControl, -1);
        pressF2();
        // The key arrived as a menu command, which no control matches afterwards.
        EXPECT_EQ(app.loop.lastEventControl, -1);
        EXPECT_EQ(app.viewMode, mode);
        EXPECT_EQ(app.training.checkState, CheckState::Answering);
        EXPECT_EQ(app.training.trainingPos, 0);
        EXPECT_EQ(app.kanjiSet.current, 1);
        EXPECT_EQ(window().text(OnEditor), u"ゲツ"_s);
    }
}

TEST_F(ViewModes, ControlsKeepTheirPlacesWhenTheWindowIsResized) {
    // Client-area rectangles: page controls lie 10 right of and 32 below their page position.
    const std::pair<int, QRect> places[] = {
        {Panel, {5, 5, 800, 655}},           {KanjiView, {50, 82, 160, 160}},
        {NumberSpin, {270, 620, 70, 30}},    {CanvasImage, {300, 82, 160, 160}},
        {GridArea, {30, 55, 670, 600}},      {EditButton, {880, 450, 100, 30}},
        {EndButton, {920, 630, 70, 30}},     {StatisticsList, {815, 50, 165, 350}},
        {ExampleField4, {490, 392, 290, 30}}};
    const auto expectPlaces = [&] {
        for (const auto& [id, rect] : places) {
            const QWidget* widget = window().control(id);
            ASSERT_NE(widget, nullptr) << "control " << id;
            EXPECT_EQ(QRect(widget->mapTo(window().client(), QPoint(0, 0)), widget->size()), rect)
                << "control " << id;
        }
    };
    expectPlaces();
    EXPECT_EQ(window().client()->size(), QSize(1000, 702));
    window().top()->resize(1300, 950);
    pass();
    expectPlaces();
    window().top()->resize(600, 400);
    pass();
    expectPlaces();
}

// How the user ends the program: the close box or "Beenden" (the end button is disabled).
class EndWhileEditing : public ViewModes, public testing::WithParamInterface<bool> {};

TEST_P(EndWhileEditing, CommitsWhatWasTypedBeforeSaving) {
    const bool closeBox = GetParam();
    click(EditButton);
    type(NoteEditor, u"getippt"_s);
    type(IndexField, u"7"_s);

    if (closeBox) {
        window().top()->close();
        EXPECT_FALSE(pass());
    } else {
        chooseMenu(MenuQuit);
        EXPECT_TRUE(app.loop.endRequested);
    }
    EXPECT_EQ(app.viewMode, ViewMode::Overview);
    finish();

    const std::optional<QByteArray> saved = readFile(u"Media/Modi.rki"_s);
    ASSERT_TRUE(saved.has_value());
    const auto records = parseSetFile(*saved);
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 4u);
    EXPECT_EQ(records->back().Unicode, 0x65E5);
    EXPECT_EQ(records->back().Idx1, 7);
    EXPECT_EQ(records->back().Bemerkung, u"getippt"_s);
}

INSTANTIATE_TEST_SUITE_P(Ways, EndWhileEditing, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "CloseBox" : "QuitEntry");
                         });
