// The training page's settings and its resting state.
#include "app/training/trainingpage.h"

#include "app/shell/app.h"
#include "app/shell/mainids.h"
#include "app/training/profilecommands.h"
#include "ui/images.h"

#include <array>

namespace {

constexpr std::array AnswerControls{QuestionImage,
                                    ShownOnLabel,
                                    ShownOn,
                                    ShownKunLabel,
                                    ShownKun,
                                    ShownMeaningLabel,
                                    ShownMeaning,
                                    QuestionSoundButton,
                                    AnswerOnLabel,
                                    AnswerOn,
                                    AnswerKunLabel,
                                    AnswerKun,
                                    AnswerMeaningLabel,
                                    AnswerMeaning,
                                    CanvasImage,
                                    CanvasMark,
                                    MarkOn,
                                    MarkKun,
                                    MarkMeaning};

constexpr std::array JlptOptions{Jlpt4, Jlpt3, Jlpt2, Jlpt1};
constexpr std::array JlptCaptions{TrainingText::Jlpt4, TrainingText::Jlpt3, TrainingText::Jlpt2,
                                  TrainingText::Jlpt1};

constexpr std::array ScopeOptions{ScopeAll, ScopeWorst, ScopeRange, ScopeJlpt, ScopeSelection};

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

void showAll(ui::Window& w, std::initializer_list<int> controls) {
    for (int control : controls) {
        w.setVisible(control, true);
    }
}

}  // namespace

void clearWritingCanvas(App& app) {
    app.writingPad.writingCanvas.fill(Qt::white);
    app.writingPad.strokes.clear();
}

void resetTrainingSettings(App& app) {
    ui::Window& w = *app.mainWindow;
    w.setChecked(ShowKanjiBox, true);
    w.setChecked(AskOnBox, true);
    w.setChecked(WorstAbsolute, true);
    w.setSpinValue(RangeStart, 1);
    w.setSpinRange(RangeStart, 1, std::max(1, app.kanjiSet.size() - 1));
    w.setSpinRange(RangeEnd, 1, std::max(1, app.kanjiSet.size()));
    w.setSpinValue(RangeEnd, app.kanjiSet.size());
    w.setChecked(ScopeAll, true);
    w.setChecked(OrderRandom, true);
    w.setChecked(Jlpt4, true);

    std::array<int, 5> perLevel{};
    for (const KanjiRecord& record : app.kanjiSet.records) {
        if (record.Idx2 >= 0 && record.Idx2 <= 4) {
            ++perLevel[static_cast<size_t>(record.Idx2)];
        }
    }
    for (int i = 0; i < 4; ++i) {
        const int level = 4 - i;
        const int count = perLevel[static_cast<size_t>(level)];
        w.setText(JlptOptions[static_cast<size_t>(i)],
                  app.texts.text(JlptCaptions[static_cast<size_t>(i)]) + QStringLiteral("  (") +
                      QString::number(count) + QLatin1Char(')'));
        w.setEnabled(JlptOptions[static_cast<size_t>(i)], count != 0);
    }

    clearWritingCanvas(app);
    w.setImage(CanvasImage, app.writingPad.writingCanvas);
    applyTrainingSettings(app, -1);
}

void applyTrainingSettings(App& app, int causingControl) {
    showTrainingControls(app, causingControl);
    for (int field = 2; field <= 5; ++field) {
        app.mainWindow->setStatusText(field, QString());
    }
}

