// The desired retention and new kanji per day that keep the most kanji recalled over a year of
// the answers a learner gives a day, found by simulating the year.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/training/memorymodel.h"
#include "core/training/trainingrules.h"

#include <functional>
#include <optional>
#include <vector>

// Seconds per answer assumed where the log holds no durations.
inline constexpr double DefaultAnswerSeconds = 10.0;

// The median of the answers' durations in seconds; DefaultAnswerSeconds without one. Durations
// of zero or less (unmeasured) are passed over.
double medianAnswerSeconds(std::vector<double> seconds);
// The answers that fit into those minutes, at least one.
qint32 answersInMinutes(qint32 minutes, double secondsPerAnswer);

// The spread of difficulty taken when the log cannot show it.
inline constexpr double DefaultDifficultySpread = 1.5;

// What the year is simulated from.
struct PlanStart {
    const KanjiSet& set;
    const MemoryStates& states;
    const MemoryModel& model;
    AskedKinds asked;
    qint64 now = 0;
    qint64 dayStart = 0;
    // The chance that a kind's first answer is right (firstAnswerRecall).
    double firstRecall = 0;
    // How far a kind's difficulty on the learner's own scale strays from the model's (a standard
    // deviation on FSRS's 1–10 scale). Items differ in ways one set of parameters cannot tell
    // apart, and the hard ones lapse and come back more often than the mean item would.
    double difficultySpread = DefaultDifficultySpread;
    // The learner's budget: answers a day, each asked kind of a question one answer.
    qint32 answersPerDay = 50;
    double secondsPerAnswer = DefaultAnswerSeconds;
    qint32 days = 365;
};

// One simulated year at that retention and new kanji per day: each day one session at the time of
// now, the answers following one another at the learner's pace: first new kanji in set order
// while the day takes them and the budget has room for all their kinds, then the due kinds with
// the highest recall, as many as the rest of the budget allows. Every kind has a hidden difficulty
// drawn around the model's with the spread: the learner answers and forgets by it, while the
// schedule follows the model. Draws come from a stream the seed fixes, so plans compared with one
// seed meet the same luck. The result is the number of the set's kanji expected to be recalled in
// every asked kind (those never begun count none) at the end of each month of the year, averaged:
// the plan is chosen anew every month, so what it keeps along the way counts, not only at a
// year's end that keeps moving away.
double simulatedRecall(const PlanStart& start, double retention, qint32 newPerDay, quint64 seed);

struct Recommendation {
    // In whole percent, as the learner sets it.
    qint32 retentionPercent = 90;
    qint32 newPerDay = 10;
    double expectedRecalled = 0;
};

// Called after each plan simulated with the plans done and in all; returning false cancels.
using RecommendProgress = std::function<bool(int done, int total)>;

// The plan with the most kanji expected to be recalled over the year (simulatedRecall): a grid of
// retentions from 70 to 95 % and of new kanji per day up to what the budget can begin, then the
// plans around the best of it; each plan simulated with the same two seeds. None when cancelled.
std::optional<Recommendation> recommendPlan(const PlanStart& start,
                                            const RecommendProgress& progress = {});
