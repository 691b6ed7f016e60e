// Scenario tests of the card of the current kanji: navigation, the card's fields, Genshi rows,
// the grid of the lists page and an empty set.
#include "app/kanjiset/cardview.h"
#include "app/kanjiset/setcommands.h"
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/listsids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/training/profilecounters.h"
#include "ui/clipboard.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace {

// Six kanji whose every shown field differs, stored out of order.
std::vector<KanjiRecord> sixKanji() {
    std::vector<KanjiRecord> records;
    const char16_t codes[] = {0x4E00, 0x4E8C, 0x4E09, 0x56DB, 0x4E94, 0x516D};
    for (int i = 5; i >= 0; --i) {
        KanjiRecord record = makeKanji(10 * (i + 1), codes[i], u"on%1"_s.arg(i), 4 - i % 4);
        record.KunYomi = u"kun%1"_s.arg(i);
        record.Bemerkung = u"Merksatz %1\nZeile 2"_s.arg(i);
        for (int e = 0; e < 4; ++e) {
            record.Beispiel[static_cast<size_t>(e)] = u"Beispiel %1.%2"_s.arg(i).arg(e + 1);
            record.SoundFile[static_cast<size_t>(e)] = u"s%1.wav"_s.arg(e);
        }
        records.push_back(record);
    }
    return records;
}

std::vector<GenshiEntry> genshiEntries(int count) {
    std::vector<GenshiEntry> entries;
    for (int i = 0; i < count; ++i) {
        GenshiEntry entry;
        entry.Nr = i + 1;
        entry.Genshi = QString(QChar(0x2F00 + i));
        entry.Bedeutung = u"Bedeutung %1"_s.arg(i);
        entries.push_back(entry);
    }
    return entries;
}

}  // namespace

class CardView : public AppFixture {
protected:
    void startWith(const std::vector<KanjiRecord>& records) {
        writeSet(u"Karten"_s, records);
        writePreferences(u"Karten"_s);
        start();
    }

    // Everything the card shows of the kanji at index of the sorted set.
    void expectCardShows(int index) {
        ASSERT_GE(index, 0);
        ASSERT_LT(index, app.kanjiSet.size());
        const KanjiRecord& record = app.kanjiSet.records[static_cast<size_t>(index)];
        const ui::Window& w = window();
        EXPECT_EQ(app.kanjiSet.current, index);
        EXPECT_EQ(w.text(IndexField), QString::number(record.Idx1));
        EXPECT_EQ(w.text(JlptField), QString::number(record.Idx2));
        EXPECT_EQ(w.text(UnicodeField), QString::number(record.Unicode));
        EXPECT_EQ(w.text(OnEditor), record.OnYomi);
        EXPECT_EQ(w.text(KunEditor), record.KunYomi);
        EXPECT_EQ(w.text(NoteEditor), record.Bemerkung);
        for (int e = 0; e < 4; ++e) {
            EXPECT_EQ(w.text(ExampleField1 + e), record.Beispiel[static_cast<size_t>(e)]);
            // Nothing to play: the set's folder holds none of the files named, and the examples
            // give no reading to speak.
            EXPECT_FALSE(w.isEnabled(SoundButton1 + e));
        }
        EXPECT_EQ(w.spinValue(NumberSpin), index + 1);
        EXPECT_EQ(w.statusText(1), u"Akt. Kanji: "_s + QString::number(index + 1));
        const QImage* drawn = app.pictures.drawnKanji(record.Unicode);
        ASSERT_NE(drawn, nullptr);
        EXPECT_EQ(control<ui::ImageView>(KanjiView)->image(), *drawn);
    }
};

TEST_F(CardView, NavigationButtonsAndNumberSpinMoveThroughTheSet) {
    startWith(sixKanji());
    expectCardShows(0);

    click(NextButton);
    expectCardShows(1);
    click(LastButton);
    expectCardShows(5);
    click(NextButton);
    expectCardShows(5);
    click(PreviousButton);
    expectCardShows(4);
    click(FirstButton);
    expectCardShows(0);
    click(PreviousButton);
    expectCardShows(0);

    enterNumber(5);
    expectCardShows(4);
    // The spin reaches kanji before the current one as well.
    enterNumber(2);
    expectCardShows(1);
    enterNumber(6);
    expectCardShows(5);
}

