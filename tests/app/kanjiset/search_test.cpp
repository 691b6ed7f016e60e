// Scenario tests of "Suchen": the tool window opened with Ctrl+F, searched by typing, and the
// kanji found shown on the card.
#include "app/kanjiset/searchwindow.h"
#include "app/kanjiset/sketchpad.h"
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "ui/tablelist.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace {

KanjiRecord kanji(qint32 idx1, char32_t code, const char16_t* on, const char16_t* kun,
                  const char16_t* meaning) {
    KanjiRecord record = makeKanji(idx1, static_cast<qint32>(code), QString::fromUtf16(on), 4);
    record.KunYomi = QString::fromUtf16(kun);
    record.Bemerkung = QString::fromUtf16(meaning);
    return record;
}

void pressReturn(QWidget* target) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
    QCoreApplication::sendEvent(target, &release);
}

void doubleClickAt(QWidget* widget, QPoint local) {
    const QPointF position(local);
    const QPointF global(widget->mapToGlobal(local));
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons down =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, position, global, Qt::LeftButton, down, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }
}

// A pen moving through the corners in small steps, as the mouse reports it.
Stroke penThrough(std::initializer_list<StrokePoint> corners) {
    Stroke stroke;
    const StrokePoint* previous = nullptr;
    for (const StrokePoint& corner : corners) {
        if (previous != nullptr) {
            for (int step = 1; step <= 10; ++step) {
                const float t = static_cast<float>(step) / 10;
                stroke.push_back({previous->x + (corner.x - previous->x) * t,
                                  previous->y + (corner.y - previous->y) * t});
            }
        } else {
            stroke.push_back(corner);
        }
        previous = &corner;
    }
    return stroke;
}

}  // namespace

class SearchTest : public AppFixture {
protected:
    void SetUp() override {
        writeSet(u"Suche"_s, {kanji(1, U'日', u"ニチ、ジツ", u"ひ、-び", u"Sonne, Tag; day, sun"),
                              kanji(2, U'木', u"ボク、モク", u"き、こ-", u"Baum; tree, wood"),
                              kanji(3, U'水', u"スイ", u"みず、みず-", u"Wasser; water"),
                              kanji(4, U'氷', u"ヒョウ", u"こおり、ひ", u"Eis; ice")});
        writePreferences(u"Suche"_s);
        start();
    }

    // Ctrl+F as the menu entry carries it.
    void pressFind() {
        QAction* find = nullptr;
        for (QAction* action : window().top()->findChildren<QAction*>()) {
            if (action->shortcut() == QKeySequence(QKeySequence::Find)) {
                find = action;
            }
        }
        ASSERT_NE(find, nullptr);
        EXPECT_EQ(find->text(), u"Suchen"_s);
        find->trigger();
        serve();
    }

    // Main-loop passes until every event of what the user did is served.
    void serve() {
        for (int i = 0; i < 12; ++i) {
            pass();
        }
    }

    QWidget* searchTop() const {
        return app.searchWindow ? app.searchWindow->window().top() : nullptr;
    }
    QLineEdit* field() const { return searchTop()->findChild<QLineEdit*>(); }
    ui::TableList* results() const { return searchTop()->findChild<ui::TableList*>(); }
    QStringList column(int column) const {
        QStringList texts;
        for (int row = 0; row < results()->rowCount(); ++row) {
            texts << results()->cellText(row, column);
        }
        return texts;
    }
    char32_t cardKanji() const {
        const KanjiRecord* record = app.kanjiSet.currentRecord();
        return record != nullptr ? static_cast<char32_t>(record->Unicode) : 0;
    }
};

TEST_F(SearchTest, CtrlFTypingMizuAndEnterShowsWaterOnTheCard) {
    ASSERT_EQ(cardKanji(), U'日');
    pressFind();
    ASSERT_NE(searchTop(), nullptr);
    EXPECT_TRUE(searchTop()->isVisible());
    EXPECT_TRUE(searchTop()->windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(searchTop()->isModal());

    pressKeys(field(), u"mizu"_s);
    serve();
    EXPECT_EQ(column(0), QStringList{u"水"_s});
    EXPECT_EQ(column(1), QStringList{u"スイ  みず、みず-"_s});
    EXPECT_EQ(column(2), QStringList{u"Wasser; water"_s});
    EXPECT_EQ(column(4), QStringList{u"3"_s});

    pressReturn(field());
    serve();
    EXPECT_EQ(cardKanji(), U'水');
    EXPECT_EQ(window().text(IndexField), u"3"_s);
    // The window stays open beside the card for the next search.
    EXPECT_TRUE(searchTop()->isVisible());
}

TEST_F(SearchTest, TheListFollowsTypingAndEditsAndADoubleClickShowsItsKanji) {
    pressFind();
    pressKeys(field(), u"hi"_s);
    serve();
    // ひ is a whole reading of both, in set order.
    EXPECT_EQ(column(0), (QStringList{u"日"_s, u"氷"_s}));
    field()->clear();
    pressKeys(field(), u"Wass"_s);
    serve();
    EXPECT_EQ(column(0), QStringList{u"水"_s});

    // An edit of the set is searched again as soon as the main window has served an event.
    app.kanjiSet.records[1].Bemerkung = u"Baum, Wasserlauf; tree"_s;
    click(NextButton);
    serve();
    EXPECT_EQ(cardKanji(), U'木');
    // Both only begin with "wass": in set order.
    EXPECT_EQ(column(0), (QStringList{u"木"_s, u"水"_s}));

    const QRect second = results()->visualRect(results()->model()->index(1, 2));
    doubleClickAt(results()->viewport(), second.center());
    serve();
    EXPECT_EQ(cardKanji(), U'水');

    // The close box hides the window; Ctrl+F brings it back with the search kept, searched
    // again in the set as it is by then.
    searchTop()->close();
    serve();
    EXPECT_FALSE(searchTop()->isVisible());
    app.kanjiSet.records[1].Bemerkung = u"Baum; tree"_s;
    pressFind();
    EXPECT_TRUE(searchTop()->isVisible());
    EXPECT_EQ(field()->text(), u"Wass"_s);
    EXPECT_EQ(column(0), QStringList{u"水"_s});
}

TEST_F(SearchTest, ADrawingOffersWhatZinniaReadsInItAmongTheSetsKanji) {
    click(NextButton);
    ASSERT_EQ(cardKanji(), U'木');
    pressFind();
    pressKeys(field(), u"Eis"_s);
    serve();
    SketchPad* pad = nullptr;
    for (QWidget* child : searchTop()->findChildren<QWidget*>()) {
        pad = pad != nullptr ? pad : dynamic_cast<SketchPad*>(child);
    }
    ASSERT_NE(pad, nullptr);
    // 日 in four strokes, as a learner draws it.
    pad->addStroke(penThrough({{30, 18}, {30, 102}}));
    pad->addStroke(penThrough({{30, 18}, {90, 18}, {90, 102}}));
    pad->addStroke(penThrough({{32, 60}, {88, 60}}));
    pad->addStroke(penThrough({{32, 100}, {88, 100}}));
    serve();
    ASSERT_FALSE(column(0).isEmpty());
    EXPECT_EQ(column(0).front(), u"日"_s);
    EXPECT_FALSE(column(0).contains(u"氷"_s));

    pressReturn(results());
    serve();
    EXPECT_EQ(cardKanji(), U'日');
}
