// Scenario tests of a kanji written with the scripted mouse, graded against KanjiVG's strokes as
// the program ships them, and of stroke order animated from the same data.
#include "app/training/handwriting.h"
#include "app/kanjiset/cardview.h"
#include "app/shell/appfixture.h"
#include "app/shell/dialogdriver.h"
#include "app/state/backgroundrecognition.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/trainingids.h"
#include "app/training/gradedcanvas.h"

#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPointingDevice>
#include <QPushButton>
#include <QTabletEvent>
#include <QTouchEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr qint32 Sun = 0x65E5;    // 日, four strokes
constexpr qint32 River = 0x5DDD;  // 川, three strokes

const QPoint CanvasOrigin(290 + 10, 50 + 32);

bool near(const QColor& actual, const QColor& expected) {
    return std::abs(actual.red() - expected.red()) < 40 &&
           std::abs(actual.green() - expected.green()) < 40 &&
           std::abs(actual.blue() - expected.blue()) < 40;
}

// KanjiVG's box mapped onto the canvas as a learner's hand would place it.
QPoint onCanvas(const StrokePoint& p) {
    return {qRound(15 + p.x * 1.2f), qRound(12 + p.y * 1.2f)};
}

}  // namespace

class Handwriting : public AppFixture {
protected:
    void SetUp() override {
        // The shipped stroke data, and the marks, which must differ for the verdicts to show.
        for (const QString& file : {u"Strokes/KanjiVG.strokes"_s, u"Controls/ok.ico"_s,
                                    u"Controls/Partly.ico"_s, u"Controls/Wrong.ico"_s}) {
            QFile shipped(QStringLiteral(RENKARI_SOURCE_DIR "/data/Media/") + file);
            ASSERT_TRUE(shipped.open(QIODevice::ReadOnly)) << file.toStdString();
            writeFile(u"Media/"_s + file, shipped.readAll());
        }
        KanjiRecord sun = makeKanji(1, Sun);
        sun.Bemerkung = u"Sonne"_s;
        KanjiRecord river = makeKanji(2, River);
        river.Bemerkung = u"Fluss"_s;
        writeSet(u"Schreiben"_s, {sun, river});
        writePreferences(u"Schreiben"_s);
        start();
    }

    void startKanjiTraining() {
        choosePage(ViewMode::Training);
        click(OrderIndex);
        click(AskKanjiBox);
        click(ShowKanjiBox);  // the kanji is asked, not shown
        click(AskKanjiBox);
        click(AskOnBox);
        click(ShowMeaningBox);
        click(StartButton);
        ASSERT_TRUE(window().isVisible(CanvasImage));
    }

    void mouseAt(QPoint canvasPoint, bool down) {
        mouseOn(window().control(CanvasImage), canvasPoint, down);
    }

    const StrokeList& reference(qint32 code) {
        const StrokeList* strokes = app.handwriting.referenceStrokes(code);
        EXPECT_NE(strokes, nullptr);
        static const StrokeList none;
        return strokes != nullptr ? *strokes : none;
    }

    // Writes the strokes with the mouse, in the order given, the pen lifted between them.
    void write(const std::vector<Stroke>& strokes) {
        for (const Stroke& stroke : strokes) {
            for (const StrokePoint& p : stroke) {
                mouseAt(onCanvas(p), true);
            }
            mouseAt(onCanvas(stroke.back()), false);
        }
    }

    QColor canvasAtMiddleOf(const Stroke& referenceStroke) const {
        const StrokePoint& p = referenceStroke[referenceStroke.size() / 2];
        return app.writingPad.writingCanvas.pixelColor(onCanvas(p));
    }

    // What the verdict dialog showed: its title, its text and the button Enter takes.
    struct Verdict {
        QString title;
        QString text;
        QString preselected;
    };

    // Checks the answers; the learner takes the button named choice in the verdict dialog, or
    // presses Enter when choice is empty.
    Verdict check(const QString& choice = {}) {
        Verdict shown;
        DialogDriver driver(app.ui, KanjiVerdictWindowId, {[&](QWidget* dialog) {
                                shown.title = dialog->windowTitle();
                                shown.text = dialog->findChild<QLabel*>()->text();
                                for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
                                    if (button->isDefault()) {
                                        shown.preselected = button->text();
                                    }
                                    if (button->text() == choice) {
                                        button->click();
                                    }
                                }
                                if (choice.isEmpty()) {
                                    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return,
                                                    Qt::NoModifier);
                                    QCoreApplication::sendEvent(dialog, &enter);
                                }
                            }});
        click(CheckButton);
        EXPECT_EQ(driver.stepsRun(), 1u);
        return shown;
    }
};

