// A training run on the page: the learner's steps go to the session, and what they leave is shown.
#include "app/training/trainingrun.h"

#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/state/pictures.h"
#include "app/state/trainingids.h"
#include "app/training/dailyreview.h"
#include "app/training/handwriting.h"
#include "app/training/kanjiverdict.h"
#include "app/training/learnersync.h"
#include "app/training/livewriting.h"
#include "app/training/profilecommands.h"
#include "app/training/selectiondialog.h"
#include "app/training/trainingsettings.h"
#include "core/training/questionundo.h"
#include "core/training/trainingstep.h"
#include "ui/widgets.h"

#include <QLineEdit>

#include <algorithm>
#include <array>
#include <limits>

namespace {

// The controls of one text of the kanji: shown with the question, and answered.
struct TextPart {
    AnswerKind kind;
    bool AskedKinds::*part;
    int shown;
    int shownLabel;
    int answer;
    int answerLabel;
    int mark;
};

constexpr std::array TextParts{
    TextPart{AnswerKind::On, &AskedKinds::on, ShownOn, ShownOnLabel, AnswerOn, AnswerOnLabel,
             MarkOn},
    TextPart{AnswerKind::Kun, &AskedKinds::kun, ShownKun, ShownKunLabel, AnswerKun, AnswerKunLabel,
             MarkKun},
    TextPart{AnswerKind::Meaning, &AskedKinds::meaning, ShownMeaning, ShownMeaningLabel,
             AnswerMeaning, AnswerMeaningLabel, MarkMeaning}};

// The answer field the learner types into first; -1 when no text is asked.
int firstAnswerField(AskedKinds answered) {
    return answered.on        ? AnswerOn
           : answered.kun     ? AnswerKun
           : answered.meaning ? AnswerMeaning
                              : -1;
}

// Asks the current question: with empty fields, or after an undo with what was typed kept.
void showQuestion(App& app, const TrainingSettings& settings, bool keepTyped = false) {
    ui::Window& w = *app.mainWindow;
    const TrainingSession& run = app.training;
    KanjiRecord& record = *app.kanjiSet.currentRecord();

    if (!keepTyped) {
        w.setText(AnswerOn, QString());
        w.setText(AnswerKun, QString());
        w.setText(AnswerMeaning, QString());
    }
    for (int control :
         {AlmostOn, AlmostKun, StrokeSlipLabel, UndoButton, EasyButton, RetrainButton}) {
        w.setVisible(control, false);
    }
    const AskedKinds shown = settings.shown;
    w.setVisible(QuestionImage, shown.kanji);
    for (const TextPart& text : TextParts) {
        w.setVisible(text.shown, shown.*text.part);
        w.setVisible(text.shownLabel, shown.*text.part);
    }
    for (int mark : {MarkOn, MarkKun, MarkMeaning, CanvasMark}) {
        w.setVisible(mark, false);
    }
    const AskedKinds asked = run.askedKinds(settings);
    for (const TextPart& text : TextParts) {
        w.setVisible(text.answer, asked.*text.part);
        w.setVisible(text.answerLabel, asked.*text.part);
    }
    w.setVisible(CanvasImage, asked.kanji);
    // A kind this kanji has no text for stays in its place but takes no answer.
    const AskedKinds answered = questionKinds(record, asked);
    w.setEnabled(AnswerOn, answered.on);
    w.setEnabled(AnswerKun, answered.kun);
    w.setEnabled(AnswerMeaning, answered.meaning);

    w.setImage(QuestionImage, app.pictures.kanji(record.Unicode, app.resources.kanjiFont));
    w.setText(ShownOn, record.OnYomi);
    w.setText(ShownKun, record.KunYomi);
    w.setText(ShownMeaning, record.Bemerkung);
    w.setStatusText(
        2, app.texts.text(MessageText::TrainingPosition)
               .arg(QString::number(run.trainingPos + 1), QString::number(run.trainingLast + 1)));
    if (asked.kanji) {
        clearWritingCanvas(app.writingPad);
        w.setImage(CanvasImage, app.writingPad.writingCanvas);
    }
    if (auto* field = w.get<QLineEdit>(firstAnswerField(answered))) {
        field->setFocus();
    }
    w.setVisible(CheckButton, true);
    w.setVisible(NextQuestionButton, false);
    app.training.shownAtMs = app.ui.ticks();
}

void showStep(App& app, const TrainingSettings& settings, RunStep step) {
    switch (step) {
        case RunStep::Asking:
            showQuestion(app, settings);
            break;
        case RunStep::Ended:
            endTraining(app, true);
            break;
        case RunStep::Unchanged:
            break;
    }
}

// How long the learner took over the question, from when it was shown.
qint32 durationOf(const App& app) {
    const qint64 taken = app.ui.ticks() - app.training.shownAtMs;
    return qint32(std::clamp<qint64>(taken, 0, std::numeric_limits<qint32>::max()));
}

// The rows chosen in the selection dialog for that scope; none when it is cancelled.
std::vector<qint32> chosenCodes(App& app, const TrainingSettings& settings) {
    if (settings.scope != TrainingScope::Selection) {
        return {};
    }
    return openTrainingSelection(app).value_or(std::vector<qint32>{});
}

const QImage& markOf(const App& app, Grade result) {
    switch (result) {
        case Grade::Wrong:
            return app.resources.icon(ControlIcon::Wrong);
        case Grade::Partly:
            return app.resources.icon(ControlIcon::Partly);
        case Grade::Right:
        case Grade::Easy:
            break;
    }
    return app.resources.icon(ControlIcon::Ok);
}

QColor rowColour(const App& app, qint32 right) {
    constexpr std::array ByRightAnswers{0, 2, 4, 5};
    return app.resources.quoteColours[static_cast<size_t>(
        ByRightAnswers[static_cast<size_t>(std::clamp(right, 0, 3))])];
}

// The run's questions so far in the list right of the page, with their colours and quotas.
void paintTrainingList(App& app, const std::vector<RunRow>& rows) {
    auto* list = app.mainWindow->get<ui::ReportList>(StatisticsList);
    list->clearRows();
    for (const RunRow& row : rows) {
        QStringList cells{
            row.kanji, QString::number(row.right) + QLatin1Char('.') + QString::number(row.wrong)};
        for (qint32 quota : row.quotas) {
            cells << QString::number(quota);
        }
        list->setRowColour(list->addRow(cells), rowColour(app, row.right));
    }
    list->scrollToBottom();
}

// The grade of the written kanji: judged stroke by stroke while it was written, or else graded
// now and confirmed by the learner, who has the last word. Its mark goes on the canvas.
Grade writtenKanjiGrade(App& app, qint32 code) {
    ui::Window& w = *app.mainWindow;
    w.setVisible(QuestionImage, true);
    // Written stroke by stroke, every stroke was judged already: no question follows.
    const std::optional<Grade> live =
        liveWritingOn(app)
            ? liveWritingResult(app.writingPad, app.handwriting.referenceStrokes(code))
            : std::nullopt;
    if (live) {
        w.setImage(CanvasMark, markOf(app, *live));
        w.setVisible(CanvasMark, true);
        return *live;
    }
    const HandwritingGrade grade = gradeWrittenKanji(app.handwriting, app.writingPad, code);
    w.setImage(CanvasImage, app.writingPad.writingCanvas);
    w.setImage(CanvasMark, markOf(app, grade.verdict));
    w.setVisible(CanvasMark, true);
    // The verdict only suggests the answer.
    return confirmKanjiVerdict(app, grade);
}

// Shows the run's score, list and due counts as they are now; the current question has its row
// once it is checked.
void paintRun(App& app) {
    const TrainingSession& run = app.training;
    app.mainWindow->setStatusText(3, runningScoreText(app.texts, run.runRight, run.runWrong,
                                                      runningQuota(run.runRight, run.runWrong)));
    std::vector<RunRow> rows = runRows(run, app.learner.profile());
    if (run.checkState != CheckState::Checked && !rows.empty()) {
        rows.pop_back();
    }
    paintTrainingList(app, rows);
    showDueCounts(app, trainingSettings(app).asked);
}

// Begins the planned run at its first question.
void beginRun(App& app, const TrainingSettings& settings) {
    ui::Window& w = *app.mainWindow;
    w.setEnabled(StartButton, false);
    w.setEnabled(TrainingEndButton, true);
    w.setVisible(CheckButton, true);
    w.setVisible(NextQuestionButton, true);
    w.setVisible(RetrainButton, false);
    showStep(app, settings, app.training.begin(settings, app.kanjiSet));
    showDueCounts(app, settings.asked);
}

}  // namespace