// However many kanji the card has shown, only the one it shows holds its picture and strip, and a
// kanji shown again looks as before.
TEST_F(CardView, OnlyTheKanjiShownHoldsItsPictures) {
    std::vector<KanjiRecord> records = sixKanji();
    for (KanjiRecord& record : records) {
        record.Anim = writeStrip(u"Karten"_s, record.Unicode, {Qt::red, Qt::green});
    }
    startWith(records);
    const QImage first = control<ui::ImageView>(KanjiView)->image();
    const auto picturesHeld = [this] { return app.pictures.size(); };
    EXPECT_EQ(picturesHeld(), 2);

    for (int i = 0; i < 5; ++i) {
        click(NextButton);
        EXPECT_EQ(picturesHeld(), 2);
    }
    click(FirstButton);
    enterNumber(4);
    click(LastButton);
    EXPECT_EQ(picturesHeld(), 2);
    const KanjiRecord& last = app.kanjiSet.records[5];
    EXPECT_NE(app.pictures.drawnKanji(last.Unicode), nullptr);
    EXPECT_NE(app.pictures.strip(last.Unicode, strokeStripPath(app, last)), nullptr);

    click(FirstButton);
    expectCardShows(0);
    EXPECT_EQ(control<ui::ImageView>(KanjiView)->image(), first);
    EXPECT_EQ(centreColour(control<ui::ImageView>(StrokeView)->image()), QColor(Qt::red));
}

TEST_F(CardView, StepStopsAtBothEndsAndFindByCodeKeepsTheKanjiWhenAbsent) {
    startWith(sixKanji());

    showKanji(app, 4);
    EXPECT_EQ(stepKanji(app, 3), 5);
    expectCardShows(5);
    showKanji(app, 1);
    EXPECT_EQ(stepKanji(app, -3), 0);
    expectCardShows(0);
    // An index outside the set keeps the kanji shown.
    showKanji(app, 2);
    EXPECT_EQ(showKanji(app, 6), 2);
    EXPECT_EQ(showKanji(app, -1), 2);

    EXPECT_TRUE(findKanjiByCode(app, 0x4E09));
    EXPECT_EQ(app.kanjiSet.current, 2);
    // A code the set does not hold is not answered by another kanji.
    showKanji(app, 4);
    EXPECT_FALSE(findKanjiByCode(app, 0x9999));
    EXPECT_EQ(app.kanjiSet.current, 4);
}

TEST_F(CardView, KanjiWithoutCharacterShowsNoPictureAndHasAHiddenGridCell) {
    std::vector<KanjiRecord> records = sixKanji();
    records[2].Unicode = 0;
    startWith(records);
    // Sorted by Idx1 the records come in reverse order of the vector.
    const int blank = 3;
    ASSERT_EQ(app.kanjiSet.records[blank].Unicode, 0);

    EXPECT_FALSE(control<ui::ImageView>(KanjiView)->image().isNull());
    enterNumber(blank + 1);
    EXPECT_EQ(app.kanjiSet.current, blank);
    EXPECT_TRUE(control<ui::ImageView>(KanjiView)->image().isNull());
    EXPECT_EQ(window().text(UnicodeField), QString());
    EXPECT_EQ(window().text(OnEditor), app.kanjiSet.records[blank].OnYomi);
    EXPECT_EQ(window().statusText(1), u"Akt. Kanji: 4"_s);

    const auto* grid = control<ui::ImageGrid>(GridCells);
    EXPECT_TRUE(grid->isCellHidden(blank));
    EXPECT_FALSE(grid->isCellHidden(blank - 1));
}

