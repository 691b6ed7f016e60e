// The memory model: FSRS-6 per kanji and answer kind, its state replayed from the review log.
#include "core/training/memorymodel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double MinStability = 0.001;
constexpr double MaxStability = 36500;

double clampStability(double stability) {
    return std::clamp(stability, MinStability, MaxStability);
}

double clampDifficulty(double difficulty) {
    return std::clamp(difficulty, 1.0, 10.0);
}

int grade(Rating rating) {
    return static_cast<int>(rating);
}

}  // namespace

Rating ratingOf(Grade verdict) {
    switch (verdict) {
        case Grade::Wrong:
            return Rating::Again;
        case Grade::Partly:
            return Rating::Hard;
        case Grade::Right:
            return Rating::Good;
        case Grade::Easy:
            break;
    }
    return Rating::Easy;
}

MemoryModel::MemoryModel(const MemoryParameters& parameters) : w_(parameters) {
    // The curve's shape: recall is 90 % after exactly one stability, whatever the decay.
    decay_ = -w_[20];
    factor_ = std::pow(0.9, 1.0 / decay_) - 1.0;
    easyDifficulty_ = initialDifficulty(Rating::Easy);
    recallGrowth_ = std::exp(w_[8]);
    sameDayLapse_ = std::exp(w_[17] * w_[18]);
}

double MemoryModel::recall(double stability, double elapsedDays) const {
    return std::pow(1.0 + factor_ * std::max(elapsedDays, 0.0) / stability, decay_);
}

double MemoryModel::recallAt(const MemoryState& state, qint64 now) const {
    return recall(state.stability, double(now - state.lastReview) / SecondsPerDay);
}

double MemoryModel::intervalDays(double stability, double retention) const {
    return stability / factor_ * (std::pow(retention, 1.0 / decay_) - 1.0);
}

qint64 MemoryModel::dueTime(const MemoryState& state, double retention) const {
    const double days = std::min(intervalDays(state.stability, retention), MaxStability * 10);
    return state.lastReview + qint64(std::ceil(days * SecondsPerDay));
}

double MemoryModel::initialDifficulty(Rating rating) const {
    return w_[4] - std::exp(w_[5] * (grade(rating) - 1)) + 1.0;
}

double MemoryModel::nextDifficulty(double difficulty, Rating rating) const {
    const double delta = -w_[6] * (grade(rating) - 3);
    // Linear damping: the nearer 10, the smaller a step up.
    const double damped = difficulty + delta * (10.0 - difficulty) / 9.0;
    // Mean reversion towards the unclamped initial difficulty of an Easy first answer.
    return clampDifficulty(w_[7] * easyDifficulty_ + (1.0 - w_[7]) * damped);
}

double MemoryModel::recallStability(double difficulty, double stability, double recall,
                                    Rating rating) const {
    const double hardPenalty = rating == Rating::Hard ? w_[15] : 1.0;
    const double easyBonus = rating == Rating::Easy ? w_[16] : 1.0;
    return stability *
           (1.0 + std::exp(w_[8]) * (11.0 - difficulty) * std::pow(stability, -w_[9]) *
                      (std::exp(w_[10] * (1.0 - recall)) - 1.0) * hardPenalty * easyBonus);
}

double MemoryModel::forgetStability(double difficulty, double stability, double recall) const {
    const double longTerm = w_[11] * std::pow(difficulty, -w_[12]) *
                            (std::pow(stability + 1.0, w_[13]) - 1.0) *
                            std::exp(w_[14] * (1.0 - recall));
    // A lapse never leaves a memory steadier than an Again the same day would.
    return std::min(longTerm, stability / sameDayLapse_);
}

double MemoryModel::shortTermStability(double stability, Rating rating) const {
    double increase =
        std::exp(w_[17] * (grade(rating) - 3 + w_[18])) * std::pow(stability, -w_[19]);
    if (grade(rating) >= 3) {
        increase = std::max(increase, 1.0);
    }
    return stability * increase;
}

MemoryState MemoryModel::first(Rating rating, qint64 time) const {
    MemoryState state;
    state.stability = clampStability(w_[size_t(grade(rating) - 1)]);
    state.difficulty = clampDifficulty(initialDifficulty(rating));
    state.lastReview = time;
    state.firstReview = time;
    state.reviews = 1;
    return state;
}

MemoryState MemoryModel::review(const MemoryState& state, Rating rating, qint64 time) const {
    MemoryState next = state;
    const qint64 elapsed = std::max<qint64>(0, time - state.lastReview);
    if (elapsed < SameDaySeconds) {
        next.stability = shortTermStability(state.stability, rating);
    } else {
        const double r = recall(state.stability, double(elapsed) / SecondsPerDay);
        next.stability = rating == Rating::Again
                             ? forgetStability(state.difficulty, state.stability, r)
                             : recallStability(state.difficulty, state.stability, r, rating);
    }
    next.stability = clampStability(next.stability);
    next.difficulty = nextDifficulty(state.difficulty, rating);
    next.lastReview = std::max(state.lastReview, time);
    // A seed's counts may already stand at the top.
    if (next.reviews < std::numeric_limits<qint32>::max()) {
        ++next.reviews;
    }
    return next;
}