void startTraining(App& app) {
    TrainingSession& run = app.training;
    if (run.running()) {
        return;
    }
    const TrainingSettings settings = trainingSettings(app);
    std::vector<TrainingItem> questions;
    if (settings.manual) {
        const DueList due =
            settings.scope == TrainingScope::Due ? dueListNow(app, settings.asked) : DueList{};
        questions = trainingQuestions(settings, app.kanjiSet, app.learner.profile(),
                                      chosenCodes(app, settings), due);
    }
    keepTrainingChoices(app, settings);
    const bool begin = run.plan(settings, std::move(questions), app.kanjiSet,
                                [&app] { return app.ui.randomSeed(); });
    refreshTrainingList(app);
    if (begin) {
        beginRun(app, settings);
    }
}

void retrainMisses(App& app) {
    TrainingSession& run = app.training;
    if (run.running()) {
        return;
    }
    // The page's settings stay as the learner chose them: the run's questions carry their kinds.
    std::vector<TrainingItem> questions;
    for (TrainingItem item : missedQuestions(run.trainingList)) {
        const int position = questionPosition(app.kanjiSet, item.Code);
        if (position >= 0) {
            item.kinds =
                questionKinds(app.kanjiSet.records[static_cast<size_t>(position)], item.kinds);
            if (item.kinds.count() > 0) {
                questions.push_back(item);
            }
        }
    }
    if (run.planRetraining(std::move(questions))) {
        refreshTrainingList(app);
        beginRun(app, trainingSettings(app));
    }
}