TEST_F(CardView, GenshiRowsCountTheCommasAndSkipPositionsOutsideTheList) {
    const std::vector<GenshiEntry> entries = genshiEntries(6);
    writeGenshiList(entries);
    std::vector<KanjiRecord> records = sixKanji();
    // Sorted by Idx1 the records come in reverse order of the vector.
    records[5].Genshi = u"3,5,"_s;
    records[4].Genshi = u"3,5"_s;
    records[3].Genshi = u"6,1,99,-1,"_s;
    records[2].Genshi = u""_s;
    startWith(records);
    ASSERT_EQ(app.genshiList.size(), entries.size());
    const auto* list = control<ui::ReportList>(GenshiListView);
    const auto row = [&](int position) {
        return entries[static_cast<size_t>(position)].Genshi + u"  -  "_s +
               entries[static_cast<size_t>(position)].Bedeutung;
    };

    ASSERT_EQ(list->rowCount(), 2);
    EXPECT_EQ(list->cellText(0, 0), row(3));
    EXPECT_EQ(list->cellText(1, 0), row(5));

    click(NextButton);
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->cellText(0, 0), row(3));

    click(NextButton);
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->cellText(0, 0), row(1));

    click(NextButton);
    EXPECT_EQ(list->rowCount(), 0);
}

TEST(CardStatus, ProfileCountersFieldFormat) {
    AnswerStats stats;
    stats.Right = 3;
    stats.Partly = 1;
    stats.Wrong = 2;
    stats.Quota = 60;
    stats.Series = 2;
    const QString series = builtInTexts().text(MessageText::Series);
    EXPECT_EQ(profileStatusText(u"Kanji"_s, series, stats), u"Kanji:  3-1-2  (60)%   Serie: 2"_s);
    stats = {};
    stats.Right = 12;
    stats.Wrong = -1;
    stats.Quota = 100;
    EXPECT_EQ(profileStatusText(u"ON Yomi"_s, series, stats),
              u"ON Yomi:  12-0--1  (100)%   Serie: 0"_s);
}

TEST_F(CardView, GridHoldsOneRowMoreThanFullRowsAndReactsOnlyToKanjiCells) {
    std::vector<KanjiRecord> records = sixKanji();
    records.push_back(makeKanji(70, 0x4E03));
    startWith(records);
    auto* grid = control<ui::ImageGrid>(GridCells);
    ASSERT_EQ(app.kanjiSet.size(), 7);
    EXPECT_EQ(grid->height(), 2 * 160);
    EXPECT_EQ(grid->width(), 640);
    EXPECT_EQ(grid->cellCount(), 7);

    choosePage(ViewMode::Lists);
    ASSERT_EQ(app.viewMode, ViewMode::Lists);
    // Cell 7 exists in the grid's last row but holds no kanji.
    clickAt(grid, grid->cellRect(7).center(), Qt::LeftButton);
    pass();
    EXPECT_EQ(app.viewMode, ViewMode::Lists);
    EXPECT_EQ(app.kanjiSet.current, 0);
    clickAt(grid, grid->cellRect(7).center(), Qt::RightButton);
    pass();
    EXPECT_FALSE(app.gridContextMenu->isVisible());

    clickAt(grid, grid->cellRect(6).center(), Qt::RightButton);
    pass();
    EXPECT_TRUE(app.gridContextMenu->isVisible());
    app.gridContextMenu->hide();
    EXPECT_EQ(app.viewMode, ViewMode::Lists);

    clickAt(grid, grid->cellRect(5).center(), Qt::LeftButton);
    pass();
    EXPECT_EQ(app.viewMode, ViewMode::Overview);
    EXPECT_EQ(control<ui::TabPanel>(Panel)->currentPage(), pageIndex(ViewMode::Overview));
    expectCardShows(5);

    // A set of exactly eight kanji still gets a further, empty row.
    records.push_back(makeKanji(80, 0x516B));
    writeSet(u"Acht"_s, records);
    app.ui.requesters().answerNext(ui::Answer::accept(setPath(u"Acht"_s)));
    chooseMenu(MenuLoadSet);
    EXPECT_EQ(app.kanjiSet.size(), 8);
    EXPECT_EQ(grid->height(), 3 * 160);
    EXPECT_EQ(grid->cellCount(), 8);
}

