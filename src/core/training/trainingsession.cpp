// A training run without its window: the settings it reads, the questions it builds, the answers
// it counts, and what each step leaves for the page to show.
#include "core/training/trainingsession.h"

#include "core/kanjiset/kanjisetops.h"
#include "core/training/answercheck.h"
#include "core/training/meaningcheck.h"
#include "core/training/readingslip.h"

#include <algorithm>
#include <array>
#include <random>
#include <tuple>

namespace {

std::vector<TrainingItem> questionsOfSet(const KanjiSet& set, const auto& take) {
    std::vector<TrainingItem> list;
    for (const KanjiRecord& record : set.records) {
        if (take(record)) {
            list.push_back(TrainingItem{.Code = record.Unicode});
        }
    }
    return list;
}

// The kanji of the chosen scope, in the order it gives them; codes the set does not hold are
// left out.
std::vector<TrainingItem> scopeQuestions(const TrainingSettings& settings, const KanjiSet& set,
                                         const ProfileList& profile,
                                         const std::vector<qint32>& chosen, const DueList& due) {
    const TrainingRange range = settings.range;
    const qint32 level = settings.jlptLevel;
    std::vector<qint32> codes;
    switch (settings.scope) {
        case TrainingScope::All:
            return questionsOfSet(set, [](const KanjiRecord&) { return true; });
        case TrainingScope::Range:
            return questionsOfSet(set, [=](const KanjiRecord& r) {
                return r.Idx1 >= range.start && r.Idx1 <= range.end;
            });
        case TrainingScope::Jlpt:
            return questionsOfSet(
                set, [=](const KanjiRecord& r) { return level != 0 && r.Idx2 == level; });
        case TrainingScope::Worst:
            codes = worstAnsweredCodes(profile, settings.asked,
                                       worstCount(range.end, settings.worstRelative, set.size()));
            break;
        case TrainingScope::Selection:
            if (chosen.size() >= 2) {
                codes = chosen;
            }
            break;
        case TrainingScope::Due: {
            std::vector<TrainingItem> list;
            // The day's new kanji first: the reviews then fill the rest of the learner's time, and
            // a backlog of them cannot keep new kanji from being begun.
            for (const auto* part : {&due.fresh, &due.due}) {
                for (const DueQuestion& question : *part) {
                    list.push_back(TrainingItem{.Code = question.code, .kinds = question.kinds});
                }
            }
            return list;
        }
        case TrainingScope::None:
            break;
    }
    std::vector<TrainingItem> list;
    for (qint32 code : codes) {
        if (questionPosition(set, code) >= 0) {
            list.push_back(TrainingItem{.Code = code});
        }
    }
    return list;
}

}  // namespace

std::vector<TrainingItem> missedQuestions(const std::vector<TrainingItem>& run) {
    std::vector<TrainingItem> questions;
    for (const TrainingItem& item : run) {
        if (item.missed.count() == 0) {
            continue;
        }
        // Without "Manuell" a kanji may have been asked more than once: it is asked once again.
        const auto known = std::ranges::find(questions, item.Code, &TrainingItem::Code);
        TrainingItem& question =
            known != questions.end() ? *known : questions.emplace_back(TrainingItem{item.Code});
        for (AnswerKind kind : AllAnswerKinds) {
            if (asksKind(item.missed, kind)) {
                addKind(question.kinds, kind);
            }
        }
    }
    return questions;
}

int questionPosition(const KanjiSet& set, qint32 code) {
    const int found = findByCode(set, code);
    return found >= 0 && set.records[static_cast<size_t>(found)].Unicode == code ? found : -1;
}

std::vector<TrainingItem> trainingQuestions(const TrainingSettings& settings, const KanjiSet& set,
                                            const ProfileList& profile,
                                            const std::vector<qint32>& chosen, const DueList& due) {
    std::vector<TrainingItem> questions = scopeQuestions(settings, set, profile, chosen, due);
    if (settings.scope != TrainingScope::Due) {
        for (TrainingItem& item : questions) {
            item.kinds = settings.asked;
        }
    }
    // A blank record, or a kanji whose every asked text is empty, would only record answers
    // never given; a due kanji is asked only what its record can still answer.
    std::vector<TrainingItem> asked;
    asked.reserve(questions.size());
    for (TrainingItem& item : questions) {
        const int position = questionPosition(set, item.Code);
        if (position >= 0) {
            item.kinds = questionKinds(set.records[static_cast<size_t>(position)], item.kinds);
            if (item.kinds.count() > 0) {
                asked.push_back(item);
            }
        }
    }
    return asked;
}

