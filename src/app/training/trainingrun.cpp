// A training run: building the questions, showing one after another, grading the answers and
// recording them in the run and in the profile.
#include "app/training/trainingrun.h"

#include "app/kanjiset/kanjiimage.h"
#include "app/shell/app.h"
#include "app/shell/mainids.h"
#include "app/training/profilecommands.h"
#include "app/training/selectiondialog.h"
#include "app/training/trainingpage.h"
#include "core/kanjiset/kanjisetops.h"
#include "core/training/answercheck.h"
#include "ui/widgets.h"

#include <QLineEdit>

#include <array>

namespace {

bool manual(const App& app) {
    return app.mainWindow->isChecked(ManualBox);
}

// The position of the kanji with that code in the set, -1 when the set no longer holds it.
int positionOf(const App& app, qint32 code) {
    const int found = findByCode(app.kanjiSet, code);
    return found >= 0 && app.kanjiSet.records[static_cast<size_t>(found)].Unicode == code ? found
                                                                                          : -1;
}

void appendQuestion(std::vector<TrainingItem>& list, qint32 code) {
    list.push_back(TrainingItem{code, 0, 0, 0});
}

std::vector<TrainingItem> questionsOfSet(const App& app, const auto& take) {
    std::vector<TrainingItem> list;
    for (const KanjiRecord& record : app.kanjiSet.records) {
        if (take(record)) {
            appendQuestion(list, record.Unicode);
        }
    }
    return list;
}

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

// The kanji of the chosen scope, in the order it gives them; codes the set does not hold are
// left out.
std::vector<TrainingItem> scopeQuestions(App& app) {
    const ui::Window& w = *app.mainWindow;
    if (w.isChecked(ScopeAll)) {
        return questionsOfSet(app, [](const KanjiRecord&) { return true; });
    }
    if (w.isChecked(ScopeRange)) {
        const int start = w.spinValue(RangeStart);
        const int end = w.spinValue(RangeEnd);
        return questionsOfSet(
            app, [=](const KanjiRecord& r) { return r.Idx1 >= start && r.Idx1 <= end; });
    }
    if (w.isChecked(ScopeJlpt)) {
        const int level = chosenJlptLevel(w);
        return questionsOfSet(app,
                              [=](const KanjiRecord& r) { return level != 0 && r.Idx2 == level; });
    }
    std::vector<qint32> codes;
    if (w.isChecked(ScopeWorst)) {
        const qint32 n =
            worstCount(w.spinValue(RangeEnd), w.isChecked(WorstRelative), app.kanjiSet.size());
        codes = worstAnsweredCodes(app.profile.profileList, askedKinds(app), n);
    } else if (w.isChecked(ScopeSelection)) {
        std::optional<std::vector<qint32>> chosen = openTrainingSelection(app);
        if (chosen && chosen->size() >= 2) {
            codes = std::move(*chosen);
        }
    }
    std::vector<TrainingItem> list;
    for (qint32 code : codes) {
        if (positionOf(app, code) >= 0) {
            appendQuestion(list, code);
        }
    }
    return list;
}

// The questions of the chosen scope that have something to ask: a blank record, or a kanji whose
// every asked text is empty, would only record answers never given.
std::vector<TrainingItem> buildQuestions(App& app) {
    std::vector<TrainingItem> questions = scopeQuestions(app);
    const AskedKinds asked = askedKinds(app);
    std::erase_if(questions, [&](const TrainingItem& item) {
        const int position = positionOf(app, item.Code);
        return position < 0 ||
               !isTrainingQuestion(app.kanjiSet.records[static_cast<size_t>(position)], asked);
    });
    return questions;
}

void setAnswerControlsVisible(ui::Window& w, AskedKinds asked) {
    w.setVisible(AnswerOn, asked.on);
    w.setVisible(AnswerOnLabel, asked.on);
    w.setVisible(AnswerKun, asked.kun);
    w.setVisible(AnswerKunLabel, asked.kun);
    w.setVisible(AnswerMeaning, asked.meaning);
    w.setVisible(AnswerMeaningLabel, asked.meaning);
    w.setVisible(CanvasImage, asked.kanji);
}

// The answer field the learner types into first; -1 when no text is asked.
int firstAnswerField(AskedKinds answered) {
    return answered.on        ? AnswerOn
           : answered.kun     ? AnswerKun
           : answered.meaning ? AnswerMeaning
                              : -1;
}

void showQuestion(App& app) {
    ui::Window& w = *app.mainWindow;
    TrainingRun& run = app.training;
    const bool isManual = manual(app);
    if (!isManual) {
        // Without a list the question is whatever kanji the learner put on the card.
        const KanjiRecord* current = app.kanjiSet.currentRecord();
        if (current == nullptr || !isTrainingQuestion(*current, askedKinds(app))) {
            endTraining(app, true);
            return;
        }
        run.trainingList.resize(std::max(run.trainingList.size(), size_t(run.trainingPos) + 1));
        run.trainingList[static_cast<size_t>(run.trainingPos)] = {current->Unicode, 0, 0, 0};
        run.trainingLast = std::max(run.trainingLast, run.trainingPos);
    }
    const int position =
        positionOf(app, run.trainingList[static_cast<size_t>(run.trainingPos)].Code);
    if (position < 0) {
        nextQuestion(app);
        return;
    }
    app.kanjiSet.current = position;
    KanjiRecord& record = app.kanjiSet.records[static_cast<size_t>(position)];

    w.setText(AnswerOn, QString());
    w.setText(AnswerKun, QString());
    w.setText(AnswerMeaning, QString());
    const bool showKanji = w.isChecked(ShowKanjiBox);
    const bool showOn = w.isChecked(ShowOnBox);
    const bool showKun = w.isChecked(ShowKunBox);
    const bool showMeaning = w.isChecked(ShowMeaningBox);
    w.setVisible(QuestionImage, showKanji);
    w.setVisible(ShownOn, showOn);
    w.setVisible(ShownOnLabel, showOn);
    w.setVisible(ShownKun, showKun);
    w.setVisible(ShownKunLabel, showKun);
    w.setVisible(ShownMeaning, showMeaning);
    w.setVisible(ShownMeaningLabel, showMeaning);
    for (int mark : {MarkOn, MarkKun, MarkMeaning, CanvasMark}) {
        w.setVisible(mark, false);
    }
    const AskedKinds asked = askedKinds(app);
    setAnswerControlsVisible(w, asked);
    // A kind this kanji has no text for stays in its place but takes no answer.
    const AskedKinds answered = questionKinds(record, asked);
    w.setEnabled(AnswerOn, answered.on);
    w.setEnabled(AnswerKun, answered.kun);
    w.setEnabled(AnswerMeaning, answered.meaning);

    w.setImage(QuestionImage, kanjiImageOf(record, app.resources.kanjiFont));
    w.setText(ShownOn, record.OnYomi);
    w.setText(ShownKun, record.KunYomi);
    w.setText(ShownMeaning, record.Bemerkung);
    w.setStatusText(
        2, app.texts.text(MessageText::TrainingPosition)
               .arg(QString::number(run.trainingPos + 1), QString::number(run.trainingLast + 1)));
    if (asked.kanji) {
        clearWritingCanvas(app);
        w.setImage(CanvasImage, app.writingPad.writingCanvas);
    }
    if (auto* field = w.get<QLineEdit>(firstAnswerField(answered))) {
        field->setFocus();
    }
    run.checkState = CheckState::Answering;
    w.setVisible(CheckButton, true);
    w.setVisible(NextQuestionButton, false);
}

// Counts one graded answer into the question, the run and, with a profile, the kanji's record.
void recordAnswer(App& app, AnswerKind kind, qint32 code, AnswerResult result) {
    TrainingRun& run = app.training;
    TrainingItem& item = run.trainingList[static_cast<size_t>(run.trainingPos)];
    switch (result) {
        case AnswerResult::Wrong:
            ++item.wrong;
            ++run.runWrong;
            break;
        case AnswerResult::Partly:
            ++item.partly;
            ++run.runWrong;
            break;
        case AnswerResult::Right:
            ++item.right;
            ++run.runRight;
            break;
    }
    ProfileList& profile = app.profile.profileList;
    if (!app.profile.profileName.isEmpty() && findProfileRecord(profile, code)) {
        recordInStats(profile.currentRecord()->stats(kind), result, answerTime(app.ui.localNow()));
    }
}

const QImage& markOf(const App& app, AnswerResult result) {
    switch (result) {
        case AnswerResult::Wrong:
            return app.resources.icon(ControlIcon::Wrong);
        case AnswerResult::Partly:
            return app.resources.icon(ControlIcon::Partly);
        case AnswerResult::Right:
            break;
    }
    return app.resources.icon(ControlIcon::Ok);
}

AnswerResult resultOf(HandwritingVerdict verdict) {
    switch (verdict) {
        case HandwritingVerdict::Right:
            return AnswerResult::Right;
        case HandwritingVerdict::Partly:
            return AnswerResult::Partly;
        case HandwritingVerdict::Wrong:
            break;
    }
    return AnswerResult::Wrong;
}

struct GradedKind {
    AnswerKind kind;
    int answer;
    int mark;
    int shown;
    int shownLabel;
};

QString referenceOf(const KanjiRecord& record, AnswerKind kind) {
    switch (kind) {
        case AnswerKind::On:
            return record.OnYomi;
        case AnswerKind::Kun:
            return record.KunYomi;
        case AnswerKind::Meaning:
        case AnswerKind::Kanji:
            break;
    }
    return record.Bemerkung;
}

QColor rowColour(const App& app, qint32 right) {
    constexpr std::array ByRightAnswers{0, 2, 4, 5};
    return app.resources.quoteColours[static_cast<size_t>(
        ByRightAnswers[static_cast<size_t>(std::clamp(right, 0, 3))])];
}

qint32 quotaOfCounts(const AnswerStats& stats) {
    return qint64(stats.Right) + stats.Wrong >= 1 ? storedQuota(stats.Right, stats.Wrong) : 0;
}

}  // namespace

