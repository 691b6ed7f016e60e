// A checked question taken back, or recorded again as easy, through the learner.
#include "core/training/questionundo.h"

#include <algorithm>

std::optional<Undone> undoCheckedQuestion(TrainingSession& run, Learner& learner) {
    if (run.checkState != CheckState::Checked || !run.canUndoCheck()) {
        return std::nullopt;
    }
    // Without a profile the learner counts nothing, and only the run's counts go back.
    std::optional<Undone> undone = learner.canUndo() ? learner.undo() : std::nullopt;
    if (!undone) {
        undone.emplace();
        undone->question.code = run.trainingList[static_cast<size_t>(run.trainingPos)].Code;
    }
    run.undoLastCheck();
    return undone;
}

std::optional<FileResult<void>> recordRightAsEasy(const TrainingSession& run, Learner& learner) {
    if (run.checkState != CheckState::Checked || !learner.canUndo()) {
        return std::nullopt;
    }
    const std::optional<GradedQuestion> last = learner.lastQuestion();
    if (!last || std::ranges::none_of(last->answers, [](const GradedAnswer& answer) {
            return answer.grade == Grade::Right;
        })) {
        return std::nullopt;
    }
    const Undone undone = *learner.undo();
    GradedQuestion again = undone.question;
    for (GradedAnswer& answer : again.answers) {
        if (answer.grade == Grade::Right) {
            answer.grade = Grade::Easy;
        }
    }
    FileResult<void> written = learner.answer(again);
    if (undone.logFailure) {
        return FileResult<void>(unexpected(*undone.logFailure));
    }
    return written;
}
