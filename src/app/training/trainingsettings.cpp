// The training page's settings: read from its boxes for each step of a run, their defaults, and
// the controls they call for.
#include "app/training/trainingsettings.h"

#include "app/state/app.h"
#include "app/state/trainingids.h"
#include "app/training/handwriting.h"

#include <array>
#include <utility>

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
                                    MarkMeaning,
                                    AlmostOn,
                                    AlmostKun,
                                    StrokeSlipLabel,
                                    UndoButton,
                                    EasyButton};

constexpr std::array JlptOptions{Jlpt4, Jlpt3, Jlpt2, Jlpt1};

constexpr std::array ScopeOptions{ScopeAll,  ScopeWorst,     ScopeRange,
                                  ScopeJlpt, ScopeSelection, ScopeDue};

int chosenJlptLevel(const ui::Window& w) {
    constexpr std::array Levels{std::pair{Jlpt4, 4}, std::pair{Jlpt3, 3}, std::pair{Jlpt2, 2},
                                std::pair{Jlpt1, 1}};
    for (const auto& [option, level] : Levels) {
        if (w.isChecked(option)) {
            return level;
        }
    }
    return 0;
}

TrainingScope chosenScope(const ui::Window& w) {
    constexpr std::array Scopes{std::pair{ScopeAll, TrainingScope::All},
                                std::pair{ScopeRange, TrainingScope::Range},
                                std::pair{ScopeJlpt, TrainingScope::Jlpt},
                                std::pair{ScopeWorst, TrainingScope::Worst},
                                std::pair{ScopeSelection, TrainingScope::Selection},
                                std::pair{ScopeDue, TrainingScope::Due}};
    for (const auto& [option, scope] : Scopes) {
        if (w.isChecked(option)) {
            return scope;
        }
    }
    return TrainingScope::None;
}

int scopeOption(TrainingScope scope) {
    switch (scope) {
        case TrainingScope::Worst:
            return ScopeWorst;
        case TrainingScope::Range:
            return ScopeRange;
        case TrainingScope::Jlpt:
            return ScopeJlpt;
        case TrainingScope::Selection:
            return ScopeSelection;
        case TrainingScope::Due:
            return ScopeDue;
        case TrainingScope::All:
        case TrainingScope::None:
            break;
    }
    return ScopeAll;
}

void checkKinds(ui::Window& w, const std::array<int, 4>& boxes, AskedKinds kinds) {
    w.setChecked(boxes[0], kinds.kanji);
    w.setChecked(boxes[1], kinds.on);
    w.setChecked(boxes[2], kinds.kun);
    w.setChecked(boxes[3], kinds.meaning);
}

// The learner's kept choices on the page's boxes; a range beyond the open set ends with it.
void restoreChoices(App& app, const TrainingSettings& kept) {
    ui::Window& w = *app.mainWindow;
    w.setChecked(ManualBox, kept.manual);
    checkKinds(w, {ShowKanjiBox, ShowOnBox, ShowKunBox, ShowMeaningBox}, kept.shown);
    checkKinds(w,
               kept.manual
                   ? std::array<int, 4>{AskKanjiBox, AskOnBox, AskKunBox, AskMeaningBox}
                   : std::array<int, 4>{ShortKanjiBox, ShortOnBox, ShortKunBox, ShortMeaningBox},
               kept.asked);
    w.setChecked(kept.worstRelative ? WorstRelative : WorstAbsolute, true);
    w.setSpinValue(RangeStart, kept.range.start);
    w.setSpinValue(RangeEnd, kept.range.end);
    w.setChecked(scopeOption(kept.scope), true);
    w.setChecked(kept.randomOrder ? OrderRandom : OrderIndex, true);
    const qint32 level = kept.jlptLevel >= 1 && kept.jlptLevel <= 4 ? kept.jlptLevel : 4;
    w.setChecked(JlptOptions[static_cast<size_t>(4 - level)], true);
}

void showAll(ui::Window& w, std::initializer_list<int> controls) {
    for (int control : controls) {
        w.setVisible(control, true);
    }
}

}  // namespace

TrainingSettings trainingSettings(const App& app) {
    const ui::Window& w = *app.mainWindow;
    TrainingSettings settings;
    settings.manual = w.isChecked(ManualBox);
    settings.scope = chosenScope(w);
    settings.range = {w.spinValue(RangeStart), w.spinValue(RangeEnd)};
    settings.worstRelative = w.isChecked(WorstRelative);
    settings.jlptLevel = chosenJlptLevel(w);
    settings.randomOrder = w.isChecked(OrderRandom);
    settings.shown = {w.isChecked(ShowKanjiBox), w.isChecked(ShowOnBox), w.isChecked(ShowKunBox),
                      w.isChecked(ShowMeaningBox)};
    settings.asked = settings.manual
                         ? AskedKinds{w.isChecked(AskKanjiBox), w.isChecked(AskOnBox),
                                      w.isChecked(AskKunBox), w.isChecked(AskMeaningBox)}
                         : AskedKinds{w.isChecked(ShortKanjiBox), w.isChecked(ShortOnBox),
                                      w.isChecked(ShortKunBox), w.isChecked(ShortMeaningBox)};
    return settings;
}

TrainingSettings defaultTrainingSettings(const App& app) {
    // As the page starts: with "Manuell".
    TrainingSettings settings;
    settings.manual = true;
    settings.scope = TrainingScope::All;
    settings.range = {1, app.kanjiSet.size()};
    settings.jlptLevel = 4;
    settings.randomOrder = true;
    settings.shown.kanji = true;
    settings.asked.on = true;
    return settings;
}

void resetTrainingSettings(App& app) {
    ui::Window& w = *app.mainWindow;
    w.setSpinRange(RangeStart, 1, std::max(1, app.kanjiSet.size() - 1));
    w.setSpinRange(RangeEnd, 1, std::max(1, app.kanjiSet.size()));
    if (app.learner.choicesKept()) {
        restoreChoices(app, app.learner.choices().settings);
    } else {
        w.setChecked(ShowKanjiBox, true);
        w.setChecked(AskOnBox, true);
        w.setChecked(WorstAbsolute, true);
        w.setSpinValue(RangeStart, 1);
        w.setSpinValue(RangeEnd, app.kanjiSet.size());
        w.setChecked(ScopeAll, true);
        w.setChecked(OrderRandom, true);
        w.setChecked(Jlpt4, true);
    }

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
                  app.texts.text(JlptLevelCaptions[static_cast<size_t>(i)]) +
                      QStringLiteral("  (") + QString::number(count) + QLatin1Char(')'));
        w.setEnabled(JlptOptions[static_cast<size_t>(i)], count != 0);
    }

    clearWritingCanvas(app.writingPad);
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
    // Nothing of the last question is left to read before the next one is asked.
    for (int field : {ShownOn, ShownKun, ShownMeaning}) {
        w.setText(field, QString());
    }
    w.setImage(QuestionImage, QImage());
    showTrainingControls(app, -1);
}