AskedKinds askedKinds(const App& app) {
    const ui::Window& w = *app.mainWindow;
    if (w.isChecked(ManualBox)) {
        return {w.isChecked(AskKanjiBox), w.isChecked(AskOnBox), w.isChecked(AskKunBox),
                w.isChecked(AskMeaningBox)};
    }
    return {w.isChecked(ShortKanjiBox), w.isChecked(ShortOnBox), w.isChecked(ShortKunBox),
            w.isChecked(ShortMeaningBox)};
}

void startTraining(App& app) {
    ui::Window& w = *app.mainWindow;
    TrainingRun& run = app.training;
    if (run.trainingPos != -1) {
        return;
    }
    bool begin = false;
    if (manual(app)) {
        run.trainingList = buildQuestions(app);
        if (w.isChecked(OrderRandom)) {
            std::mt19937 random(app.ui.randomSeed());
            shuffleQuestions(run.trainingList, random);
        }
        run.trainingLast = static_cast<qint32>(run.trainingList.size()) - 1;
        begin = run.trainingLast >= 1;
    } else {
        // An open-ended run: each question is the kanji on the card when it is shown.
        run.trainingList.clear();
        run.trainingLast = 0;
        const KanjiRecord* current = app.kanjiSet.currentRecord();
        begin = current != nullptr && isTrainingQuestion(*current, askedKinds(app));
    }
    refreshTrainingList(app);
    if (!begin) {
        return;
    }
    w.setEnabled(StartButton, false);
    w.setEnabled(TrainingEndButton, true);
    w.setVisible(CheckButton, true);
    w.setVisible(NextQuestionButton, true);
    run.trainingPos = 0;
    run.runRight = 0;
    run.runWrong = 0;
    showQuestion(app);
}