TEST_F(Handwriting, CorrectKanjiIsGradedRightAndItsStrokesShownGreenOverTheReference) {
    startKanjiTraining();
    const StrokeList& sun = reference(Sun);
    ASSERT_EQ(sun.size(), 4u);
    // A click leaves a dot, which is no stroke of the kanji.
    mouseAt({5, 5}, true);
    mouseAt({5, 5}, false);
    write(sun);
    ASSERT_EQ(app.writingPad.strokes.size(), 5u);

    const Verdict shown = check(u"Richtig"_s);
    EXPECT_EQ(shown.title, u"Kanji überprüfen"_s);
    const QStringList lines = shown.text.split(u'\n');
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], u"Stimmt das Kanji"_s);
    EXPECT_EQ(lines[2], app.texts.text(MessageText::HandwritingRight));
    EXPECT_TRUE(lines.last().startsWith(u"Erkannt: "_s));
    EXPECT_TRUE(lines.last().contains(u"日"_s)) << lines.last().toStdString();
    EXPECT_EQ(shown.preselected, u"Richtig"_s);

    for (const Stroke& stroke : sun) {
        EXPECT_TRUE(near(canvasAtMiddleOf(stroke), MatchedStrokeColour));
    }
    EXPECT_EQ(control<ui::ImageView>(CanvasImage)->image(), app.writingPad.writingCanvas);
    EXPECT_TRUE(window().isVisible(CanvasMark));
    ASSERT_FALSE(app.resources.icon(ControlIcon::Ok).isNull());
    EXPECT_EQ(control<ui::ImageView>(CanvasMark)->image(), app.resources.icon(ControlIcon::Ok));
    EXPECT_EQ(app.training.runRight, 1);

    // The next question starts on a clean canvas with nothing to grade.
    click(NextQuestionButton);
    EXPECT_TRUE(app.writingPad.strokes.empty());
    EXPECT_FALSE(window().isVisible(CanvasMark));
}

TEST_F(Handwriting, SwappedStrokesAreShownRedAndTheLearnerKeepsTheLastWord) {
    startKanjiTraining();
    check(u"Richtig"_s);  // the first question passed unwritten
    click(NextQuestionButton);
    ASSERT_EQ(app.training.trainingList[static_cast<size_t>(app.training.trainingPos)].Code, River);

    const StrokeList& river = reference(River);
    ASSERT_EQ(river.size(), 3u);
    write({river[1], river[0], river[2]});
    const Verdict shown = check(u"Richtig"_s);
    EXPECT_EQ(shown.text.split(u'\n').value(2), app.texts.text(MessageText::HandwritingPartly));
    EXPECT_EQ(shown.text.split(u'\n').value(3), u"Striche 1 und 2 vertauscht"_s);
    EXPECT_EQ(shown.preselected, u"Teilweise"_s);
    // Drawn first and second stand where the reference's second and first belong.
    EXPECT_TRUE(near(canvasAtMiddleOf(river[1]), MissedStrokeColour));
    EXPECT_TRUE(near(canvasAtMiddleOf(river[0]), MissedStrokeColour));
    EXPECT_TRUE(near(canvasAtMiddleOf(river[2]), MatchedStrokeColour));
    EXPECT_EQ(control<ui::ImageView>(CanvasMark)->image(), app.resources.icon(ControlIcon::Partly));
    // The learner said yes: that is what counts.
    EXPECT_EQ(app.training.runRight, 2);
}

