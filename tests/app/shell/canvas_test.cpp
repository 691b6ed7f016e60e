// Scenario tests of writing with the mouse on the training page's canvas and of the
// stroke-order animation, with mouse events as Qt delivers them and a scripted clock.
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/trainingids.h"
#include "app/training/handwriting.h"
#include "ui/writingcanvas.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTabletEvent>

using namespace Qt::StringLiterals;

namespace {

const QColor Green(0, 255, 0);
const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
const QColor Yellow(255, 255, 0);

// The canvas's top-left corner in the client area: its place on the training page, which starts
// 10 right of and 32 below the client area's corner.
const QPoint CanvasOrigin(290 + 10, 50 + 32);
const QSize CanvasSize(160, 160);

int nonWhitePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y) != QColor(Qt::white) ? 1 : 0;
        }
    }
    return count;
}

}  // namespace

class MouseWriting : public AppFixture {
protected:
    void SetUp() override {
        writeSet(u"Schreiben"_s, {makeKanji(1, 0x6C38)});
        writePreferences(u"Schreiben"_s);
        start();
        choosePage(ViewMode::Training);
    }

    // The mouse at a point of the canvas (which may lie outside it), button down or up.
    void mouseAt(QPoint canvasPoint, bool down) {
        mouseOn(window().control(CanvasImage), canvasPoint, down);
    }

    // What the canvas shows, the stroke being written included, and what the pad keeps.
    QColor shownAt(int x, int y) const {
        return control<ui::ImageView>(CanvasImage)->image().pixelColor(x, y);
    }
    QColor canvasAt(int x, int y) const { return app.writingPad.writingCanvas.pixelColor(x, y); }
};

TEST_F(MouseWriting, DotsLinesLeavingTheCanvasAndLiftingThePen) {
    ASSERT_EQ(nonWhitePixels(app.writingPad.writingCanvas), 0);
    // Pressed beside the canvas, or on its top or left edge, the mouse draws nothing on it.
    for (const QPoint press : {QPoint(-20, 40), QPoint(0, 40)}) {
        mouseAt(press, true);
        mouseAt({20, 40}, true);
        mouseAt({60, 40}, true);
        mouseAt({60, 40}, false);
    }
    EXPECT_EQ(nonWhitePixels(control<ui::ImageView>(CanvasImage)->image()), 0);
    EXPECT_TRUE(app.writingPad.strokes.empty());

    // A green dot where the button goes down, then black lines of width 3.
    mouseAt({20, 40}, true);
    EXPECT_EQ(shownAt(20, 40), Green);
    EXPECT_EQ(shownAt(30, 40), QColor(Qt::white));
    mouseAt({80, 40}, true);
    EXPECT_EQ(shownAt(50, 40), QColor(Qt::black));
    EXPECT_EQ(shownAt(50, 42), QColor(Qt::white));

    // Leaving with the button held and coming back continues from the last point inside; the
    // point outside is not drawn to.
    mouseAt({200, 40}, true);
    EXPECT_EQ(shownAt(150, 40), QColor(Qt::white));
    mouseAt({80, 120}, true);
    EXPECT_EQ(shownAt(80, 80), QColor(Qt::black));
    EXPECT_TRUE(app.writingPad.strokes.empty()) << "handed on only once finished";

    // Released beside the canvas, the stroke ends: the pad keeps it as the canvas showed it.
    mouseAt({170, 120}, true);
    mouseAt({170, 120}, false);
    EXPECT_EQ(app.writingPad.strokes, (StrokeList{{{20, 40}, {80, 40}, {80, 120}}}));
    EXPECT_EQ(canvasAt(80, 80), QColor(Qt::black));
    EXPECT_EQ(control<ui::ImageView>(CanvasImage)->image(), app.writingPad.writingCanvas);

    // Pressed again, a new dot, not a line from where the last stroke ended.
    mouseAt({140, 140}, true);
    EXPECT_EQ(shownAt(140, 140), Green);
    EXPECT_EQ(shownAt(110, 130), QColor(Qt::white));
    mouseAt({140, 140}, false);

    // A quick next stroke comes as a double click in place of its press, and writes all the
    // same.
    QWidget* canvas = window().control(CanvasImage);
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), button, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &event);
    };
    send(QEvent::MouseButtonDblClick, {100, 20}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {130, 20}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {130, 20}, Qt::LeftButton, Qt::NoButton);
    pass();

    const StrokeList written{{{20, 40}, {80, 40}, {80, 120}}, {{140, 140}}, {{100, 20}, {130, 20}}};
    EXPECT_EQ(app.writingPad.strokes, written);
    EXPECT_EQ(canvasAt(140, 140), Green);
    EXPECT_EQ(canvasAt(115, 20), QColor(Qt::black));
    clearWritingCanvas(app.writingPad);
    EXPECT_TRUE(app.writingPad.strokes.empty());
    EXPECT_EQ(nonWhitePixels(app.writingPad.writingCanvas), 0);
}

