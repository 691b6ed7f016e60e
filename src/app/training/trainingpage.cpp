// The training page: its dispatch, the F2 key and the pen on the writing canvas; the run and the
// settings do the work.
#include "app/training/trainingpage.h"

#include "app/state/app.h"
#include "app/state/trainingids.h"
#include "app/training/questionsound.h"
#include "app/training/trainingrun.h"
#include "app/training/trainingsettings.h"
#include "ui/images.h"

namespace {

// "Spanne" asks from its start to its end, both within the set.
void keepRangeInSet(App& app) {
    ui::Window& w = *app.mainWindow;
    if (!w.isChecked(ScopeRange)) {
        return;
    }
    const TrainingRange range =
        clampedRange({w.spinValue(RangeStart), w.spinValue(RangeEnd)}, app.kanjiSet.size());
    w.setSpinValue(RangeStart, range.start);
    w.setSpinValue(RangeEnd, range.end);
}

bool dispatchTrainingControl(App& app, const ui::Event& event) {
    const bool leftClick = event.action == ui::Action::LeftClick;
    switch (event.control) {
        case QuestionSoundButton:
            if (leftClick) {
                speakQuestion(app);
            }
            return true;
        case StartButton:
            startTraining(app);
            return true;
        case TrainingEndButton:
            endTraining(app, true);
            return true;
        case CheckButton:
            checkAnswers(app);
            return true;
        case NextQuestionButton:
            if (leftClick) {
                nextQuestion(app);
            }
            return true;
        case RangeStart:
        case RangeEnd:
            // The spin the learner changes stays enabled; only the bounds are kept in order.
            if (event.action == ui::Action::Change) {
                keepRangeInSet(app);
            }
            return true;
        case ManualBox:
            if (leftClick) {
                applyTrainingSettings(app, ManualBox);
                if (app.training.trainingPos != -1) {
                    endTraining(app, true);
                }
            }
            return true;
        default:
            if (event.control >= FullSettingsFrame && event.control <= OrderRandom) {
                if (leftClick) {
                    applyTrainingSettings(app, event.control);
                }
                return true;
            }
            return false;
    }
}

}  // namespace

bool onTrainingControl(App& app, const ui::Event& event) {
    const bool handled = dispatchTrainingControl(app, event);
    // Every step of a run and every change of the settings passes here.
    if (handled) {
        enableQuestionSound(app);
    }
    return handled;
}

void trainingKeyF2(App& app) {
    if (app.viewMode != ViewMode::Training) {
        return;
    }
    if (app.training.checkState == CheckState::Answering) {
        checkAnswers(app);
    } else if (app.training.checkState == CheckState::Checked) {
        nextQuestion(app);
    }
    enableQuestionSound(app);
}

bool mouseInsideControl(QPoint mouse, QRect control) {
    const int dx = mouse.x() - control.x();
    const int dy = mouse.y() - control.y();
    return mouse.x() > -1 && mouse.y() > -1 && dx > 0 && dx <= control.width() && dy > 0 &&
           dy <= control.height();
}

void serveMouseWriting(App& app) {
    // The pen follows the mouse only after a click on the canvas, and only inside it.
    if (app.loop.lastEventControl != CanvasImage) {
        return;
    }
    const ui::MouseState mouse = app.ui.mouse();
    const QPoint client = app.mainWindow->client()->mapFromGlobal(mouse.globalPos);
    const QRect canvas = app.mainWindow->placeInClient(CanvasImage);
    if (!mouseInsideControl(client, canvas)) {
        return;
    }
    WritingPad& pad = app.writingPad;
    if (!mouse.primaryDown) {
        pad.lastPenX = -1;
        pad.lastPenY = -1;
        return;
    }
    const QPoint pen = client - canvas.topLeft();
    const StrokePoint point{static_cast<float>(pen.x()), static_cast<float>(pen.y())};
    if (pad.lastPenX == -1 || pad.lastPenY == -1) {
        ui::fillCircle(pad.writingCanvas, pen, 4, QColor(0, 255, 0));
        pad.strokes.push_back({point});
    } else {
        ui::drawLine(pad.writingCanvas, QPoint(pad.lastPenX, pad.lastPenY), pen, 3, Qt::black);
        if (pad.strokes.empty()) {
            pad.strokes.emplace_back();
        }
        if (pad.strokes.back().empty() || pad.strokes.back().back() != point) {
            pad.strokes.back().push_back(point);
        }
    }
    pad.lastPenX = pen.x();
    pad.lastPenY = pen.y();
    app.mainWindow->setImage(CanvasImage, pad.writingCanvas);
}