TEST_F(Handwriting, APenTabletAndOneFingerWriteLikeTheMouse) {
    startKanjiTraining();
    QWidget* canvas = window().control(CanvasImage);
    ASSERT_NE(canvas, nullptr);

    // 日 with a pen: pressed, moved, lifted, stroke by stroke; a pen hovering draws nothing.
    const QPointingDevice stylus(
        u"stylus"_s, 2, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Pen,
        QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
    const auto pen = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QTabletEvent event(type, &stylus, at, canvas->mapToGlobal(QPointF(at)),
                           buttons != Qt::NoButton ? 0.6 : 0.0, 0, 0, 0, 0, 0, Qt::NoModifier,
                           Qt::LeftButton, buttons);
        QCoreApplication::sendEvent(canvas, &event);
    };
    // The system moves the pointer along with the pen and presses its button, and Qt sends the
    // canvas mouse events made from the pen: neither may draw.
    const auto systemPointer = [&](QPoint at, bool down) {
        const QPoint beside = at + QPoint(7, 7);
        mouse.globalPos = globalFromClient(CanvasOrigin + beside);
        mouse.primaryDown = down;
        QMouseEvent made(down ? QEvent::MouseMove : QEvent::MouseButtonRelease, QPointF(beside),
                         canvas->mapToGlobal(QPointF(beside)), Qt::LeftButton,
                         down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier, &stylus);
        QCoreApplication::sendEvent(canvas, &made);
        pass();
    };
    pen(QEvent::TabletMove, {5, 5}, Qt::NoButton);
    const StrokeList& sun = reference(Sun);
    StrokeList penPoints;
    for (const Stroke& stroke : sun) {
        pen(QEvent::TabletPress, onCanvas(stroke.front()), Qt::LeftButton);
        Stroke& points = penPoints.emplace_back();
        for (const StrokePoint& p : stroke) {
            pen(QEvent::TabletMove, onCanvas(p), Qt::LeftButton);
            systemPointer(onCanvas(p), true);
            const StrokePoint at{static_cast<float>(onCanvas(p).x()),
                                 static_cast<float>(onCanvas(p).y())};
            if (points.empty() || points.back() != at) {
                points.push_back(at);
            }
        }
        pen(QEvent::TabletRelease, onCanvas(stroke.back()), Qt::NoButton);
        systemPointer(onCanvas(stroke.back()), false);
    }
    ASSERT_EQ(app.writingPad.strokes, penPoints);
    EXPECT_EQ(check(u"Richtig"_s).text.split(u'\n').value(2),
              app.texts.text(MessageText::HandwritingRight));
    click(NextQuestionButton);

    // 川 with one finger; a second finger ends the stroke and draws nothing.
    const QPointingDevice screen(u"screen"_s, 3, QInputDevice::DeviceType::TouchScreen,
                                 QPointingDevice::PointerType::Finger,
                                 QInputDevice::Capability::Position, 10, 0);
    const auto touch = [&](QEvent::Type type, const std::vector<QPoint>& fingers) {
        QList<QEventPoint> points;
        for (std::size_t i = 0; i < fingers.size(); ++i) {
            const QEventPoint::State state = type == QEvent::TouchBegin ? QEventPoint::Pressed
                                             : type == QEvent::TouchEnd ? QEventPoint::Released
                                                                        : QEventPoint::Updated;
            points << QEventPoint(static_cast<int>(i), state, QPointF(fingers[i]),
                                  canvas->mapToGlobal(QPointF(fingers[i])));
        }
        QTouchEvent event(type, &screen, Qt::NoModifier, points);
        QCoreApplication::sendEvent(canvas, &event);
        pass();
    };
    const StrokeList& river = reference(River);
    for (const Stroke& stroke : river) {
        touch(QEvent::TouchBegin, {onCanvas(stroke.front())});
        for (const StrokePoint& p : stroke) {
            touch(QEvent::TouchUpdate, {onCanvas(p)});
        }
        touch(QEvent::TouchEnd, {onCanvas(stroke.back())});
    }
    touch(QEvent::TouchBegin, {QPoint(20, 20)});
    touch(QEvent::TouchUpdate, {QPoint(20, 20), QPoint(120, 120)});
    touch(QEvent::TouchUpdate, {QPoint(60, 60), QPoint(120, 120)});
    touch(QEvent::TouchEnd, {QPoint(60, 60)});
    ASSERT_EQ(app.writingPad.strokes.size(), river.size() + 1);
    EXPECT_EQ(app.writingPad.strokes.back().size(), 1u) << "a touch that does not move";
    EXPECT_EQ(check(u"Richtig"_s).text.split(u'\n').value(2),
              app.texts.text(MessageText::HandwritingRight));
}