TEST_F(MouseWriting, APenStrokeArrivesOnceThoughTheSystemMakesMouseEventsOfIt) {
    QWidget* canvas = window().control(CanvasImage);
    const QPointingDevice stylus(
        u"stylus"_s, 2, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Pen,
        QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
    const auto pen = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QTabletEvent event(type, &stylus, at, canvas->mapToGlobal(QPointF(at)),
                           buttons != Qt::NoButton ? 0.6 : 0.0, 0, 0, 0, 0, 0, Qt::NoModifier,
                           Qt::LeftButton, buttons);
        QCoreApplication::sendEvent(canvas, &event);
    };
    // The mouse events the system makes from the pen, arriving once the pen's own are through.
    const auto madeFromPen = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent made(type, QPointF(at), canvas->mapToGlobal(QPointF(at)), Qt::LeftButton,
                         buttons, Qt::NoModifier, &stylus);
        QCoreApplication::sendEvent(canvas, &made);
    };
    pen(QEvent::TabletMove, {100, 100}, Qt::NoButton);  // hovering
    pen(QEvent::TabletPress, {20, 40}, Qt::LeftButton);
    pen(QEvent::TabletMove, {60, 40}, Qt::LeftButton);
    pen(QEvent::TabletMove, {200, 40}, Qt::LeftButton);  // beyond the canvas
    pen(QEvent::TabletMove, {60, 80}, Qt::LeftButton);
    pen(QEvent::TabletRelease, {60, 80}, Qt::NoButton);
    madeFromPen(QEvent::MouseButtonPress, {20, 40}, Qt::LeftButton);
    madeFromPen(QEvent::MouseMove, {60, 40}, Qt::LeftButton);
    madeFromPen(QEvent::MouseButtonRelease, {60, 40}, Qt::NoButton);
    settle();
    EXPECT_EQ(app.writingPad.strokes, (StrokeList{{{20, 40}, {60, 40}, {60, 80}}}));
    EXPECT_EQ(shownAt(100, 100), QColor(Qt::white));
    EXPECT_EQ(shownAt(60, 60), QColor(Qt::black));
    EXPECT_EQ(control<ui::ImageView>(CanvasImage)->image(), app.writingPad.writingCanvas);
}

