// The memory model: FSRS-6 per kanji and answer kind, its state replayed from the review log.
#pragma once

#include "core/training/profilerecord.h"
#include "core/training/reviewlog.h"

#include <QtGlobal>

#include <array>
#include <utility>
#include <vector>

using MemoryParameters = std::array<double, 21>;

// FSRS-6's published defaults w0..w20 and the bounds its optimiser keeps them in (the
// open-spaced-repetition project: fsrs4anki wiki "The Algorithm", FSRS-6, and py-fsrs 6).
inline constexpr MemoryParameters DefaultMemoryParameters{
    0.212,  1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001,  1.8722, 0.1666, 0.796,
    1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542};
inline constexpr MemoryParameters MemoryParameterLow{
    0.001, 0.001, 0.001, 0.001, 1.0, 0.001, 0.001, 0.001, 0.0, 0.0, 0.001,
    0.001, 0.001, 0.001, 0.0,   0.0, 1.0,   0.0,   0.0,   0.0, 0.1};
inline constexpr MemoryParameters MemoryParameterHigh{100.0, 100.0, 100.0, 100.0, 10.0, 4.0,  4.0,
                                                      0.75,  4.5,   0.8,   3.5,   5.0,  0.25, 0.9,
                                                      4.0,   1.0,   6.0,   2.0,   2.0,  0.8,  0.8};

// The learner's own grade of a recall, as FSRS counts it.
enum class Rating { Again = 1, Hard = 2, Good = 3, Easy = 4 };

// wrong → Again, partly → Hard, right → Good, easy → Easy.
Rating ratingOf(Grade verdict);

inline constexpr qint64 SecondsPerDay = 86400;

struct MemoryState {
    // Days until recall falls to 90 %.
    double stability = 0;
    // 1 (easy) to 10 (hard).
    double difficulty = 0;
    // UTC seconds of the last review, and of the first (a seed's time for a seeded history).
    qint64 lastReview = 0;
    qint64 firstReview = 0;
    qint32 reviews = 0;
};

// Reviews closer than this count as same-day ones, which FSRS-6 treats by its short-term rule.
inline constexpr qint64 SameDaySeconds = SecondsPerDay;

class MemoryModel {
public:
    explicit MemoryModel(const MemoryParameters& parameters = DefaultMemoryParameters);

    const MemoryParameters& parameters() const { return w_; }

    // The probability of recall elapsedDays after the last review at that stability.
    double recall(double stability, double elapsedDays) const;
    double recallAt(const MemoryState& state, qint64 now) const;
    // Days after the last review until recall falls to retention (0 < retention < 1).
    double intervalDays(double stability, double retention) const;
    // The UTC second recall falls below retention.
    qint64 dueTime(const MemoryState& state, double retention) const;

    // The state after the first review of a kanji's kind.
    MemoryState first(Rating rating, qint64 time) const;
    // The state after a further review at time.
    MemoryState review(const MemoryState& state, Rating rating, qint64 time) const;
    // The state a profile's counts give a kind that had no log. The history counts as one review
    // at the last answer, rated Good at 80 % right of all answers, Hard at 50 %, Again below;
    // then each right answer beyond the first, three at most, as a Good review taken when
    // recall had fallen to 90 %. Older answers cannot be placed in time, so they earn no more.
    MemoryState seeded(qint32 right, qint32 partly, qint32 wrong, qint64 time) const;

    // The pieces of FSRS-6, each its published formula.
    double initialDifficulty(Rating rating) const;
    double nextDifficulty(double difficulty, Rating rating) const;
    double recallStability(double difficulty, double stability, double recall, Rating rating) const;
    double forgetStability(double difficulty, double stability, double recall) const;
    double shortTermStability(double stability, Rating rating) const;

private:
    MemoryParameters w_;
    double decay_;
    double factor_;
    // Terms of the formulas that depend on the parameters alone, worked out once.
    double easyDifficulty_;
    double recallGrowth_;
    double sameDayLapse_;
};

// A kanji's kind as one number.
inline quint64 memoryKey(qint32 code, AnswerKind kind) {
    return (quint64(quint32(code)) << 2) | quint64(kind);
}

// The states of every kanji's kinds, by code and kind. An open-addressing table: the due list
// looks up every kind of every kanji of a set, and a node per state would cost a cache miss more
// for each of them.
class MemoryStates {
public:
    const MemoryState* find(qint32 code, AnswerKind kind) const;
    MemoryState* find(qint32 code, AnswerKind kind);
    // The state of that kind, inserted as state when it had none; true when it was inserted.
    std::pair<MemoryState*, bool> emplace(qint32 code, AnswerKind kind, const MemoryState& state);
    // Removes the state of that kind, if it has one.
    void erase(qint32 code, AnswerKind kind);
    size_t size() const { return count_; }
    void reserve(size_t count);

    // Calls f(code, kind, state) for every state, in no particular order.
    template <class F>
    void forEach(F&& f) const {
        for (size_t i = 0; i < keys_.size(); ++i) {
            if (keys_[i] != Empty) {
                f(qint32(keys_[i] >> 2), AnswerKind(keys_[i] & 3), values_[i]);
            }
        }
    }

private:
    static constexpr quint64 Empty = ~quint64(0);
    size_t slotOf(quint64 key) const;
    void grow(size_t capacity);

    std::vector<quint64> keys_;
    std::vector<MemoryState> values_;
    size_t count_ = 0;
};

// Moves a kind's state on by one entry of the log: a seed sets a kind's first state (a seed after
// a kind's answers is passed over: the answers it sums up cannot be placed in time, and those
// replayed can), an answer moves it on; an undo record is passed over (see UndoFilter). An answer
// dated before the one it follows (a clock set back) counts as given at the same time.
void replayReview(MemoryStates& states, const ReviewEntry& entry, const MemoryModel& model);
// Replays the log from its start, entries in log order, with undone answers left out.
MemoryStates replayReviews(const std::vector<ReviewEntry>& entries, const MemoryModel& model);