MemoryState MemoryModel::seeded(qint32 right, qint32 partly, qint32 wrong, qint64 time) const {
    const qint64 total = qint64(std::max(right, 0)) + std::max(partly, 0) + std::max(wrong, 0);
    const qint64 share = total > 0 ? 100 * qint64(std::max(right, 0)) / total : 0;
    const Rating rating = share >= 80 ? Rating::Good : share >= 50 ? Rating::Hard : Rating::Again;
    MemoryState state = first(rating, time);
    for (qint32 i = 1; i < std::min(right, 4); ++i) {
        state.stability =
            clampStability(recallStability(state.difficulty, state.stability, 0.9, Rating::Good));
        state.difficulty = nextDifficulty(state.difficulty, Rating::Good);
    }
    state.reviews = qint32(std::min<qint64>(total, std::numeric_limits<qint32>::max()));
    return state;
}

size_t MemoryStates::slotOf(quint64 key) const {
    // Fibonacci hashing spreads neighbouring codes over the table.
    const size_t mask = keys_.size() - 1;
    size_t slot = size_t((key * 0x9E3779B97F4A7C15ULL) >> 20) & mask;
    while (keys_[slot] != Empty && keys_[slot] != key) {
        slot = (slot + 1) & mask;
    }
    return slot;
}

const MemoryState* MemoryStates::find(qint32 code, AnswerKind kind) const {
    if (count_ == 0) {
        return nullptr;
    }
    const size_t slot = slotOf(memoryKey(code, kind));
    return keys_[slot] == Empty ? nullptr : &values_[slot];
}

MemoryState* MemoryStates::find(qint32 code, AnswerKind kind) {
    return const_cast<MemoryState*>(std::as_const(*this).find(code, kind));
}

std::pair<MemoryState*, bool> MemoryStates::emplace(qint32 code, AnswerKind kind,
                                                    const MemoryState& state) {
    // At most half full, so a probe ends soon.
    if (2 * (count_ + 1) > keys_.size()) {
        grow(std::max<size_t>(64, 2 * keys_.size()));
    }
    const quint64 key = memoryKey(code, kind);
    const size_t slot = slotOf(key);
    if (keys_[slot] == key) {
        return {&values_[slot], false};
    }
    keys_[slot] = key;
    values_[slot] = state;
    ++count_;
    return {&values_[slot], true};
}

void MemoryStates::erase(qint32 code, AnswerKind kind) {
    if (count_ == 0) {
        return;
    }
    size_t slot = slotOf(memoryKey(code, kind));
    if (keys_[slot] == Empty) {
        return;
    }
    // Shifting back the entries of the probe run that follows, so no lookup stops at the hole.
    const size_t mask = keys_.size() - 1;
    keys_[slot] = Empty;
    --count_;
    for (size_t next = (slot + 1) & mask; keys_[next] != Empty; next = (next + 1) & mask) {
        const size_t home = size_t((keys_[next] * 0x9E3779B97F4A7C15ULL) >> 20) & mask;
        // The entry may fill the hole when its home does not lie cyclically in (slot, next].
        const bool stays =
            slot <= next ? (slot < home && home <= next) : (slot < home || home <= next);
        if (!stays) {
            keys_[slot] = keys_[next];
            values_[slot] = values_[next];
            keys_[next] = Empty;
            slot = next;
        }
    }
}

void MemoryStates::reserve(size_t count) {
    size_t capacity = 64;
    while (capacity < 2 * count) {
        capacity *= 2;
    }
    if (capacity > keys_.size()) {
        grow(capacity);
    }
}

void MemoryStates::grow(size_t capacity) {
    std::vector<quint64> keys(capacity, Empty);
    std::vector<MemoryState> values(capacity);
    keys.swap(keys_);
    values.swap(values_);
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] != Empty) {
            const size_t slot = slotOf(keys[i]);
            keys_[slot] = keys[i];
            values_[slot] = values[i];
        }
    }
}

void replayReview(MemoryStates& states, const ReviewEntry& entry, const MemoryModel& model) {
    switch (entry.type) {
        case ReviewEntryType::Seed:
            if (states.find(entry.code, entry.kind) == nullptr) {
                states.emplace(entry.code, entry.kind,
                               model.seeded(entry.right, entry.partly, entry.wrong, entry.time));
            }
            return;
        case ReviewEntryType::Answer:
            break;
        case ReviewEntryType::Undo:
            return;
    }
    const Rating rating = ratingOf(entry.verdict);
    if (MemoryState* state = states.find(entry.code, entry.kind)) {
        *state = model.review(*state, rating, std::max(entry.time, state->lastReview));
    } else {
        states.emplace(entry.code, entry.kind, model.first(rating, entry.time));
    }
}

MemoryStates replayReviews(const std::vector<ReviewEntry>& entries, const MemoryModel& model) {
    MemoryStates states;
    states.reserve(entries.size() / 4 + 16);
    UndoFilter filter([&](const ReviewEntry& entry) { replayReview(states, entry, model); });
    for (const ReviewEntry& entry : entries) {
        filter.push(entry);
    }
    filter.finish();
    return states;
}
