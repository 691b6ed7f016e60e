// Fits the memory model's parameters to a learner's own review log.
#pragma once

#include "base/expected.h"
#include "core/training/memorymodel.h"
#include "core/training/reviewlog.h"

#include <functional>
#include <vector>

inline constexpr qint32 MinOptimiseAnswers = 1000;

// In a namespace of its own, as the list optimiser (core/review) has an OptimiseResult too.
namespace memory {

struct OptimiseResult {
    MemoryParameters parameters{};
    // Mean log loss of the predicted recall on the held-out last 20 % of answers, with the
    // parameters the fit started from and with the fitted ones.
    double lossBefore = 0;
    double lossAfter = 0;
    // Whether the fitted parameters predict the held-out answers better; keep them only then.
    bool better = false;
    qint32 trainingReviews = 0;
    qint32 heldOutReviews = 0;
};

}  // namespace memory

enum class OptimiseFailure { TooFewAnswers, Cancelled };

// Called after each step with the steps done and the steps in all; returning false cancels. A fit
// that stops improving ends early, reporting all steps done.
using OptimiseProgress = std::function<bool(int done, int total)>;

// Maximum likelihood by gradient descent (Adam over a forward-difference gradient, parameters
// kept within FSRS's bounds), on the first 80 % of the log's answers by time. The loss is the log
// loss of the recall predicted for each review a day or more after the kind's previous one
// against whether it was recalled (any verdict but wrong); a kind's first answer and same-day
// reviews only move its state. It ends after the given steps, or once ten steps in a row gained
// less than 0.00001.
Expected<memory::OptimiseResult, OptimiseFailure> optimiseParameters(
    const std::vector<ReviewEntry>& entries,
    const MemoryParameters& start = DefaultMemoryParameters, const OptimiseProgress& progress = {},
    int steps = 120);

// The mean log loss of the recall those parameters predict for the held-out last 20 % of the
// log's answers.
double heldOutLoss(const std::vector<ReviewEntry>& entries, const MemoryParameters& parameters);