bool TrainingSession::plan(const TrainingSettings& settings, std::vector<TrainingItem> questions,
                           const KanjiSet& set, const std::function<quint32()>& seed) {
    retraining = false;
    if (settings.manual) {
        trainingList = std::move(questions);
        if (settings.randomOrder) {
            std::mt19937 random(seed());
            shuffleQuestions(trainingList, random);
        }
        trainingLast = static_cast<qint32>(trainingList.size()) - 1;
        return trainingLast >= 1;
    }
    trainingList.clear();
    trainingLast = 0;
    const KanjiRecord* current = set.currentRecord();
    return current != nullptr && isTrainingQuestion(*current, settings.asked);
}

bool TrainingSession::planRetraining(std::vector<TrainingItem> questions) {
    trainingList = std::move(questions);
    trainingLast = static_cast<qint32>(trainingList.size()) - 1;
    retraining = !trainingList.empty();
    return retraining;
}

RunStep TrainingSession::begin(const TrainingSettings& settings, KanjiSet& set) {
    trainingPos = 0;
    runRight = 0;
    runWrong = 0;
    askedCodes.clear();
    return ask(settings, set);
}

RunStep TrainingSession::ask(const TrainingSettings& settings, KanjiSet& set) {
    const bool manual = settings.manual || retraining;
    gradedKinds = {};
    slipForgiven = {};
    undoPoint_.reset();
    while (true) {
        if (!manual) {
            const KanjiRecord* current = set.currentRecord();
            if (current == nullptr || !isTrainingQuestion(*current, settings.asked)) {
                return RunStep::Ended;
            }
            const auto at = static_cast<size_t>(trainingPos);
            trainingList.resize(std::max(trainingList.size(), at + 1));
            trainingList[at] = TrainingItem{.Code = current->Unicode, .kinds = settings.asked};
            trainingLast = std::max(trainingLast, trainingPos);
        }
        const int position =
            questionPosition(set, trainingList[static_cast<size_t>(trainingPos)].Code);
        if (position >= 0) {
            set.current = position;
            checkState = CheckState::Answering;
            askedCodes.push_back(set.records[static_cast<size_t>(position)].Unicode);
            return RunStep::Asking;
        }
        ++trainingPos;
        if (manual && trainingPos > trainingLast) {
            return RunStep::Ended;
        }
    }
}

RunStep TrainingSession::next(const TrainingSettings& settings, KanjiSet& set) {
    if (!running()) {
        return RunStep::Unchanged;
    }
    ++trainingPos;
    if ((settings.manual || retraining) && trainingPos > trainingLast) {
        return RunStep::Ended;
    }
    return ask(settings, set);
}

GradedQuestion TrainingSession::check(const KanjiRecord& record, AskedKinds asked,
                                      const TypedAnswers& typed, std::optional<Grade> kanji,
                                      qint64 time, qint32 durationMs, bool lenientTypos) {
    keepUndoPoint();
    GradedQuestion graded;
    graded.code = record.Unicode;
    graded.time = time;
    graded.durationMs = durationMs;
    if (asked.kanji && !gradedKinds.kanji && kanji) {
        graded.answers.push_back({AnswerKind::Kanji, *kanji});
        gradedKinds.kanji = true;
    }
    const std::array texts{
        std::tuple{asked.on, AnswerKind::On, &record.OnYomi, &typed.on},
        std::tuple{asked.kun, AnswerKind::Kun, &record.KunYomi, &typed.kun},
        std::tuple{asked.meaning, AnswerKind::Meaning, &record.Bemerkung, &typed.meaning}};
    bool waiting = false;
    for (const auto& [isAsked, kind, reference, answer] : texts) {
        if (!isAsked || asksKind(gradedKinds, kind)) {
            continue;
        }
        if (lenientTypos && kind != AnswerKind::Meaning && !asksKind(slipForgiven, kind) &&
            isReadingSlip(*reference, *answer)) {
            addKind(slipForgiven, kind);
            waiting = true;
            continue;
        }
        graded.answers.push_back({kind, kind == AnswerKind::Meaning
                                            ? compareMeaning(*reference, *answer)
                                            : compareAnswer(*reference, *answer)});
        addKind(gradedKinds, kind);
    }
    if (running() && trainingPos < static_cast<qint32>(trainingList.size())) {
        for (const GradedAnswer& answer : graded.answers) {
            count(answer.kind, answer.grade);
        }
    }
    checkState = waiting ? CheckState::Answering : CheckState::Checked;
    return graded;
}