TEST_F(Handwriting, StrokeByStrokeEachStrokeIsJudgedAsThePenLifts) {
    startKanjiTraining();
    EXPECT_FALSE(window().isChecked(LiveStrokesBox)) << "off unless chosen";
    click(LiveStrokesBox);
    ASSERT_TRUE(window().isChecked(LiveStrokesBox));
    const StrokeList& sun = reference(Sun);
    ASSERT_EQ(sun.size(), 4u);

    // The first stroke matches and stays green.
    write({sun[0]});
    ASSERT_EQ(app.writingPad.strokes.size(), 1u);
    EXPECT_TRUE(near(canvasAtMiddleOf(sun[0]), MatchedStrokeColour));

    EXPECT_FALSE(window().isVisible(StrokeSlipLabel));

    // A later stroke in the second's place is named and taken away; then the second drawn
    // backwards, twice, each shown red and named.
    write({sun[2]});
    EXPECT_EQ(app.writingPad.strokes.size(), 1u);
    EXPECT_TRUE(window().isVisible(StrokeSlipLabel));
    EXPECT_EQ(window().text(StrokeSlipLabel), u"Strich 3 kommt später, erst Strich 2"_s);
    Stroke backwards = sun[1];
    std::reverse(backwards.begin(), backwards.end());
    const QPoint middleOfSecond = onCanvas(sun[1][sun[1].size() / 2]);
    for (int miss = 2; miss <= 3; ++miss) {
        write({backwards});
        EXPECT_EQ(app.writingPad.strokes.size(), 1u) << "miss " << miss;
        EXPECT_TRUE(near(canvasAtMiddleOf(sun[1]), MissedStrokeColour)) << "miss " << miss;
        EXPECT_EQ(window().text(StrokeSlipLabel), u"Strich 2: falsche Richtung"_s);
    }
    // After three misses the stroke due is shown over the writing in blue, with a dot where it
    // starts.
    const QImage& canvas = app.writingPad.writingCanvas;
    const auto isHint = [](const QColor& c) {
        return c.blue() > c.red() + 80 && c.blue() > c.green() + 40;
    };
    const auto hinted = [&] {
        int blue = 0;
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                blue += isHint(canvas.pixelColor(x, y));
            }
        }
        return blue;
    };
    EXPECT_GT(hinted(), 50) << "the reference of the stroke missed three times";
    const qreal scale = canvas.width() / qreal(StrokeLibrary::BoxSize);
    const StrokePoint start = sun[1].front();
    EXPECT_TRUE(isHint(canvas.pixelColor(QPointF(start.x * scale, start.y * scale).toPoint())));
    write({{{5, 5}}});  // a click lifts the red stroke away
    EXPECT_GT(hinted(), 50);
    EXPECT_FALSE(near(app.writingPad.writingCanvas.pixelColor(middleOfSecond), MissedStrokeColour));

    // The rest written right: no question follows, and a missed stroke makes it partly right.
    write({sun[1], sun[2], sun[3]});
    ASSERT_EQ(app.writingPad.strokes.size(), 4u);
    EXPECT_EQ(hinted(), 0);
    const qsizetype asked = app.ui.requesters().shown().size();
    click(CheckButton);
    EXPECT_EQ(app.ui.requesters().shown().size(), asked);
    EXPECT_EQ(control<ui::ImageView>(CanvasMark)->image(), app.resources.icon(ControlIcon::Partly));
    EXPECT_EQ(app.training.trainingList[0].partly, 1);
    EXPECT_EQ(app.training.runRight, 0);

    // The next kanji checked before it is complete is wrong.
    click(NextQuestionButton);
    const StrokeList& river = reference(River);
    write({river[0]});
    click(CheckButton);
    EXPECT_EQ(app.ui.requesters().shown().size(), asked);
    EXPECT_EQ(control<ui::ImageView>(CanvasMark)->image(), app.resources.icon(ControlIcon::Wrong));
    EXPECT_EQ(app.training.trainingList[1].wrong, 1);
}

TEST_F(Handwriting, ZinniasReadingAheadServesOnlyTheStrokesItRead) {
    const KanjiRecognizer* recognizer = app.handwriting.recognizer();
    ASSERT_NE(recognizer, nullptr);
    const StrokeList& sun = reference(Sun);
    const StrokeList& river = reference(River);
    ASSERT_NE(recognizer->candidates(sun, 109, 109), recognizer->candidates(river, 109, 109));

    BackgroundRecognition ahead;
    ahead.start(*recognizer, sun, 109, 109);
    EXPECT_EQ(ahead.candidates(*recognizer, sun, 109, 109), recognizer->candidates(sun, 109, 109));
    // A stroke added since, or another drawing, is read anew.
    EXPECT_EQ(ahead.candidates(*recognizer, river, 109, 109),
              recognizer->candidates(river, 109, 109));
    ahead.start(*recognizer, river, 109, 109);
    ahead.start(*recognizer, sun, 109, 109);
    EXPECT_EQ(ahead.candidates(*recognizer, sun, 109, 109), recognizer->candidates(sun, 109, 109));
}