void resumeTraining(App& app) {
    const TrainingRun& run = app.training;
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
        positionOf(app, run.trainingList[static_cast<size_t>(run.trainingPos)].Code);
    if (position < 0) {
        return;
    }
    const AskedKinds answered =
        questionKinds(app.kanjiSet.records[static_cast<size_t>(position)], askedKinds(app));
    if (auto* field = w.get<QLineEdit>(firstAnswerField(answered))) {
        field->setFocus();
    }
}

void nextQuestion(App& app) {
    TrainingRun& run = app.training;
    if (run.trainingPos == -1) {
        return;
    }
    ++run.trainingPos;
    if (manual(app) && run.trainingPos > run.trainingLast) {
        endTraining(app, true);
        return;
    }
    showQuestion(app);
}

void checkAnswers(App& app) {
    TrainingRun& run = app.training;
    if (run.checkState != CheckState::Answering) {
        return;
    }
    ui::Window& w = *app.mainWindow;
    const TrainingItem& item = run.trainingList[static_cast<size_t>(run.trainingPos)];
    const qint32 code = item.Code;
    const int position = positionOf(app, code);
    if (position < 0) {
        return;
    }
    const KanjiRecord& record = app.kanjiSet.records[static_cast<size_t>(position)];
    const AskedKinds asked = questionKinds(record, askedKinds(app));
    if (asked.kanji) {
        w.setVisible(QuestionImage, true);
        const HandwritingGrade grade = gradeWrittenKanji(app, code);
        w.setImage(CanvasImage, app.writingPad.writingCanvas);
        w.setImage(CanvasMark, markOf(app, resultOf(grade.verdict)));
        w.setVisible(CanvasMark, true);
        // The learner has the last word; the verdict only suggests the answer.
        const bool right = app.ui.requesters().yesNo(
            w.top(), app.texts.text(MessageText::CheckKanjiTitle),
            app.texts.text(MessageText::CheckKanjiQuestion) + QStringLiteral("\n\n") +
                handwritingVerdictText(app.texts, grade),
            grade.verdict == HandwritingVerdict::Right ? ui::YesNoDefault::Yes
                                                       : ui::YesNoDefault::No);
        recordAnswer(app, AnswerKind::Kanji, code,
                     right ? AnswerResult::Right : AnswerResult::Wrong);
    }
    const std::array<std::pair<bool, GradedKind>, 3> graded{{
        {asked.on, {AnswerKind::On, AnswerOn, MarkOn, ShownOn, ShownOnLabel}},
        {asked.kun, {AnswerKind::Kun, AnswerKun, MarkKun, ShownKun, ShownKunLabel}},
        {asked.meaning,
         {AnswerKind::Meaning, AnswerMeaning, MarkMeaning, ShownMeaning, ShownMeaningLabel}},
    }};
    for (const auto& [isAsked, kind] : graded) {
        if (!isAsked) {
            continue;
        }
        const AnswerResult result =
            compareAnswer(referenceOf(record, kind.kind), w.text(kind.answer));
        w.setImage(kind.mark, markOf(app, result));
        recordAnswer(app, kind.kind, code, result);
        w.setVisible(kind.mark, true);
        w.setVisible(kind.shown, true);
        w.setVisible(kind.shownLabel, true);
    }
    const qint32 quota = runningQuota(run.runRight, run.runWrong);
    w.setStatusText(3, runningScoreText(app.texts, run.runRight, run.runWrong, quota));
    refreshTrainingList(app);
    w.setVisible(CheckButton, false);
    w.setVisible(NextQuestionButton, true);
    run.checkState = CheckState::Checked;
}

