// The day each kanji's kind falls due: its interval fuzzed as FSRS and Anki fuzz it, and within
// the fuzz range the day that keeps a kanji's kinds apart and the days' loads even.
#include "core/training/schedulefuzz.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace {

struct FuzzStep {
    double start;
    double end;
    double factor;
};

constexpr std::array<FuzzStep, 3> FuzzSteps{
    {{2.5, 7.0, 0.15}, {7.0, 20.0, 0.10}, {20.0, std::numeric_limits<double>::infinity(), 0.05}}};

// Intervals are kept within a hundred years, so day numbers stay small.
constexpr double LongestInterval = 36500;

quint64 mix(quint64 x) {
    // splitmix64's finaliser: every input bit moves every output bit.
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

qint64 dayOf(qint64 time, qint64 dayStart) {
    const qint64 offset = time - dayStart;
    return offset >= 0 ? offset / SecondsPerDay : -((-offset + SecondsPerDay - 1) / SecondsPerDay);
}

struct Placed {
    qint32 code;
    AnswerKind kind;
    const MemoryState* state;
};

// Days a kind is due on, counted per day from the earliest review on.
class DayLoads {
public:
    explicit DayLoads(qint64 firstDay) : first_(firstDay) {}
    qint32 at(qint64 day) const {
        const qint64 i = day - first_;
        return i >= 0 && i < qint64(loads_.size()) ? loads_[size_t(i)] : 0;
    }
    void add(qint64 day) {
        const qint64 i = day - first_;
        if (i < 0) {
            return;
        }
        if (i >= qint64(loads_.size())) {
            loads_.resize(size_t(i) + 64, 0);
        }
        ++loads_[size_t(i)];
    }

private:
    qint64 first_;
    std::vector<qint32> loads_;
};

}  // namespace

std::optional<FuzzRange> fuzzRange(double intervalDays) {
    if (!(intervalDays >= 2.5)) {
        return std::nullopt;
    }
    const double interval = std::min(intervalDays, LongestInterval);
    double delta = 1.0;
    for (const FuzzStep& step : FuzzSteps) {
        delta += step.factor * std::max(std::min(interval, step.end) - step.start, 0.0);
    }
    const auto high = qint32(std::lround(interval + delta));
    const auto low = std::min(high, std::max<qint32>(2, qint32(std::lround(interval - delta))));
    return FuzzRange{low, high};
}

quint64 fuzzSeed(qint32 code, AnswerKind kind, qint64 reviewTime) {
    return mix(mix(memoryKey(code, kind)) ^ quint64(reviewTime));
}

std::optional<qint64> DueSchedule::dueTime(qint32 code, AnswerKind kind) const {
    const auto found = due_.find(memoryKey(code, kind));
    if (found == due_.end()) {
        return std::nullopt;
    }
    return found->second;
}

DueSchedule scheduleDue(const MemoryStates& states, const MemoryModel& model, double retention,
                        qint64 dayStart) {
    std::vector<Placed> order;
    order.reserve(states.size());
    states.forEach([&order](qint32 code, AnswerKind kind, const MemoryState& state) {
        order.push_back(Placed{code, kind, &state});
    });
    std::sort(order.begin(), order.end(), [](const Placed& a, const Placed& b) {
        if (a.state->lastReview != b.state->lastReview) {
            return a.state->lastReview < b.state->lastReview;
        }
        return memoryKey(a.code, a.kind) < memoryKey(b.code, b.kind);
    });

    const double daysPerStability = model.intervalDays(1.0, retention);
    DueSchedule schedule;
    DayLoads loads(order.empty() ? 0 : dayOf(order.front().state->lastReview, dayStart));
    // The due days of a kanji's kinds placed so far.
    std::unordered_map<qint32, std::array<qint64, 4>> kindDays;
    constexpr qint64 NoDay = std::numeric_limits<qint64>::min();
    for (const Placed& placed : order) {
        const MemoryState& state = *placed.state;
        const double interval = std::min(state.stability * daysPerStability, LongestInterval);
        const std::optional<FuzzRange> range = fuzzRange(interval);
        auto [days, fresh] = kindDays.try_emplace(placed.code);
        if (fresh) {
            days->second.fill(NoDay);
        }
        if (!range) {
            // A review within a day of the last is a same-day one to the model, which barely
            // strengthens the memory: the answer is asked again a day later at the soonest.
            const qint64 due =
                state.lastReview +
                std::max(SameDaySeconds, qint64(std::ceil(interval * SecondsPerDay)));
            schedule.set(placed.code, placed.kind, due);
            days->second[size_t(placed.kind)] = dayOf(due, dayStart);
            loads.add(dayOf(due, dayStart));
            continue;
        }
        const qint64 reviewDay = dayOf(state.lastReview, dayStart);
        const quint64 seed = fuzzSeed(placed.code, placed.kind, state.lastReview);
        qint64 best = 0;
        // Sibling clash, load, then the seed's draw: the smallest wins.
        std::array<quint64, 3> bestScore{~quint64(0), ~quint64(0), ~quint64(0)};
        for (qint32 after = range->low; after <= range->high; ++after) {
            const qint64 day = reviewDay + after;
            bool clash = false;
            for (size_t kind = 0; kind < 4; ++kind) {
                clash = clash || (kind != size_t(placed.kind) && days->second[kind] == day);
            }
            const std::array<quint64, 3> score{quint64(clash), quint64(loads.at(day)),
                                               mix(seed ^ quint64(after))};
            if (score < bestScore) {
                bestScore = score;
                best = day;
            }
        }
        schedule.set(placed.code, placed.kind, dayStart + best * SecondsPerDay);
        days->second[size_t(placed.kind)] = best;
        loads.add(best);
    }
    return schedule;
}
