// Fits the memory model's parameters to a learner's own review log.
#include "core/training/memoryoptimiser.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

constexpr double TrainingShare = 0.8;

struct Review {
    qint64 time = 0;
    Rating rating = Rating::Good;
    bool heldOut = false;
};

// A kanji's kind: its seed, if it has one, and its answers in time order.
struct History {
    std::optional<ReviewEntry> seed;
    std::vector<Review> reviews;
};

struct Histories {
    std::vector<History> kinds;
    qint32 answers = 0;
    qint32 trainingReviews = 0;
    qint32 heldOutReviews = 0;
};

Histories historiesOf(const std::vector<ReviewEntry>& entries) {
    Histories result;
    std::vector<qint64> times;
    for (const ReviewEntry& entry : entries) {
        if (entry.type == ReviewEntryType::Answer) {
            times.push_back(entry.time);
        }
    }
    result.answers = qint32(times.size());
    if (times.empty()) {
        return result;
    }
    // The answers from the 80 % point in time on are held out; answers at that very second
    // all go to one side.
    const size_t cut = size_t(double(times.size()) * TrainingShare);
    std::nth_element(times.begin(), times.begin() + qsizetype(cut), times.end());
    const qint64 cutTime = times[cut];
    std::unordered_map<quint64, size_t> index;
    for (const ReviewEntry& entry : entries) {
        const auto [at, added] =
            index.try_emplace(memoryKey(entry.code, entry.kind), result.kinds.size());
        if (added) {
            result.kinds.emplace_back();
        }
        History& history = result.kinds[at->second];
        if (entry.type == ReviewEntryType::Seed) {
            if (!history.seed && history.reviews.empty()) {
                history.seed = entry;
            }
            continue;
        }
        history.reviews.push_back(
            Review{entry.time, ratingOf(entry.verdict), entry.time >= cutTime});
    }
    for (History& history : result.kinds) {
        std::stable_sort(history.reviews.begin(), history.reviews.end(),
                         [](const Review& a, const Review& b) { return a.time < b.time; });
    }
    return result;
}

struct Loss {
    double sum = 0;
    qint32 count = 0;
    double mean() const { return count > 0 ? sum / count : 0; }
};

// The log loss over the training reviews (heldOut false) or the held-out ones (true); held-out
// reviews come after every training one, so the training pass stops at the first of them.
Loss logLoss(const Histories& histories, const MemoryParameters& parameters, bool heldOut) {
    const MemoryModel model(parameters);
    Loss loss;
    for (const History& history : histories.kinds) {
        MemoryState state;
        size_t next = 0;
        if (history.seed) {
            const ReviewEntry& seed = *history.seed;
            state = model.seeded(seed.right, seed.partly, seed.wrong, seed.time);
        } else if (!history.reviews.empty()) {
            if (history.reviews.front().heldOut && !heldOut) {
                continue;
            }
            state = model.first(history.reviews.front().rating, history.reviews.front().time);
            next = 1;
        } else {
            continue;
        }
        for (; next < history.reviews.size(); ++next) {
            const Review& review = history.reviews[next];
            if (review.heldOut && !heldOut) {
                break;
            }
            const qint64 elapsed = review.time - state.lastReview;
            if (elapsed >= SameDaySeconds && review.heldOut == heldOut) {
                const double p =
                    std::clamp(model.recall(state.stability, double(elapsed) / SecondsPerDay), 1e-6,
                               1.0 - 1e-6);
                loss.sum -= review.rating == Rating::Again ? std::log(1.0 - p) : std::log(p);
                ++loss.count;
            }
            state = model.review(state, review.rating, review.time);
        }
    }
    return loss;
}

void clampParameters(MemoryParameters& parameters) {
    for (size_t i = 0; i < parameters.size(); ++i) {
        parameters[i] = std::clamp(parameters[i], MemoryParameterLow[i], MemoryParameterHigh[i]);
    }
}

}  // namespace

double heldOutLoss(const std::vector<ReviewEntry>& entries, const MemoryParameters& parameters) {
    return logLoss(historiesOf(entries), parameters, true).mean();
}

Expected<memory::OptimiseResult, OptimiseFailure> optimiseParameters(
    const std::vector<ReviewEntry>& entries, const MemoryParameters& start,
    const OptimiseProgress& progress, int steps) {
    const Histories histories = historiesOf(entries);
    if (histories.answers < MinOptimiseAnswers) {
        return unexpected(OptimiseFailure::TooFewAnswers);
    }
    // Adam, with the step size FSRS's own optimiser uses; each parameter moves by about the
    // rate, whatever its scale.
    constexpr double Rate = 0.04;
    constexpr double Beta1 = 0.9;
    constexpr double Beta2 = 0.999;
    constexpr double Epsilon = 1e-8;
    MemoryParameters w = start;
    clampParameters(w);
    MemoryParameters best = w;
    double current = logLoss(histories, w, false).mean();
    double bestLoss = current;
    MemoryParameters m{};
    MemoryParameters v{};
    constexpr double StallLoss = 1e-5;
    constexpr int StallSteps = 10;
    int stalled = 0;
    for (int step = 1; step <= steps; ++step) {
        MemoryParameters gradient{};
        for (size_t i = 0; i < w.size(); ++i) {
            MemoryParameters probe = w;
            // Forward differences, backwards at the upper bound.
            const double h = 1e-4 * std::max(1.0, std::abs(w[i]));
            const double sign = w[i] + h > MemoryParameterHigh[i] ? -1.0 : 1.0;
            probe[i] += sign * h;
            gradient[i] = sign * (logLoss(histories, probe, false).mean() - current) / h;
        }
        for (size_t i = 0; i < w.size(); ++i) {
            m[i] = Beta1 * m[i] + (1 - Beta1) * gradient[i];
            v[i] = Beta2 * v[i] + (1 - Beta2) * gradient[i] * gradient[i];
            const double mHat = m[i] / (1 - std::pow(Beta1, step));
            const double vHat = v[i] / (1 - std::pow(Beta2, step));
            w[i] -= Rate * mHat / (std::sqrt(vHat) + Epsilon);
        }
        clampParameters(w);
        current = logLoss(histories, w, false).mean();
        if (current < bestLoss - StallLoss) {
            stalled = 0;
        } else if (++stalled >= StallSteps) {
            // Adam circles the minimum by now; the learner need not wait for the last steps.
            if (current < bestLoss) {
                best = w;
            }
            if (progress && !progress(steps, steps)) {
                return unexpected(OptimiseFailure::Cancelled);
            }
            break;
        }
        if (current < bestLoss) {
            bestLoss = current;
            best = w;
        }
        if (progress && !progress(step, steps)) {
            return unexpected(OptimiseFailure::Cancelled);
        }
    }
    memory::OptimiseResult result;
    result.parameters = best;
    const Loss before = logLoss(histories, start, true);
    result.lossBefore = before.mean();
    result.lossAfter = logLoss(histories, best, true).mean();
    result.better = before.count > 0 && result.lossAfter < result.lossBefore;
    result.trainingReviews = logLoss(histories, best, false).count;
    result.heldOutReviews = before.count;
    return result;
}
