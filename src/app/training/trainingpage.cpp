// The training page: its dispatch, the F2 key and the strokes written on its canvas; the run and
// the settings do the work.
#include "app/training/trainingpage.h"

#include "app/state/app.h"
#include "app/state/trainingids.h"
#include "app/training/dailyreview.h"
#include "app/training/peninput.h"
#include "app/training/questionsound.h"
#include "app/training/trainingrun.h"
#include "app/training/trainingsettings.h"

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
        case UndoButton:
            undoAnswer(app);
            return true;
        case EasyButton:
            makeAnswersEasy(app);
            return true;
        case RetrainButton:
            retrainMisses(app);
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
        case CanvasImage:
            if (event.action == ui::Action::Stroke) {
                takeStroke(app, event.points);
            }
            return true;
        case LiveStrokesBox:
            // Read as each stroke lifts; what is written so far stays.
            return true;
        default:
            if ((event.control >= FullSettingsFrame && event.control <= OrderRandom) ||
                event.control == ScopeDue) {
                if (leftClick) {
                    applyTrainingSettings(app, event.control);
                    showDueCounts(app, trainingSettings(app).asked);
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

void trainingUndo(App& app) {
    if (app.viewMode == ViewMode::Training) {
        undoAnswer(app);
        enableQuestionSound(app);
    }
}

void trainingEasy(App& app) {
    if (app.viewMode == ViewMode::Training) {
        makeAnswersEasy(app);
    }
}
