// The step a graded question takes in core: checked in the run, counted for the learner, and what
// the page shows after it worked out, so the page only reads fields and paints.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/training/learner.h"
#include "core/training/trainingsession.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

// A row of the run's list: a question asked so far, its answers in the run, and the kanji's
// quotas (On, Kun, meaning) in the profile.
struct RunRow {
    QString kanji;
    qint32 right = 0;
    qint32 wrong = 0;
    std::array<qint32, 3> quotas{};
};

// The rows of the questions asked so far.
std::vector<RunRow> runRows(const TrainingSession& run, const ProfileList& profile);

// "Fällig" and "Neu" of the learner now, and when the next review falls due.
struct DueCounts {
    qint32 due = 0;
    qint32 fresh = 0;
    std::optional<qint64> nextDue;
};

// The kanji due now for the asked kinds, and the new ones the day still takes; localNow gives the
// time and the zone the learner's day starts in.
DueList learnerDueList(const Learner& learner, const KanjiSet& set, AskedKinds asked,
                       const QDateTime& localNow);
DueCounts dueCounts(const Learner& learner, const KanjiSet& set, AskedKinds asked,
                    const QDateTime& localNow);

struct CheckedQuestion {
    // False when the question's kanji has left the set: nothing was checked.
    bool checked = false;
    // The grades, for the page to mark.
    GradedQuestion graded;
    // The readings typed with a slip of the keyboard, waiting for the next check.
    AskedKinds waiting{};
    // Why the log could not take the answers (they count all the same).
    FileResult<void> logged;
    // The run's score after the question, its list and what is due now.
    qint32 runRight = 0;
    qint32 runWrong = 0;
    qint32 runQuota = 0;
    std::vector<RunRow> rows;
    // With a profile in use.
    DueCounts due;
};

// Checks the run's current question and counts its answers into the learner's profile, log and
// memory, in one step: the kinds asked of the kanji's record (TrainingSession::askedKinds with
// settings, less the texts it lacks), the written kanji graded by gradeKanji when it is asked
// (before the texts, as the learner may be asked to confirm it), the typed texts by the answer
// check (TrainingSession::check), then Learner::answer; localNow is the answer's time.
CheckedQuestion checkQuestion(TrainingSession& run, Learner& learner, const KanjiSet& set,
                              const TrainingSettings& settings, const TypedAnswers& typed,
                              const std::function<Grade(qint32 code)>& gradeKanji,
                              const QDateTime& localNow, qint32 durationMs);