TEST_F(Handwriting, TheVerdictNamesTheSlipInWords) {
    const StrokeList& sun = reference(Sun);
    ASSERT_EQ(sun.size(), 4u);
    const auto linesFor = [&](const StrokeList& written) {
        const HandwritingGrade grade = gradeHandwriting(written, Sun, &sun, nullptr, 160, 160);
        return handwritingVerdictText(app.texts, grade).split(u'\n');
    };
    StrokeList backwards = sun;
    std::reverse(backwards[2].begin(), backwards[2].end());
    EXPECT_TRUE(linesFor(backwards).contains(u"Strich 3: falsche Richtung"_s));

    StrokeList missing = sun;
    missing.erase(missing.begin() + 3);
    EXPECT_TRUE(linesFor(missing).contains(u"Strich 4 fehlt"_s));

    StrokeList extra = sun;
    extra.push_back({{5, 100}, {30, 104}, {60, 106}});
    const QStringList extraLines = linesFor(extra);
    EXPECT_TRUE(extraLines.contains(u"ein Strich zu viel"_s));
    EXPECT_FALSE(extraLines.contains(u"Strich 4 fehlt"_s));

    // A right kanji needs no reasons: the verdict and what zinnia saw.
    EXPECT_EQ(linesFor(sun).size(), linesFor({}).size());
}

TEST_F(Handwriting, ReferenceNumbersNeverOverlap) {
    // 日's first two strokes start on one spot; at half the canvas's size every start is close.
    for (const float scale : {1.2f, 0.6f}) {
        for (const qint32 code : {Sun, River}) {
            std::vector<QPolygonF> strokes;
            for (const Stroke& stroke : reference(code)) {
                QPolygonF& line = strokes.emplace_back();
                for (const StrokePoint& p : stroke) {
                    line << QPointF(15 + p.x * scale, 12 + p.y * scale);
                }
            }
            const std::vector<QRectF> boxes =
                strokeNumberBoxes(strokes, QSizeF(12, 12), QRectF(0, 0, 160, 160));
            ASSERT_EQ(boxes.size(), strokes.size());
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                EXPECT_FALSE(boxes[i].isEmpty());
                EXPECT_TRUE(QRectF(0, 0, 160, 160).contains(boxes[i]));
                for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                    EXPECT_FALSE(boxes[i].intersects(boxes[j])) << code << ' ' << i << ' ' << j;
                }
            }
        }
    }
}

TEST_F(Handwriting, AnEmptyCanvasIsGradedWrongWithTheReferenceToCompare) {
    startKanjiTraining();
    // Enter takes the grader's verdict.
    const Verdict shown = check();
    EXPECT_EQ(shown.text.split(u'\n').value(2), app.texts.text(MessageText::HandwritingWrong));
    EXPECT_EQ(shown.preselected, u"Falsch"_s);
    // Nothing drawn: the reference alone, grey across the canvas.
    const QImage& canvas = app.writingPad.writingCanvas;
    int grey = 0;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            grey += near(canvas.pixelColor(x, y), ReferenceStrokeColour) ? 1 : 0;
            EXPECT_FALSE(near(canvas.pixelColor(x, y), MissedStrokeColour));
        }
    }
    EXPECT_GT(grey, 400);
    EXPECT_EQ(control<ui::ImageView>(CanvasMark)->image(), app.resources.icon(ControlIcon::Wrong));
    EXPECT_EQ(app.training.runWrong, 1);
}

TEST_F(Handwriting, KanjiWithoutAStripOfItsOwnAnimatesFromTheStrokeData) {
    ASSERT_TRUE(app.kanjiSet.records[0].Anim.isEmpty());
    // The start draws the kanji without waiting for the stroke data; the strip follows with the
    // main loop's first pass.
    EXPECT_TRUE(control<ui::ImageView>(StrokeView)->image().isNull());
    pass();
    EXPECT_FALSE(control<ui::ImageView>(StrokeView)->image().isNull());
    EXPECT_TRUE(window().isEnabled(AnimPlayButton));
    const QImage* strip = app.pictures.strip(app.kanjiSet.records[0].Unicode, QString());
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->width(), 4 * StrokeFrameSize);
    click(AnimPlayButton);
    EXPECT_EQ(app.animation.animState, AnimState::Playing);
}