void undoAnswer(App& app) {
    TrainingSession& run = app.training;
    const std::optional<Undone> undone = undoCheckedQuestion(run, app.learner);
    if (!undone) {
        return;
    }
    if (undone->logFailure) {
        tellLogFailure(app, *undone->logFailure);
    }
    // Asked again as it was: what was typed stays, the writing starts afresh.
    showQuestion(app, trainingSettings(app), true);
    paintRun(app);
}

void makeAnswersEasy(App& app) {
    const std::optional<FileResult<void>> recorded = recordRightAsEasy(app.training, app.learner);
    if (!recorded) {
        return;
    }
    if (!*recorded) {
        tellLogFailure(app, recorded->error());
    }
    app.mainWindow->setVisible(EasyButton, false);
    paintRun(app);
}

void resumeTraining(App& app) {
    const TrainingSession& run = app.training;
    if (run.checkState != CheckState::Answering) {
        return;
    }
    ui::Window& w = *app.mainWindow;
    // The field the learner was typing in when the page was left, as the page remembers it.
    const QWidget* remembered =
        w.get<ui::TabPanel>(Panel)->page(pageIndex(ViewMode::Training))->focusWidget();
    for (int id : {AnswerOn, AnswerKun, AnswerMeaning}) {
        QWidget* field = w.control(id);
        if (field != nullptr && field == remembered && w.isVisible(id) && w.isEnabled(id)) {
            field->setFocus();
            return;
        }
    }
    if (run.trainingPos < 0 || run.trainingPos >= static_cast<qint32>(run.trainingList.size())) {
        return;
    }
    const int position =
        questionPosition(app.kanjiSet, run.trainingList[static_cast<size_t>(run.trainingPos)].Code);
    if (position < 0) {
        return;
    }
    const AskedKinds answered = questionKinds(app.kanjiSet.records[static_cast<size_t>(position)],
                                              run.askedKinds(trainingSettings(app)));
    if (auto* field = w.get<QLineEdit>(firstAnswerField(answered))) {
        field->setFocus();
    }
}

void nextQuestion(App& app) {
    const TrainingSettings settings = trainingSettings(app);
    showStep(app, settings, app.training.next(settings, app.kanjiSet));
}

