// The day each kanji's kind falls due: its interval fuzzed as FSRS and Anki fuzz it, and within
// the fuzz range the day that keeps a kanji's kinds apart and the days' loads even.
#pragma once

#include "core/training/memorymodel.h"

#include <optional>
#include <unordered_map>
#include <vector>

// The whole days after its review an interval may fall due on.
struct FuzzRange {
    qint32 low = 0;
    qint32 high = 0;
};

// Intervals under 2.5 days are not fuzzed (none). Above, the range reaches a day either side,
// plus 15 % of the part of the interval between 2.5 and 7 days, 10 % of the part between 7 and
// 20 and 5 % of the part beyond 20, rounded to whole days and never below 2.
std::optional<FuzzRange> fuzzRange(double intervalDays);

// A number that stands for one review of a kanji's kind: the same at every replay of the log.
quint64 fuzzSeed(qint32 code, AnswerKind kind, qint64 reviewTime);

// The due times of every kind the memory holds, for one retention.
class DueSchedule {
public:
    // The UTC second that kind falls due; none for a kind the memory does not hold.
    std::optional<qint64> dueTime(qint32 code, AnswerKind kind) const;
    void set(qint32 code, AnswerKind kind, qint64 time) { due_[memoryKey(code, kind)] = time; }
    size_t size() const { return due_.size(); }

private:
    std::unordered_map<quint64, qint64> due_;
};

// The due time of every state at that retention. An interval under 2.5 days falls due when
// recall reaches the retention, but not within a day of the last review. A longer one falls due
// at the start of a learner day within its fuzz range: not a day another kind of the kanji falls
// due on where the range allows, then the day with the fewest kinds already due, then the day the
// review's fuzz seed picks. Kinds are placed in the order of their last reviews, so each review
// sees the days as it would have when it was given; the same states and retention always give
// the same schedule. Learner days begin at dayStart and every 24 hours before and after it.
DueSchedule scheduleDue(const MemoryStates& states, const MemoryModel& model, double retention,
                        qint64 dayStart);
