// Tests of the memory model: a short history replayed from the log against FSRS-6's formulas
// worked by hand, and the fit of its parameters to a simulated learner.
#include "core/training/memorymodel.h"
#include "core/training/memoryoptimiser.h"

#include <gtest/gtest.h>

#include <random>

namespace {

constexpr qint64 T0 = 1'780'000'000;
constexpr qint64 Hour = 3600;
constexpr qint32 Sun = 0x65E5;

// With the default parameters w0..w20:
//   decay = -w20 = -0.1542, factor = 0.9^(1/decay) - 1 = 0.980346
//   R(t, S) = (1 + factor t / S)^decay
// First answer right (Good): S = w2 = 2.3065, D = w4 - e^(2 w5) + 1 = 2.118104.
// Right again 2 hours later, a same-day review:
//   S * e^(w17 (0 + w18)) * S^-w19 = S * 0.994500, below 1, which a Good raises to 1: S = 2.3065;
//   D: damping moves nothing for Good, mean reversion 0.001 * D0(Easy) + 0.999 D with
//   D0(Easy) = w4 - e^(3 w5) + 1 = -4.771631: D = 2.111214.
// Partly right (Hard) 3 days after the first answer, 2.916667 days after the last:
//   R = (1 + 0.980346 * 2.916667 / 2.3065)^-0.1542 = 0.883082
//   S = S (1 + e^w8 (11 - D) S^-w9 (e^(w10 (1 - R)) - 1) w15) = 9.110083
//   D = D + w6 (10 - D) / 9, reverted: 4.748285
// Wrong (Again) 10 days later: R = (1 + 0.980346 * 10 / 9.110083)^-0.1542 = 0.893470
//   long-term  w11 D^-w12 ((S + 1)^w13 - 1) e^(w14 (1 - R)) = 1.345311
//   short-term S / e^(w17 w18) = 8.670321; the smaller holds: S = 1.345311
//   D = D + 2 w6 (10 - D) / 9, reverted: 8.259025
// Two days after that: R = (1 + 0.980346 * 2 / 1.345311)^-0.1542 = 0.870538.
TEST(MemoryModel, ReplaysAHistoryAsTheFormulasGive) {
    const std::vector<ReviewEntry> log{
        answerEntry(T0, Sun, AnswerKind::Meaning, Grade::Right),
        answerEntry(T0 + 2 * Hour, Sun, AnswerKind::Meaning, Grade::Right),
        answerEntry(T0 + 72 * Hour, Sun, AnswerKind::Meaning, Grade::Partly),
        answerEntry(T0 + 13 * 24 * Hour, Sun, AnswerKind::Meaning, Grade::Wrong),
    };
    const MemoryModel model;
    std::vector<MemoryState> steps;
    for (size_t n = 1; n <= log.size(); ++n) {
        const MemoryStates states =
            replayReviews(std::vector<ReviewEntry>(log.begin(), log.begin() + qsizetype(n)), model);
        ASSERT_EQ(states.size(), 1u);
        ASSERT_NE(states.find(Sun, AnswerKind::Meaning), nullptr);
        steps.push_back(*states.find(Sun, AnswerKind::Meaning));
    }
    EXPECT_NEAR(steps[0].stability, 2.3065, 1e-9);
    EXPECT_NEAR(steps[0].difficulty, 2.118104, 1e-6);
    EXPECT_NEAR(steps[1].stability, 2.3065, 1e-9);
    EXPECT_NEAR(steps[1].difficulty, 2.111214, 1e-6);
    EXPECT_NEAR(model.recallAt(steps[1], T0 + 72 * Hour), 0.883082, 1e-6);
    EXPECT_NEAR(steps[2].stability, 9.110083, 1e-6);
    EXPECT_NEAR(steps[2].difficulty, 4.748285, 1e-6);
    EXPECT_NEAR(model.recallAt(steps[2], T0 + 13 * 24 * Hour), 0.893470, 1e-6);
    EXPECT_NEAR(steps[3].stability, 1.345311, 1e-6);
    EXPECT_NEAR(steps[3].difficulty, 8.259025, 1e-6);
    EXPECT_NEAR(model.recallAt(steps[3], T0 + 15 * 24 * Hour), 0.870538, 1e-6);
    EXPECT_EQ(steps[3].reviews, 4);
    EXPECT_EQ(steps[3].firstReview, T0);
    EXPECT_EQ(steps[3].lastReview, T0 + 13 * 24 * Hour);
    // One stability on, recall is 90 % whatever the decay: the due time of retention 0.9.
    EXPECT_NEAR(model.recall(steps[3].stability, steps[3].stability), 0.9, 1e-12);
    EXPECT_NEAR(double(model.dueTime(steps[3], 0.9) - steps[3].lastReview) / SecondsPerDay,
                1.345311, 1e-5);
}

// A learner who forgets faster than the defaults say, answering on an uneven schedule.
std::vector<ReviewEntry> simulatedLog(int answers, quint32 seed) {
    MemoryParameters truth = DefaultMemoryParameters;
    truth[2] = 0.8;    // a first right answer lasts less than a day
    truth[8] = 1.2;    // recall strengthens memory more slowly
    truth[20] = 0.45;  // a steeper forgetting curve
    const MemoryModel model(truth);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> kanji(0, 199);
    std::uniform_int_distribution<int> gapHours(6, 120);
    std::uniform_real_distribution<double> draw(0.0, 1.0);
    MemoryStates states;
    std::vector<ReviewEntry> log;
    qint64 time = T0;
    for (int i = 0; i < answers; ++i) {
        time += gapHours(random) * Hour / 20;
        const qint32 code = 0x4E00 + kanji(random);
        MemoryState* found = states.find(code, AnswerKind::Kanji);
        const double p = found == nullptr ? 0.5 : model.recallAt(*found, time);
        const Grade verdict = draw(random) < p ? Grade::Right : Grade::Wrong;
        const Rating rating = ratingOf(verdict);
        if (found == nullptr) {
            states.emplace(code, AnswerKind::Kanji, model.first(rating, time));
        } else {
            *found = model.review(*found, rating, time);
        }
        log.push_back(answerEntry(time, code, AnswerKind::Kanji, verdict));
    }
    return log;
}

TEST(MemoryOptimiser, FitsALearnerBetterThanTheDefaultsOnHeldOutAnswers) {
    const std::vector<ReviewEntry> log = simulatedLog(3000, 7);
    int calls = 0;
    const auto fitted = optimiseParameters(
        log, DefaultMemoryParameters, [&calls](int, int) { return ++calls > 0; }, 40);
    ASSERT_TRUE(fitted.has_value());
    EXPECT_EQ(calls, 40);
    EXPECT_GT(fitted->heldOutReviews, 100);
    EXPECT_GT(fitted->trainingReviews, 4 * fitted->heldOutReviews / 2);
    EXPECT_TRUE(fitted->better);
    EXPECT_LT(fitted->lossAfter, fitted->lossBefore - 0.01);
    EXPECT_NEAR(fitted->lossBefore, heldOutLoss(log, DefaultMemoryParameters), 1e-12);
    EXPECT_NEAR(fitted->lossAfter, heldOutLoss(log, fitted->parameters), 1e-12);
    for (size_t i = 0; i < fitted->parameters.size(); ++i) {
        EXPECT_GE(fitted->parameters[i], MemoryParameterLow[i]) << i;
        EXPECT_LE(fitted->parameters[i], MemoryParameterHigh[i]) << i;
    }

    // Too short a log, and a fit the learner cancels.
    const std::vector<ReviewEntry> shortLog(log.begin(), log.begin() + MinOptimiseAnswers - 1);
    const auto tooFew = optimiseParameters(shortLog);
    ASSERT_FALSE(tooFew.has_value());
    EXPECT_EQ(tooFew.error(), OptimiseFailure::TooFewAnswers);
    const auto cancelled =
        optimiseParameters(log, DefaultMemoryParameters, [](int done, int) { return done < 2; });
    ASSERT_FALSE(cancelled.has_value());
    EXPECT_EQ(cancelled.error(), OptimiseFailure::Cancelled);
}

}  // namespace