void checkAnswers(App& app) {
    TrainingSession& run = app.training;
    if (run.checkState != CheckState::Answering) {
        return;
    }
    ui::Window& w = *app.mainWindow;
    const TrainingSettings settings = trainingSettings(app);
    const TypedAnswers typed{w.text(AnswerOn), w.text(AnswerKun), w.text(AnswerMeaning)};
    // One step in core: the run, the profile, the log and the memory take the question together,
    // and it hands back all the page shows.
    followReplacedLog(app);
    const CheckedQuestion checked = checkQuestion(
        run, app.learner, app.kanjiSet, settings, typed,
        [&app](qint32 code) { return writtenKanjiGrade(app, code); }, app.ui.localNow(),
        durationOf(app));
    noteAppended(app, checked.graded);
    if (!checked.checked) {
        return;
    }
    if (!checked.logged) {
        tellLogFailure(app, checked.logged.error());
    }
    w.setVisible(AlmostOn, checked.waiting.on);
    w.setVisible(AlmostKun, checked.waiting.kun);
    for (const GradedAnswer& answer : checked.graded.answers) {
        const auto text =
            std::find_if(TextParts.begin(), TextParts.end(),
                         [&](const TextPart& part) { return part.kind == answer.kind; });
        if (text == TextParts.end()) {
            continue;
        }
        w.setImage(text->mark, markOf(app, answer.grade));
        w.setVisible(text->mark, true);
        w.setVisible(text->shown, true);
        w.setVisible(text->shownLabel, true);
    }
    w.setStatusText(
        3, runningScoreText(app.texts, checked.runRight, checked.runWrong, checked.runQuota));
    paintTrainingList(app, checked.rows);
    paintDueCounts(app, checked.due);
    if (run.checkState == CheckState::Answering) {
        // A reading waits: the learner looks at it again, the rest is graded.
        if (auto* field = w.get<QLineEdit>(checked.waiting.on ? AnswerOn : AnswerKun)) {
            field->setFocus();
        }
        return;
    }
    w.setVisible(CheckButton, false);
    w.setVisible(NextQuestionButton, true);
    w.setVisible(UndoButton, true);
    w.setVisible(EasyButton, std::ranges::any_of(checked.graded.answers, [](const auto& answer) {
                     return answer.grade == Grade::Right;
                 }));
    // Out of the text fields, so that Ctrl+Z takes the question back instead of typing.
    w.control(NextQuestionButton)->setFocus();
}

void refreshTrainingList(App& app) {
    paintTrainingList(app, runRows(app.training, app.learner.profile()));
}

void dropQuestionsOf(App& app, qint32 code) {
    TrainingSession& run = app.training;
    if (!run.running()) {
        return;
    }
    const TrainingSettings settings = trainingSettings(app);
    switch (run.drop(code, app.kanjiSet, settings)) {
        case DropStep::Unchanged:
            return;
        case DropStep::Ended:
            endTraining(app, true);
            return;
        case DropStep::QuestionDropped:
            // The next question moved into the dropped one's place; asked from its start.
            showStep(app, settings, run.ask(settings, app.kanjiSet));
            break;
        case DropStep::ListChanged:
            break;
    }
    refreshTrainingList(app);
}

void endTraining(App& app, bool show) {
    ui::Window& w = *app.mainWindow;
    restTrainingControls(app);
    for (int field = 2; field <= 5; ++field) {
        w.setStatusText(field, QString());
    }
    if (show) {
        const RunTotals totals = app.training.totals();
        const QString evaluation =
            evaluationText(app.texts, totals.right, totals.partly, totals.wrong);
        if (!evaluation.isEmpty()) {
            app.ui.requesters().message(w.top(), app.texts.text(MessageText::EvaluationTitle),
                                        evaluation);
        }
        // A run's answers reach the disk with its end, not only when the program ends.
        saveProfile(app);
        const auto misses = static_cast<qint32>(missedQuestions(app.training.trainingList).size());
        w.setText(RetrainButton, app.texts.text(MessageText::RetrainMisses).arg(misses));
        w.setVisible(RetrainButton, misses > 0);
    }
    syncLearner(app);
    app.training.end();
    w.setStatusText(2, QString());
    w.setStatusText(3, QString());
    showDueCounts(app, trainingSettings(app).asked);
}