TEST_F(MouseWriting, AKeysCommandTakesTheStrokeSoFarAndTheDragWritesNoMore) {
    mouseAt({20, 40}, true);
    mouseAt({60, 40}, true);
    playDialog(GuideWindowId, u"Info – Renkari"_s, {[](QWidget* guide) { guide->close(); }},
               [&] { chooseMenu(MenuInfo); });
    EXPECT_EQ(app.loop.lastEventControl, -1);
    EXPECT_EQ(app.writingPad.strokes, (StrokeList{{{20, 40}, {60, 40}}}));
    mouseAt({100, 40}, true);
    mouseAt({100, 40}, false);
    EXPECT_EQ(shownAt(80, 40), QColor(Qt::white));
    EXPECT_EQ(app.writingPad.strokes.size(), 1u);

    // Hidden while a stroke is written (the next question asks no kanji), the canvas hands on
    // what was written; hidden between strokes, it hands on nothing.
    mouseAt({20, 100}, true);
    mouseAt({60, 100}, true);
    window().setVisible(CanvasImage, false);
    pass();
    EXPECT_EQ(app.writingPad.strokes.size(), 2u);
    window().setVisible(CanvasImage, true);
    window().setVisible(CanvasImage, false);
    pass();
    EXPECT_EQ(app.writingPad.strokes.size(), 2u);
}

TEST_F(MouseWriting, CanvasSitsWhereThePageLayoutPutsIt) {
    EXPECT_EQ(window().placeInClient(CanvasImage), QRect(CanvasOrigin, CanvasSize));
}

TEST(WritingCanvasEdges, TopAndLeftAreOffTheCanvasBottomAndRightOnIt) {
    EXPECT_FALSE(ui::WritingCanvas::onCanvas({0, 0}, CanvasSize));
    EXPECT_TRUE(ui::WritingCanvas::onCanvas({1, 1}, CanvasSize));
    EXPECT_TRUE(ui::WritingCanvas::onCanvas({160, 160}, CanvasSize));
    EXPECT_FALSE(ui::WritingCanvas::onCanvas({161, 80}, CanvasSize));
    EXPECT_FALSE(ui::WritingCanvas::onCanvas({80, 161}, CanvasSize));
    EXPECT_FALSE(ui::WritingCanvas::onCanvas({80, 0}, CanvasSize));
    EXPECT_FALSE(ui::WritingCanvas::onCanvas({-1, 80}, CanvasSize));
}

class StrokeAnimation : public AppFixture {
protected:
    void SetUp() override {
        KanjiRecord three = makeKanji(1, 0x5F15);
        three.Anim = writeStrip(u"Anim"_s, three.Unicode, {Red, Green, Blue});
        KanjiRecord none = makeKanji(2, 0x5F13);
        KanjiRecord one = makeKanji(3, 0x5F14);
        one.Anim = writeStrip(u"Anim"_s, one.Unicode, {Yellow});
        KanjiRecord missing = makeKanji(4, 0x5F16);
        missing.Anim = u"fehlt.png"_s;
        writeSet(u"Anim"_s, {three, none, one, missing});
        writePreferences(u"Anim"_s);
        start();
    }

    // The clock moves on by milliseconds, then one pass runs.
    void after(qint64 milliseconds) {
        now += milliseconds;
        pass();
    }

    QColor frameShown() const { return centreColour(app.animation.animDisplay); }
    QColor strokeViewShows() const {
        return centreColour(control<ui::ImageView>(StrokeView)->image());
    }
};

TEST_F(StrokeAnimation, PlaysOneFramePerSecondPausesAndStops) {
    EXPECT_EQ(frameShown(), Red);
    EXPECT_TRUE(window().isEnabled(AnimPlayButton));

    click(AnimPlayButton);
    EXPECT_EQ(app.animation.animState, AnimState::Playing);
    after(1000);
    EXPECT_EQ(frameShown(), Red);
    after(1);
    EXPECT_EQ(frameShown(), Green);
    std::vector<QColor> played;
    for (int i = 0; i < 3; ++i) {
        after(1001);
        played.push_back(frameShown());
    }
    EXPECT_EQ(played, (std::vector<QColor>{Blue, Red, Green}));
    EXPECT_EQ(strokeViewShows(), Green);

    click(AnimPauseButton);
    EXPECT_EQ(app.animation.animState, AnimState::Paused);
    after(5000);
    after(5000);
    EXPECT_EQ(frameShown(), Green);
    click(AnimPauseButton);
    EXPECT_EQ(app.animation.animState, AnimState::Playing);
    // The paused ticks kept the clock: the next frame comes a second after the last of them.
    EXPECT_EQ(frameShown(), Green);
    after(1001);
    EXPECT_EQ(frameShown(), Blue);

    click(AnimStopButton);
    EXPECT_EQ(frameShown(), Green);
    EXPECT_EQ(app.animation.animState, AnimState::Idle);
    after(5000);
    EXPECT_EQ(frameShown(), Green);

    // Playing again starts over at frame 1, at once since the last frame is long past.
    click(AnimPlayButton);
    EXPECT_EQ(frameShown(), Green);
    after(1001);
    EXPECT_EQ(frameShown(), Blue);
    after(1001);
    EXPECT_EQ(frameShown(), Red);
}