void showTrainingControls(App& app, int causingControl) {
    ui::Window& w = *app.mainWindow;
    const bool manual = w.isChecked(ManualBox);
    w.setVisible(FullSettings, manual);
    w.setVisible(ShortSettings, !manual);
    for (int control : AnswerControls) {
        w.setVisible(control, false);
    }
    if (manual) {
        // What is shown is not asked as well.
        if (w.isChecked(ShowKanjiBox)) {
            w.setVisible(QuestionImage, true);
            w.setChecked(AskKanjiBox, false);
        }
        if (w.isChecked(ShowOnBox)) {
            showAll(w, {ShownOn, ShownOnLabel});
            w.setChecked(AskOnBox, false);
        }
        if (w.isChecked(ShowKunBox)) {
            showAll(w, {ShownKun, ShownKunLabel});
            w.setChecked(AskKunBox, false);
        }
        if (w.isChecked(ShowMeaningBox)) {
            showAll(w, {ShownMeaning, ShownMeaningLabel});
            w.setChecked(AskMeaningBox, false);
        }
        if (w.isChecked(ShowSoundBox)) {
            w.setVisible(QuestionSoundButton, true);
        }
        if (w.isChecked(AskOnBox)) {
            showAll(w, {AnswerOn, AnswerOnLabel});
        }
        if (w.isChecked(AskKunBox)) {
            showAll(w, {AnswerKun, AnswerKunLabel});
        }
        if (w.isChecked(AskMeaningBox)) {
            showAll(w, {AnswerMeaning, AnswerMeaningLabel});
        }
        if (w.isChecked(AskKanjiBox)) {
            w.setVisible(CanvasImage, true);
        }
        const bool jlpt = w.isChecked(ScopeJlpt);
        for (int option : JlptOptions) {
            w.setVisible(option, jlpt);
        }
        const bool worst = w.isChecked(ScopeWorst);
        w.setVisible(WorstAbsolute, worst);
        w.setVisible(WorstRelative, worst);

        w.setEnabled(RangeStart, false);
        w.setEnabled(RangeEnd, false);
        const bool scopeCaused = std::find(ScopeOptions.begin(), ScopeOptions.end(),
                                           causingControl) != ScopeOptions.end();
        if (w.isChecked(ScopeRange) && scopeCaused) {
            w.setEnabled(RangeStart, true);
            w.setEnabled(RangeEnd, true);
            w.setSpinRange(RangeEnd, 1, std::max(1, app.kanjiSet.size()));
            if (w.spinValue(RangeEnd) > app.kanjiSet.size()) {
                w.setSpinValue(RangeEnd, app.kanjiSet.size());
            }
        }
        if (worst) {
            w.setEnabled(RangeEnd, true);
            w.setSpinRange(RangeEnd, 1,
                           w.isChecked(WorstAbsolute) ? std::max(1, app.kanjiSet.size()) : 100);
        }
        const int start = w.spinValue(RangeStart);
        const int end = w.spinValue(RangeEnd);
        if (start > end) {
            if (start <= 1) {
                w.setSpinValue(RangeEnd, start + 1);
            } else {
                w.setSpinValue(RangeStart, end);
            }
        }
    }
}

void restTrainingControls(App& app) {
    ui::Window& w = *app.mainWindow;
    w.setEnabled(StartButton, true);
    w.setEnabled(TrainingEndButton, false);
    w.setVisible(CheckButton, false);
    w.setVisible(NextQuestionButton, false);
    for (int option : JlptOptions) {
        w.setVisible(option, false);
    }
    // The answer controls are hidden by showing what the settings call for.
    for (int field : {AnswerOn, AnswerKun, AnswerMeaning}) {
        w.setText(field, QString());
        w.setEnabled(field, true);
    }
    showTrainingControls(app, -1);
}

void endTraining(App& app, bool show) {
    ui::Window& w = *app.mainWindow;
    restTrainingControls(app);
    for (int field = 2; field <= 5; ++field) {
        w.setStatusText(field, QString());
    }
    if (show) {
        qint32 right = 0;
        qint32 partly = 0;
        qint32 wrong = 0;
        for (const TrainingItem& item : app.training.trainingList) {
            right += item.right;
            partly += item.partly;
            wrong += item.wrong;
        }
        const QString evaluation = evaluationText(app.texts, right, partly, wrong);
        if (!evaluation.isEmpty()) {
            app.ui.requesters().message(w.top(), app.texts.text(MessageText::EvaluationTitle),
                                        evaluation);
        }
        // A run's answers reach the disk with its end, not only when the program ends.
        saveProfile(app);
    }
    app.training.trainingPos = -1;
    app.training.checkState = CheckState::NoRun;
    w.setStatusText(2, QString());
    w.setStatusText(3, QString());
}

bool onTrainingControl(App& app, const ui::Event& event) {
    const bool leftClick = event.action == ui::Action::LeftClick;
    switch (event.control) {
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

void trainingKeyF2(App& app) {
    if (app.viewMode != ViewMode::Training) {
        return;
    }
    if (app.training.checkState == CheckState::Answering) {
        checkAnswers(app);
    } else if (app.training.checkState == CheckState::Checked) {
        nextQuestion(app);
    }
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