void refreshTrainingList(App& app) {
    auto* list = app.mainWindow->get<ui::ReportList>(StatisticsList);
    list->clearRows();
    const TrainingRun& run = app.training;
    for (qint32 i = 0; i <= run.trainingPos && i < static_cast<qint32>(run.trainingList.size());
         ++i) {
        const TrainingItem& item = run.trainingList[static_cast<size_t>(i)];
        QStringList cells{kanjiText(item.Code), QString::number(item.right) + QLatin1Char('.') +
                                                    QString::number(item.wrong)};
        ProfileList& profile = app.profile.profileList;
        const bool found = findProfileRecord(profile, item.Code);
        for (AnswerKind kind : {AnswerKind::On, AnswerKind::Kun, AnswerKind::Meaning}) {
            cells << QString::number(found ? quotaOfCounts(profile.currentRecord()->stats(kind))
                                           : 0);
        }
        const int row = list->addRow(cells);
        list->setRowColour(row, rowColour(app, item.right));
    }
    list->scrollToBottom();
}

void dropQuestionsOf(App& app, qint32 code) {
    TrainingRun& run = app.training;
    // Another kanji of the same code still answers its questions.
    if (run.trainingPos == -1 || positionOf(app, code) >= 0) {
        return;
    }
    bool currentDropped = false;
    std::vector<TrainingItem> kept;
    qint32 position = run.trainingPos;
    for (qint32 i = 0; i < static_cast<qint32>(run.trainingList.size()); ++i) {
        const TrainingItem& item = run.trainingList[static_cast<size_t>(i)];
        if (item.Code != code) {
            kept.push_back(item);
        } else if (i < run.trainingPos) {
            --position;
        } else if (i == run.trainingPos) {
            currentDropped = true;
        }
    }
    if (kept.size() == run.trainingList.size()) {
        return;
    }
    run.trainingList = std::move(kept);
    run.trainingLast = static_cast<qint32>(run.trainingList.size()) - 1;
    run.trainingPos = position;
    if (run.trainingList.empty()) {
        endTraining(app, true);
        return;
    }
    if (currentDropped) {
        // The next question moved into the dropped one's place; asked from its start.
        if (run.trainingPos > run.trainingLast) {
            if (manual(app)) {
                endTraining(app, true);
                return;
            }
            run.trainingPos = run.trainingLast + 1;
        }
        showQuestion(app);
    }
    refreshTrainingList(app);
}
