// A question's answers as they were graded, given together: what the learner of a set counts.
#pragma once

#include "core/training/grade.h"
#include "core/training/profilerecord.h"

#include <QtGlobal>

#include <vector>

// One kind of a question, graded.
struct GradedAnswer {
    AnswerKind kind = AnswerKind::Kanji;
    Grade grade = Grade::Wrong;

    bool operator==(const GradedAnswer&) const = default;
};

// A question's answers: its kanji, each asked kind with its grade, when it was graded (UTC
// seconds) and how long the learner took (milliseconds, 0 when unknown).
struct GradedQuestion {
    qint32 code = 0;
    std::vector<GradedAnswer> answers;
    qint64 time = 0;
    qint32 durationMs = 0;

    bool operator==(const GradedQuestion&) const = default;
};
