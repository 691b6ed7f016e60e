// A training run without its window: the settings it reads, the questions it builds, the answers
// it counts, and what each step leaves for the page to show.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/training/duelist.h"
#include "core/training/gradedquestion.h"
#include "core/training/profilerecord.h"
#include "core/training/trainingrules.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Which kanji a run with "Manuell" asks; None while no scope option is chosen, which asks none.
// Due ("Fällig") asks the due list's kanji, each only for its own kinds.
enum class TrainingScope { None, All, Worst, Range, Jlpt, Selection, Due };

// The training page's settings as they are when a step needs them.
struct TrainingSettings {
    bool manual = false;
    TrainingScope scope = TrainingScope::None;
    // "Spanne" asks from start to end; "Schlechtesten" asks end kanji, or end percent.
    TrainingRange range;
    bool worstRelative = false;
    // The level the JLPT scope asks, 4 to 1; 0 when none is chosen.
    qint32 jlptLevel = 0;
    bool randomOrder = false;
    // The parts of the kanji shown with the question.
    AskedKinds shown;
    // "frage nach" with "Manuell", the short box without.
    AskedKinds asked;
};

// What the learner typed into the question's text fields.
struct TypedAnswers {
    QString on;
    QString kun;
    QString meaning;
};

// Where a question stands: no run, answers awaited, answers graded.
enum class CheckState { NoRun = 0, Answering = 1, Checked = 2 };

// One question: the kanji by its code, and how its answers went in this run.
struct TrainingItem {
    qint32 Code = 0;
    qint32 right = 0;
    qint32 partly = 0;
    qint32 wrong = 0;
    // The kinds it asks: the settings' asked kinds, or a due kanji's own.
    AskedKinds kinds{};
    // The kinds answered wrong or partly right in this run.
    AskedKinds missed{};
};

// What a step leaves to show: nothing new, the question at trainingPos (now the set's current
// kanji), or the end of the run, whose evaluation is due.
enum class RunStep { Unchanged, Asking, Ended };

// What dropping a kanji's questions leaves to show: the run untouched, only its list shorter, the
// question in the dropped one's place to ask from its start, or the end of the run.
enum class DropStep { Unchanged, ListChanged, QuestionDropped, Ended };

// The answers of a run's questions, summed.
struct RunTotals {
    qint32 right = 0;
    qint32 partly = 0;
    qint32 wrong = 0;
};

// The position of the kanji with that code in the set, -1 when the set no longer holds it.
int questionPosition(const KanjiSet& set, qint32 code);

// The questions a run with "Manuell" asks, in the scope's order: chosen holds the selection
// dialog's codes (two at least, or none is asked), due the "Fällig" list (its due kanji, then
// its new ones). Codes the set does not hold, a blank record and a kanji whose every asked text
// is empty are left out.
std::vector<TrainingItem> trainingQuestions(const TrainingSettings& settings, const KanjiSet& set,
                                            const ProfileList& profile,
                                            const std::vector<qint32>& chosen,
                                            const DueList& due = {});

// The questions of a run of the misses: each kanji of the run with a wrong or partly right
// answer once, in the order first asked, asking the kinds it missed.
std::vector<TrainingItem> missedQuestions(const std::vector<TrainingItem>& run);

struct TrainingSession {
    std::vector<TrainingItem> trainingList;
    qint32 trainingLast = -1;
    qint32 trainingPos = -1;
    CheckState checkState = CheckState::NoRun;
    // Right answers, and wrong and partly right ones, of the run.
    qint32 runRight = 0;
    qint32 runWrong = 0;
    // The kanji the run going on, or else the last run, has asked, in the order asked; unlike
    // trainingList, which holds a planned run's questions whether it came to them or not.
    std::vector<qint32> askedCodes;
    // When the page showed the current question, in its clock's milliseconds: where the time
    // the learner took starts.
    qint64 shownAtMs = 0;

    // A run of the misses: its questions ask their own kinds in their order, whatever the page's
    // settings say, and one question is a run.
    bool retraining = false;
    // The current question's kinds graded so far, and the readings whose slip of the keyboard
    // was let pass once; such a reading waits for the next check, which grades it as usual.
    AskedKinds gradedKinds{};
    AskedKinds slipForgiven{};

    bool running() const { return trainingPos != -1; }
    // What the current question asks: a due kanji its own kinds, any other the page's boxes as
    // they are now.
    AskedKinds askedKinds(const TrainingSettings& settings) const;

    // Takes the questions of a new run and says whether there is one to begin: with "Manuell"
    // two questions at least, in random order when asked (seed is called only then); without,
    // an open-ended run of whatever kanji is current when a question is asked.
    bool plan(const TrainingSettings& settings, std::vector<TrainingItem> questions,
              const KanjiSet& set, const std::function<quint32()>& seed);
    // Takes the questions of a run of the misses; there is one to begin when they are not none.
    bool planRetraining(std::vector<TrainingItem> questions);
    // Starts the planned run at its first question.
    RunStep begin(const TrainingSettings& settings, KanjiSet& set);
    // Asks the question at trainingPos, passing over kanji the set no longer holds; without
    // "Manuell" the question is the set's current kanji.
    RunStep ask(const TrainingSettings& settings, KanjiSet& set);
    // The question after the current one, or the end after the last.
    RunStep next(const TrainingSettings& settings, KanjiSet& set);

    // Grades the current question and counts it into the question and the run; the question is
    // then checked, unless a reading waits. Kinds graded by an earlier check of the question are
    // passed over. With lenientTypos, a reading typed with a slip of the keyboard (isReadingSlip)
    // is not graded the first time: it waits for the next check, which grades it as usual. asked
    // holds the kinds the kanji's record answers; each text kind is graded by
    // the answer check against the record's text, the kanji by the grade its writing got (given
    // whenever the kanji is asked). The kanji's grade comes first. time (UTC seconds) and
    // durationMs go into the graded question, for the learner to count (Learner::answer).
    GradedQuestion check(const KanjiRecord& record, AskedKinds asked, const TypedAnswers& typed,
                         std::optional<Grade> kanji, qint64 time, qint32 durationMs,
                         bool lenientTypos = false);

    // A kanji left the set: its questions leave the run, unless another kanji of the same code
    // still answers them.
    DropStep drop(qint32 code, const KanjiSet& set, const TrainingSettings& settings);

    // Keeps the counts as they are before a check, for undo to bring back.
    void keepUndoPoint();
    // Brings back the counts kept before the last check, of the question asked now; false when
    // none are kept.
    bool undoLastCheck();
    bool canUndoCheck() const { return undoPoint_ && undoPoint_->position == trainingPos; }

    RunTotals totals() const;
    void end();

private:
    // Counts one graded answer into the current question and the run.
    void count(AnswerKind kind, Grade grade);

    struct UndoPoint {
        qint32 position = -1;
        TrainingItem item;
        qint32 runRight = 0;
        qint32 runWrong = 0;
        AskedKinds gradedKinds{};
        AskedKinds slipForgiven{};
    };
    std::optional<UndoPoint> undoPoint_;
};
