// "Fällig": the kanji whose recall has fallen below the desired retention, and the new ones a
// day takes on.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/training/memorymodel.h"
#include "core/training/schedulefuzz.h"
#include "core/training/trainingrules.h"

#include <QTimeZone>

#include <optional>
#include <vector>

inline constexpr AnswerKind AllAnswerKinds[] = {AnswerKind::Kanji, AnswerKind::On, AnswerKind::Kun,
                                                AnswerKind::Meaning};

bool asksKind(AskedKinds kinds, AnswerKind kind);
void addKind(AskedKinds& kinds, AnswerKind kind);

struct DueQuestion {
    qint32 code = 0;
    // The kinds this kanji is asked for.
    AskedKinds kinds;
    // Its lowest recall among them now; 0 for a new kanji.
    double recall = 0;
};

struct DueOptions {
    AskedKinds asked;
    double retention = 0.9;
    qint64 now = 0;
    // The start of the learner's day (see learnerDayStart).
    qint64 dayStart = 0;
    qint32 newPerDay = 10;
    // The fuzzed and balanced due times (scheduleDue at the same retention); without one a kind
    // falls due when its recall reaches the retention.
    const DueSchedule* schedule = nullptr;
};

struct DueList {
    // Highest recall first: when the learner stops before the end of the list, the reviews left
    // are those of the most forgotten kanji, which a review would keep the least of.
    std::vector<DueQuestion> due;
    // New kanji in set order, as many as the day still takes.
    std::vector<DueQuestion> fresh;
    // Kanji whose first answer fell into the learner's day so far.
    qint32 begunToday = 0;
    // The earliest time an answered kind not due now falls due; none without one.
    std::optional<qint64> nextDue;

    qint32 dueCount() const { return qint32(due.size()); }
    qint32 newCount() const { return qint32(fresh.size()); }
};

// A learner's day begins at 4:00 local time, so a run past midnight still counts for the day it
// began in. now is UTC seconds; the result is the UTC second of the day's start.
qint64 learnerDayStart(qint64 now, const QTimeZone& zone = QTimeZone::systemTimeZone());

// The due and new kanji of the set for the asked kinds a kanji can answer. A kanji is due when
// recall in one of those kinds is below the retention; it is then asked those kinds, and any
// asked kind it was never asked before. A kanji is new while none of them was ever answered.
DueList dueList(const KanjiSet& set, const MemoryStates& states, const MemoryModel& model,
                const DueOptions& options);
