// Scenario tests of writing with the mouse on the training page's canvas and of the
// stroke-order animation, with a scripted mouse and clock.
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/trainingids.h"
#include "app/training/handwriting.h"
#include "app/training/trainingpage.h"

using namespace Qt::StringLiterals;

namespace {

const QColor Green(0, 255, 0);
const QColor Red(255, 0, 0);
const QColor Blue(0, 0, 255);
const QColor Yellow(255, 255, 0);

// The canvas's top-left corner in the client area: its place on the training page, which starts
// 10 right of and 32 below the client area's corner.
const QPoint CanvasOrigin(290 + 10, 50 + 32);

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
        mouse.globalPos = globalFromClient(CanvasOrigin + canvasPoint);
        mouse.primaryDown = down;
        pass();
    }

    QColor canvasAt(int x, int y) const { return app.writingPad.writingCanvas.pixelColor(x, y); }
};

TEST_F(MouseWriting, DotsLinesAndLiftingThePen) {
    ASSERT_EQ(nonWhitePixels(app.writingPad.writingCanvas), 0);
    // Before the canvas was clicked the mouse draws nothing.
    mouseAt({20, 40}, true);
    mouseAt({60, 40}, true);
    EXPECT_EQ(nonWhitePixels(app.writingPad.writingCanvas), 0);
    EXPECT_EQ(app.writingPad.lastPenX, -1);

    mouseAt({5, 5}, false);
    clickAt(control<ui::ImageView>(CanvasImage), QPoint(5, 5));
    pass();
    ASSERT_EQ(app.loop.lastEventControl, CanvasImage);

    mouseAt({20, 40}, true);
    EXPECT_EQ(canvasAt(20, 40), Green);
    EXPECT_EQ(canvasAt(30, 40), QColor(Qt::white));
    EXPECT_EQ(app.writingPad.lastPenX, 20);
    EXPECT_EQ(app.writingPad.lastPenY, 40);

    mouseAt({80, 40}, true);
    EXPECT_EQ(canvasAt(50, 40), QColor(Qt::black));
    EXPECT_EQ(canvasAt(50, 44), QColor(Qt::white));
    EXPECT_EQ(control<ui::ImageView>(CanvasImage)->image(), app.writingPad.writingCanvas);

    // Leaving with the button held and coming back continues from the last point inside.
    mouseAt({200, 40}, true);
    EXPECT_EQ(app.writingPad.lastPenX, 80);
    mouseAt({80, 120}, true);
    EXPECT_EQ(canvasAt(80, 80), QColor(Qt::black));

    // Released outside, the pen stays down; released inside, it is lifted.
    mouseAt({170, 120}, false);
    EXPECT_EQ(app.writingPad.lastPenX, 80);
    mouseAt({80, 120}, false);
    EXPECT_EQ(app.writingPad.lastPenX, -1);
    EXPECT_EQ(app.writingPad.lastPenY, -1);

    mouseAt({140, 140}, true);
    EXPECT_EQ(canvasAt(140, 140), Green);
    // A new dot, not a line from where the pen was lifted.
    EXPECT_EQ(canvasAt(110, 130), QColor(Qt::white));

    // Beside the pixels, the strokes as the grading needs them; the point outside is not one.
    const StrokeList written{{{20, 40}, {80, 40}, {80, 120}}, {{140, 140}}};
    EXPECT_EQ(app.writingPad.strokes, written);
    clearWritingCanvas(app);
    EXPECT_TRUE(app.writingPad.strokes.empty());
    EXPECT_EQ(nonWhitePixels(app.writingPad.writingCanvas), 0);
}

TEST_F(MouseWriting, MenuCommandEndsWriting) {
    clickAt(control<ui::ImageView>(CanvasImage), QPoint(5, 5));
    pass();
    playDialog(GuideWindowId, u"Info – Renkari"_s, {[](QWidget* guide) { guide->close(); }},
               [&] { chooseMenu(MenuInfo); });
    EXPECT_EQ(app.loop.lastEventControl, -1);
    mouseAt({20, 40}, true);
    EXPECT_EQ(nonWhitePixels(app.writingPad.writingCanvas), 0);
}

TEST_F(MouseWriting, CanvasSitsWhereThePageLayoutPutsIt) {
    EXPECT_EQ(window().placeInClient(CanvasImage), QRect(CanvasOrigin, QSize(160, 160)));
}

TEST(MouseInsideControl, BoundariesAreExclusiveAtTheCornerAndInclusiveAtTheSize) {
    const QRect canvas(CanvasOrigin, QSize(160, 160));
    EXPECT_FALSE(mouseInsideControl(CanvasOrigin, canvas));
    EXPECT_TRUE(mouseInsideControl(CanvasOrigin + QPoint(1, 1), canvas));
    EXPECT_TRUE(mouseInsideControl(CanvasOrigin + QPoint(160, 160), canvas));
    EXPECT_FALSE(mouseInsideControl(CanvasOrigin + QPoint(161, 80), canvas));
    EXPECT_FALSE(mouseInsideControl(CanvasOrigin + QPoint(80, 161), canvas));
    EXPECT_FALSE(mouseInsideControl(CanvasOrigin + QPoint(80, 0), canvas));
    // A mouse left of or above the client area is outside, whatever the control's position.
    const QRect beyondTheCorner(-10, -8, 160, 160);
    EXPECT_TRUE(mouseInsideControl({0, 0}, beyondTheCorner));
    EXPECT_FALSE(mouseInsideControl({-1, 0}, beyondTheCorner));
    EXPECT_FALSE(mouseInsideControl({0, -1}, beyondTheCorner));
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

TEST_F(MouseWriting, LoopSleepsUntilInputExceptWhileThePenWrites) {
    int sleeps = 0;
    int pauses = 0;
    app.ui.setSleepUntilEvent([&] { ++sleeps; });
    app.ui.setPause([&](int) { ++pauses; });
    pass();
    EXPECT_EQ(sleeps, 1);
    EXPECT_EQ(pauses, 0);

    // The click itself, then the pen held down on the canvas: the loop keeps following the mouse.
    mouseAt({5, 5}, false);
    clickAt(control<ui::ImageView>(CanvasImage), QPoint(5, 5));
    pass();
    sleeps = pauses = 0;
    mouseAt({20, 40}, true);
    mouseAt({60, 40}, true);
    EXPECT_EQ(pauses, 2);
    EXPECT_EQ(sleeps, 0);
    EXPECT_EQ(canvasAt(40, 40), QColor(Qt::black));

    // Lifted, the loop waits for the next input again.
    mouseAt({60, 40}, false);
    EXPECT_EQ(sleeps, 1);
}

TEST_F(StrokeAnimation, PlayingKeepsTheLoopTickingAndStoppingLetsItSleep) {
    int sleeps = 0;
    app.ui.setSleepUntilEvent([&] { ++sleeps; });
    click(AnimPlayButton);
    after(1001);
    after(1001);
    EXPECT_EQ(sleeps, 0);
    EXPECT_EQ(frameShown(), Blue);
    click(AnimStopButton);
    after(1);
    after(1);
    EXPECT_EQ(app.animation.animState, AnimState::Idle);
    EXPECT_GE(sleeps, 1);
}