TEST_F(StrokeAnimation, PauseBeforePlayAndPlayWhileEditingDoNothing) {
    click(AnimPauseButton);
    EXPECT_EQ(app.animation.animState, AnimState::Idle);
    after(3000);
    EXPECT_EQ(frameShown(), Red);

    click(EditButton);
    ASSERT_EQ(app.viewMode, ViewMode::Editing);
    const QColor before = frameShown();
    click(AnimPlayButton);
    EXPECT_EQ(app.animation.animState, AnimState::Idle);
    after(1001);
    after(1001);
    EXPECT_EQ(frameShown(), before);
}

TEST_F(StrokeAnimation, KanjiWithoutStripOrWithOneFrame) {
    click(AnimPlayButton);
    click(NextButton);
    EXPECT_EQ(app.animation.animState, AnimState::Idle);
    EXPECT_FALSE(window().isEnabled(AnimPlayButton));
    EXPECT_FALSE(window().isEnabled(AnimPauseButton));
    EXPECT_FALSE(window().isEnabled(AnimStopButton));
    EXPECT_TRUE(control<ui::ImageView>(StrokeView)->image().isNull());
    click(AnimPlayButton);
    EXPECT_EQ(app.animation.animState, AnimState::Idle);

    click(NextButton);
    EXPECT_EQ(strokeViewShows(), Yellow);
    click(AnimPlayButton);
    for (int i = 0; i < 3; ++i) {
        after(1001);
        EXPECT_EQ(frameShown(), Yellow);
    }

    // A strip that cannot be loaded shows nothing and keeps the card working.
    click(NextButton);
    EXPECT_EQ(app.kanjiSet.current, 3);
    EXPECT_TRUE(control<ui::ImageView>(StrokeView)->image().isNull());
    click(AnimPlayButton);
    after(1001);
    EXPECT_TRUE(control<ui::ImageView>(StrokeView)->image().isNull());
    click(PreviousButton);
    EXPECT_EQ(strokeViewShows(), Yellow);
}

TEST_F(MouseWriting, TheLoopSleepsBetweenEventsAlsoWhileThePenWrites) {
    int sleeps = 0;
    app.ui.setSleepUntilEvent([&] { ++sleeps; });
    pass();
    EXPECT_EQ(sleeps, 1);
    mouseAt({20, 40}, true);
    mouseAt({60, 40}, true);
    mouseAt({60, 40}, false);
    EXPECT_EQ(sleeps, 4);
    EXPECT_EQ(canvasAt(40, 40), QColor(Qt::black));
}

TEST_F(StrokeAnimation, PlayingSleepsUntilTheTimerBringsTheNextFrame) {
    int sleeps = 0;
    app.ui.setSleepUntilEvent([&] { ++sleeps; });
    click(AnimPlayButton);
    const QColor first = frameShown();
    after(1000);
    EXPECT_EQ(frameShown(), first);
    after(1);
    EXPECT_NE(frameShown(), first);
    EXPECT_EQ(sleeps, 3);

    click(AnimStopButton);
    EXPECT_EQ(app.animation.animState, AnimState::Idle);
    now += 5000;
    EXPECT_EQ(app.ui.poll().kind, ui::EventKind::None) << "no timer left once stopped";
}