TEST_F(CardView, GridFollowsTheSetWhenARefreshReordersOrGrowsIt) {
    startWith(sixKanji());
    auto* grid = control<ui::ImageGrid>(GridCells);
    const auto cellPicture = [grid](int cell) {
        return grid->grab(grid->cellRect(cell)).toImage();
    };
    const QImage firstBefore = cellPicture(0);
    const QImage secondBefore = cellPicture(1);
    ASSERT_NE(firstBefore, secondBefore);

    // The first kanji gets the highest index and moves to the end of the set.
    click(EditButton);
    control<QLineEdit>(IndexField)->setText(u"99"_s);
    click(EditButton);
    ASSERT_EQ(app.kanjiSet.records[5].Unicode, 0x4E00);
    EXPECT_EQ(cellPicture(0), secondBefore);
    EXPECT_EQ(cellPicture(5), firstBefore);

    // Kanji added the way editing and the import add them get their cells.
    app.kanjiSet.records.push_back(makeKanji(100, 0x4E03));
    refreshSet(app);
    EXPECT_EQ(grid->cellCount(), 7);
    EXPECT_EQ(grid->height(), 2 * 160);
    clickAt(grid, grid->cellRect(6).center());
    pass();
    EXPECT_EQ(app.kanjiSet.current, 6);
}

TEST_F(CardView, EmptySetKeepsEveryCommandSafe) {
    app.ui.requesters().answerNext(ui::Answer::cancel());
    start();
    ASSERT_EQ(app.kanjiSet.size(), 0);
    ui::setClipboardText(u"vorher"_s);

    for (int button : {FirstButton, PreviousButton, NextButton, LastButton, CopyButton,
                       AnimPlayButton, AnimPauseButton, AnimStopButton}) {
        click(button);
    }
    enterNumber(3);
    auto* grid = control<ui::ImageGrid>(GridCells);
    EXPECT_EQ(grid->cellCount(), 0);
    EXPECT_EQ(grid->height(), 160);
    clickAt(grid, grid->cellRect(0).center(), Qt::LeftButton);
    pass();
    clickAt(grid, grid->cellRect(0).center(), Qt::RightButton);
    pass();
    click(EditButton);
    EXPECT_EQ(app.viewMode, ViewMode::Editing);
    click(EditButton);
    chooseMenu(MenuSaveSet);
    chooseMenu(MenuKeyF2);

    EXPECT_EQ(app.viewMode, ViewMode::Overview);
    EXPECT_EQ(app.kanjiSet.size(), 0);
    EXPECT_EQ(app.kanjiSet.current, -1);
    EXPECT_EQ(app.animation.animState, AnimState::Idle);
    EXPECT_FALSE(app.gridContextMenu->isVisible());
    EXPECT_EQ(ui::clipboardText(), u"vorher"_s);
    EXPECT_EQ(window().text(IndexField), QString());
    EXPECT_EQ(window().text(UnicodeField), QString());
    EXPECT_TRUE(control<ui::ImageView>(KanjiView)->image().isNull());
    EXPECT_EQ(window().statusText(0), u"Kanji: 0"_s);
    EXPECT_TRUE(pass());
    // Only the cancelled set requester was shown: nothing to save, nothing to report.
    EXPECT_EQ(app.ui.requesters().shown().size(), 1u);
}

// A long example is shown from its start, the whole of it in the field's tooltip, also when the
// card comes back to it.
TEST_F(CardView, ALongExampleShowsItsBeginningAndTheWholeAsTooltip) {
    std::vector<KanjiRecord> records = sixKanji();
    const QString longExample =
        u"一本 (いっぽん) eine Flasche, eine Flasche Sake, ein langes, schmales Objekt, ein Exemplar"_s;
    records[5].Beispiel[0] = longExample;  // 一, shown first
    startWith(records);
    auto* field = control<QLineEdit>(ExampleField1);
    ASSERT_GT(field->fontMetrics().horizontalAdvance(longExample), field->width());
    EXPECT_EQ(field->text(), longExample);
    EXPECT_EQ(field->cursorPosition(), 0);
    EXPECT_EQ(field->toolTip(), longExample);

    click(NextButton);
    EXPECT_EQ(field->toolTip(), u"Beispiel 1.1"_s);
    click(PreviousButton);
    EXPECT_EQ(field->cursorPosition(), 0);
    EXPECT_EQ(field->toolTip(), longExample);
    const QString folder = QStringLiteral(RENKARI_BINARY_DIR "/screenshots/");
    QDir().mkpath(folder);
    EXPECT_TRUE(window().top()->grab().save(folder + u"card-long-example.png"_s));
}