void TrainingSession::count(AnswerKind kind, Grade grade) {
    TrainingItem& item = trainingList[static_cast<size_t>(trainingPos)];
    if (!isRight(grade)) {
        addKind(item.missed, kind);
    }
    switch (grade) {
        case Grade::Wrong:
            ++item.wrong;
            ++runWrong;
            break;
        case Grade::Partly:
            ++item.partly;
            ++runWrong;
            break;
        case Grade::Right:
        case Grade::Easy:
            ++item.right;
            ++runRight;
            break;
    }
}

DropStep TrainingSession::drop(qint32 code, const KanjiSet& set, const TrainingSettings& settings) {
    if (!running() || questionPosition(set, code) >= 0) {
        return DropStep::Unchanged;
    }
    bool currentDropped = false;
    std::vector<TrainingItem> kept;
    qint32 position = trainingPos;
    for (qint32 i = 0; i < static_cast<qint32>(trainingList.size()); ++i) {
        const TrainingItem& item = trainingList[static_cast<size_t>(i)];
        if (item.Code != code) {
            kept.push_back(item);
        } else if (i < trainingPos) {
            --position;
        } else if (i == trainingPos) {
            currentDropped = true;
        }
    }
    if (kept.size() == trainingList.size()) {
        return DropStep::Unchanged;
    }
    trainingList = std::move(kept);
    trainingLast = static_cast<qint32>(trainingList.size()) - 1;
    trainingPos = position;
    if (trainingList.empty()) {
        return DropStep::Ended;
    }
    if (!currentDropped) {
        return DropStep::ListChanged;
    }
    if (trainingPos > trainingLast) {
        if (settings.manual || retraining) {
            return DropStep::Ended;
        }
        trainingPos = trainingLast + 1;
    }
    return DropStep::QuestionDropped;
}

AskedKinds TrainingSession::askedKinds(const TrainingSettings& settings) const {
    if (retraining && trainingPos >= 0 && trainingPos < static_cast<qint32>(trainingList.size())) {
        return trainingList[static_cast<size_t>(trainingPos)].kinds;
    }
    if (settings.scope == TrainingScope::Due && settings.manual && trainingPos >= 0 &&
        trainingPos < static_cast<qint32>(trainingList.size())) {
        return trainingList[static_cast<size_t>(trainingPos)].kinds;
    }
    return settings.asked;
}

RunTotals TrainingSession::totals() const {
    RunTotals sum;
    for (const TrainingItem& item : trainingList) {
        sum.right += item.right;
        sum.partly += item.partly;
        sum.wrong += item.wrong;
    }
    return sum;
}

void TrainingSession::keepUndoPoint() {
    if (trainingPos < 0 || trainingPos >= static_cast<qint32>(trainingList.size())) {
        return;
    }
    undoPoint_ = UndoPoint{trainingPos, trainingList[static_cast<size_t>(trainingPos)],
                           runRight,    runWrong,
                           gradedKinds, slipForgiven};
}

bool TrainingSession::undoLastCheck() {
    if (!undoPoint_ || undoPoint_->position != trainingPos) {
        return false;
    }
    trainingList[static_cast<size_t>(trainingPos)] = undoPoint_->item;
    runRight = undoPoint_->runRight;
    runWrong = undoPoint_->runWrong;
    gradedKinds = undoPoint_->gradedKinds;
    slipForgiven = undoPoint_->slipForgiven;
    undoPoint_.reset();
    checkState = CheckState::Answering;
    return true;
}

void TrainingSession::end() {
    trainingPos = -1;
    checkState = CheckState::NoRun;
    retraining = false;
    undoPoint_.reset();
}
