// The daily review against the other ways of choosing kanji, on two simulated learners over a
// year, and the time the review's own steps take on the largest set.
//
// Each learner recalls an asked kanji with exactly the probability its true memory gives, drawn
// from one random stream that every scheduler gets from the same seed. Every day at 19:00 the
// scheduler picks up to 50 questions of one kind (the meaning); on day 365 the bench counts the
// kanji whose true recall is at least 90 % and the sum of all recalls (the kanji the learner is
// expected to recall). The FSRS-6 learner forgets by FSRS with parameters the schedulers do not
// know (the defaults, each scaled by up to ±25 %, and each kanji's difficulty shifted by up to
// ±2); the exponential learner forgets as 2^(-days/h), with h a day times U(0.5, 2) at a kanji's
// first answer, 2.5 times longer after each recall and half as long after each lapse (at least
// half a day). The program sees only the log its answers make.
#include "core/training/duelist.h"
#include "core/training/memorymodel.h"
#include "core/training/memoryoptimiser.h"
#include "core/training/retentionrecommendation.h"
#include "core/training/reviewlog.h"
#include "core/training/schedulefuzz.h"
#include "core/training/trainingrules.h"
#include "core/training/trainingsession.h"
#include "core/training/workloadsimulation.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int Kanji = 2230;
constexpr int Days = 365;
constexpr int Budget = 50;
constexpr qint64 Start = 1'767'225'600;  // 2026-01-01 00:00 UTC
constexpr qint64 StudyHour = 19 * 3600;
constexpr quint32 Seed = 20261207;
constexpr AnswerKind Kind = AnswerKind::Meaning;

KanjiSet makeSet(int count) {
    KanjiSet set;
    set.records.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        KanjiRecord& record = set.records[size_t(i)];
        record.Idx1 = i + 1;
        record.Idx2 = i % 5;
        record.Unicode = 0x4E00 + i;
        record.OnYomi = QStringLiteral("オン");
        record.KunYomi = QStringLiteral("くん");
        record.Bemerkung = QStringLiteral("Bedeutung");
    }
    set.current = 0;
    return set;
}

AskedKinds meaningOnly() {
    AskedKinds asked;
    asked.meaning = true;
    return asked;
}

// A learner's true memory of each kanji.
class Learner {
public:
    virtual ~Learner() = default;
    // Answers kanji i at time; true when recalled.
    virtual bool answer(int i, qint64 time) = 0;
    // The true recall of kanji i at time; 0 for one never asked.
    virtual double recall(int i, qint64 time) const = 0;

    int known(qint64 time, double least) const {
        int count = 0;
        for (int i = 0; i < Kanji; ++i) {
            count += recall(i, time) >= least ? 1 : 0;
        }
        return count;
    }

    // How many kanji the learner would recall if asked all of them.
    double expectedRecalled(qint64 time) const {
        double sum = 0;
        for (int i = 0; i < Kanji; ++i) {
            sum += recall(i, time);
        }
        return sum;
    }
};

// Forgets by FSRS-6 with parameters of its own and a difficulty shift per kanji.
class FsrsLearner : public Learner {
public:
    explicit FsrsLearner(quint32 seed) : random_(seed) {
        MemoryParameters w = DefaultMemoryParameters;
        std::uniform_real_distribution<double> scale(0.75, 1.25);
        for (size_t i = 0; i < w.size(); ++i) {
            w[i] = std::clamp(w[i] * scale(random_), MemoryParameterLow[i], MemoryParameterHigh[i]);
        }
        model_ = MemoryModel(w);
        std::uniform_real_distribution<double> shift(-2.0, 2.0);
        shifts_.resize(Kanji);
        for (double& s : shifts_) {
            s = shift(random_);
        }
        states_.resize(Kanji);
        seen_.assign(Kanji, false);
    }

    bool answer(int i, qint64 time) override {
        const auto at = size_t(i);
        std::uniform_real_distribution<double> draw(0.0, 1.0);
        const bool recalled = draw(random_) < recall(i, time);
        const Rating rating = recalled ? Rating::Good : Rating::Again;
        if (!seen_[at]) {
            states_[at] = model_.first(rating, time);
            states_[at].difficulty = std::clamp(states_[at].difficulty + shifts_[at], 1.0, 10.0);
            seen_[at] = true;
        } else {
            states_[at] = model_.review(states_[at], rating, time);
        }
        return recalled;
    }

    double recall(int i, qint64 time) const override {
        const auto at = size_t(i);
        return seen_[at] ? model_.recallAt(states_[at], time) : 0.0;
    }

private:
    std::mt19937 random_;
    MemoryModel model_;
    std::vector<double> shifts_;
    std::vector<MemoryState> states_;
    std::vector<bool> seen_;
};

// Forgets exponentially: recall 2^(-days/h), h growing 2.5 times with a recall and halving with a
// lapse.
class ExponentialLearner : public Learner {
public:
    explicit ExponentialLearner(quint32 seed) : random_(seed) {
        std::uniform_real_distribution<double> first(0.5, 2.0);
        firstHalfLife_.resize(Kanji);
        for (double& h : firstHalfLife_) {
            h = first(random_);
        }
        halfLife_.assign(Kanji, 0.0);
        last_.assign(Kanji, 0);
    }

    bool answer(int i, qint64 time) override {
        const auto at = size_t(i);
        std::uniform_real_distribution<double> draw(0.0, 1.0);
        const bool recalled = draw(random_) < recall(i, time);
        if (halfLife_[at] == 0) {
            halfLife_[at] = firstHalfLife_[at];
        } else {
            halfLife_[at] = std::max(0.5, halfLife_[at] * (recalled ? 2.5 : 0.5));
        }
        last_[at] = time;
        return recalled;
    }

    double recall(int i, qint64 time) const override {
        const auto at = size_t(i);
        if (halfLife_[at] == 0) {
            return 0.0;
        }
        return std::exp2(-double(time - last_[at]) / SecondsPerDay / halfLife_[at]);
    }

private:
    std::mt19937 random_;
    std::vector<double> firstHalfLife_;
    std::vector<double> halfLife_;
    std::vector<qint64> last_;
};

struct Outcome {
    int known = 0;
    double expected = 0;
    int answers = 0;
    // The retention and new kanji per day the program used last.
    double retention = 0;
    qint32 newPerDay = 0;
    std::vector<ReviewEntry> log;
};

std::vector<qint32> codesOf(const std::vector<TrainingItem>& items) {
    std::vector<qint32> codes;
    for (const TrainingItem& item : items) {
        codes.push_back(item.Code);
    }
    return codes;
}

TrainingSettings runSettings(TrainingScope scope) {
    TrainingSettings settings;
    settings.manual = true;
    settings.scope = scope;
    settings.asked = meaningOnly();
    settings.range = TrainingRange{1, Budget};
    return settings;
}

// A way of choosing each day's kanji; it sees the set, the profile and the log only.
class Scheduler {
public:
    virtual ~Scheduler() = default;
    virtual std::vector<qint32> choose(const KanjiSet& set, const ProfileList& profile,
                                       const std::vector<ReviewEntry>& log, qint64 time) = 0;
    virtual double retention() const { return 0; }
    virtual qint32 newPerDay() const { return 0; }
};

// "Fällig" as the program runs it: the learner presses "Optimieren" once a month and the program
// keeps parameters that predict better; with recommend, it takes the recommended retention and
// new kanji per day on day 0 and after each of those months.
class DueScheduler : public Scheduler {
public:
    explicit DueScheduler(bool recommend) : recommend_(recommend) {}

    std::vector<qint32> choose(const KanjiSet& set, const ProfileList& profile,
                               const std::vector<ReviewEntry>& log, qint64 time) override {
        const qint64 day = (time - Start) / SecondsPerDay;
        if (day > 0 && day % 30 == 0) {
            const auto fitted = optimiseParameters(log, parameters_, {}, 40);
            if (fitted && fitted->better) {
                parameters_ = fitted->parameters;
            }
        }
        const MemoryModel model(parameters_);
        const MemoryStates states = replayReviews(log, model);
        const qint64 dayStart = learnerDayStart(time, QTimeZone::utc());
        if (recommend_ && day % 30 == 0) {
            PlanStart start{set, states, model, meaningOnly()};
            start.now = time;
            start.dayStart = dayStart;
            start.firstRecall = firstAnswerRecall(log);
            start.answersPerDay = Budget;
            if (const auto plan = recommendPlan(start)) {
                retention_ = plan->retentionPercent / 100.0;
                newPerDay_ = plan->newPerDay;
            }
        }
        const DueSchedule schedule = scheduleDue(states, model, retention_, dayStart);
        DueOptions options;
        options.asked = meaningOnly();
        options.retention = retention_;
        options.newPerDay = newPerDay_;
        options.now = time;
        options.dayStart = dayStart;
        options.schedule = &schedule;
        const DueList due = dueList(set, states, model, options);
        return codesOf(trainingQuestions(runSettings(TrainingScope::Due), set, profile, {}, due));
    }

    double retention() const override { return retention_; }
    qint32 newPerDay() const override { return newPerDay_; }

private:
    bool recommend_;
    MemoryParameters parameters_ = DefaultMemoryParameters;
    double retention_ = 0.9;
    qint32 newPerDay_ = 10;
};

class WorstScheduler : public Scheduler {
public:
    std::vector<qint32> choose(const KanjiSet& set, const ProfileList& profile,
                               const std::vector<ReviewEntry>&, qint64) override {
        return codesOf(trainingQuestions(runSettings(TrainingScope::Worst), set, profile, {}));
    }
};

class RandomScheduler : public Scheduler {
public:
    std::vector<qint32> choose(const KanjiSet& set, const ProfileList& profile,
                               const std::vector<ReviewEntry>&, qint64 time) override {
        std::vector<TrainingItem> all =
            trainingQuestions(runSettings(TrainingScope::All), set, profile, {});
        std::mt19937 random{quint32(time)};
        shuffleQuestions(all, random);
        return codesOf(all);
    }
};

Outcome simulate(Learner& learner, Scheduler& scheduler) {
    const KanjiSet set = makeSet(Kanji);
    ProfileList profile;
    syncProfile(profile, set);
    Outcome outcome;
    for (int day = 0; day < Days; ++day) {
        const qint64 time = Start + qint64(day) * SecondsPerDay + StudyHour;
        std::vector<qint32> codes = scheduler.choose(set, profile, outcome.log, time);
        if (codes.size() > size_t(Budget)) {
            codes.resize(Budget);
        }
        for (size_t n = 0; n < codes.size(); ++n) {
            const qint32 code = codes[n];
            const qint64 at = time + qint64(n) * 20;
            const bool recalled = learner.answer(code - 0x4E00, at);
            outcome.log.push_back(
                answerEntry(at, code, Kind, recalled ? Grade::Right : Grade::Wrong));
            const int found = profileIndexOf(profile, code);
            recordInStats(profile.records[size_t(found)].stats(Kind),
                          recalled ? Grade::Right : Grade::Wrong, quint32(at));
            ++outcome.answers;
        }
    }
    const qint64 end = Start + qint64(Days) * SecondsPerDay + StudyHour;
    outcome.known = learner.known(end, 0.9);
    outcome.expected = learner.expectedRecalled(end);
    outcome.retention = scheduler.retention();
    outcome.newPerDay = scheduler.newPerDay();
    return outcome;
}

enum SchedulerIndex { DueDefault, DueRecommended, Random, Worst, SchedulerCount };
constexpr const char* SchedulerNames[SchedulerCount] = {
    "Fällig (Standard: 90 %, 10 neue)", "Fällig (empfohlen)", "Zufall", "Schlechtesten"};

std::unique_ptr<Scheduler> makeScheduler(int index) {
    switch (index) {
        case DueDefault:
            return std::make_unique<DueScheduler>(false);
        case DueRecommended:
            return std::make_unique<DueScheduler>(true);
        case Random:
            return std::make_unique<RandomScheduler>();
        default:
            return std::make_unique<WorstScheduler>();
    }
}

template <class MakeLearner>
std::vector<Outcome> learnerTable(const char* heading, int seeds, MakeLearner makeLearner,
                                  std::vector<ReviewEntry>* dueLog) {
    std::vector<std::vector<Outcome>> runs(SchedulerCount);
    for (int seed = 0; seed < seeds; ++seed) {
        for (int s = 0; s < SchedulerCount; ++s) {
            const auto learner = makeLearner(Seed + quint32(seed));
            const auto scheduler = makeScheduler(s);
            runs[size_t(s)].push_back(simulate(*learner, *scheduler));
            std::fprintf(stderr, "%s, seed %d, %s: %.0f recalled, %d known\n", heading, seed,
                         SchedulerNames[s], runs[size_t(s)].back().expected,
                         runs[size_t(s)].back().known);
        }
    }
    std::printf("### %s (%d seeds)\n\n", heading, seeds);
    std::printf(
        "| scheduler | expected recalled on day 365, mean | min | × Zufall, mean | min | known "
        "(recall ≥ 90 %%), mean | min | × Zufall, mean | min | last retention, new per day |\n"
        "|---|---|---|---|---|---|---|---|---|---|\n");
    const std::vector<Outcome>& random = runs[Random];
    for (int s = 0; s < SchedulerCount; ++s) {
        const std::vector<Outcome>& own = runs[size_t(s)];
        double expected = 0, expectedMin = 1e18, ratio = 0, ratioMin = 1e18;
        double known = 0, knownMin = 1e18, knownRatio = 0, knownRatioMin = 1e18;
        for (size_t n = 0; n < own.size(); ++n) {
            expected += own[n].expected;
            expectedMin = std::min(expectedMin, own[n].expected);
            const double r = own[n].expected / std::max(random[n].expected, 1.0);
            ratio += r;
            ratioMin = std::min(ratioMin, r);
            known += own[n].known;
            knownMin = std::min(knownMin, double(own[n].known));
            const double k = double(own[n].known) / std::max(random[n].known, 1);
            knownRatio += k;
            knownRatioMin = std::min(knownRatioMin, k);
        }
        const double count = double(own.size());
        std::printf("| %s | %.0f | %.0f | %.2f | %.2f | %.0f | %.0f | %.2f | %.2f |",
                    SchedulerNames[s], expected / count, expectedMin, ratio / count, ratioMin,
                    known / count, knownMin, knownRatio / count, knownRatioMin);
        if (s == DueDefault || s == DueRecommended) {
            std::printf(" %.0f %%, %d |\n", own.back().retention * 100, own.back().newPerDay);
        } else {
            std::printf(" |\n");
        }
    }
    const auto meanOf = [](const std::vector<Outcome>& outcomes) {
        double sum = 0;
        for (const Outcome& o : outcomes) {
            sum += o.expected;
        }
        return sum / double(outcomes.size());
    };
    std::printf("\nFällig (empfohlen) / Schlechtesten, expected recalled: %.2f\n\n",
                meanOf(runs[DueRecommended]) / std::max(meanOf(runs[Worst]), 1.0));
    if (dueLog != nullptr) {
        *dueLog = runs[DueDefault].front().log;
    }
    return runs[DueRecommended];
}

struct Timing {
    double median = 0;
    double best = 0;
};

template <class F>
Timing timeMs(int rounds, F&& work) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto begin = std::chrono::steady_clock::now();
        work();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
                .count());
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

// A year of answers to all four kinds of KANJIDIC's 13,108 kanji.
std::vector<ReviewEntry> largeLog(int answers) {
    std::mt19937 random(Seed);
    std::uniform_int_distribution<int> kanji(0, 13107);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<int> verdict(0, 2);
    std::vector<ReviewEntry> log;
    log.reserve(size_t(answers));
    for (int i = 0; i < answers; ++i) {
        const qint64 time = Start + qint64(i) * (365 * SecondsPerDay / answers);
        log.push_back(answerEntry(time, 0x4E00 + kanji(random), AnswerKind(kind(random)),
                                  Grade(verdict(random))));
    }
    return log;
}

}  // namespace

int main(int argc, char** argv) {
    // "--seeds N" runs fewer seeds while trying things out; "--timings-only" skips the learners.
    int seeds = 5;
    bool learners = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seeds") == 0 && i + 1 < argc) {
            seeds = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--timings-only") == 0) {
            learners = false;
        }
    }
    std::vector<ReviewEntry> dueLog;
    if (learners) {
        learnerTable(
            "FSRS-6 learner", seeds,
            [](quint32 seed) { return std::make_unique<FsrsLearner>(seed); }, &dueLog);
        learnerTable(
            "exponential learner", seeds,
            [](quint32 seed) { return std::make_unique<ExponentialLearner>(seed); }, nullptr);
    }

    const std::vector<ReviewEntry> log = largeLog(100'000);
    const MemoryModel model;
    MemoryStates states;
    const Timing replay = timeMs(21, [&] { states = replayReviews(log, model); });
    const KanjiSet large = makeSet(13108);
    DueOptions options;
    options.asked = AskedKinds{true, true, true, true};
    options.now = Start + 366 * SecondsPerDay;
    options.dayStart = learnerDayStart(options.now, QTimeZone::utc());
    DueSchedule schedule;
    const Timing scheduleTime =
        timeMs(21, [&] { schedule = scheduleDue(states, model, 0.9, options.dayStart); });
    options.schedule = &schedule;
    DueList list;
    const Timing dueTime = timeMs(21, [&] { list = dueList(large, states, model, options); });

    // The recommendation and the forecast for 2,230 kanji after the year of a learner.
    const KanjiSet set = makeSet(Kanji);
    const MemoryStates yearStates = replayReviews(dueLog, model);
    PlanStart start{set, yearStates, model, meaningOnly()};
    start.now = Start + Days * SecondsPerDay + StudyHour;
    start.dayStart = learnerDayStart(start.now, QTimeZone::utc());
    start.answersPerDay = Budget;
    std::optional<Recommendation> plan;
    const Timing recommendTime = timeMs(3, [&] { plan = recommendPlan(start); });
    WorkloadOptions ahead;
    ahead.asked = meaningOnly();
    ahead.now = start.now;
    ahead.dayStart = start.dayStart;
    Workload workload;
    const Timing forecastTime =
        timeMs(21, [&] { workload = simulateWorkload(set, yearStates, model, ahead); });

    std::printf("| step | median | best | target |\n|---|---|---|---|\n");
    std::printf("| replay of a 100,000-answer log (21 rounds) | %.1f ms | %.1f ms | 50 ms |\n",
                replay.median, replay.best);
    std::printf(
        "| due days of its %zu kinds: fuzz, siblings, load (21 rounds) | %.1f ms | %.1f ms | |\n",
        schedule.size(), scheduleTime.median, scheduleTime.best);
    std::printf(
        "| \"Fällig\" list, 13,108 kanji × 4 kinds (%d due, 21 rounds) | %.1f ms | %.1f ms | 10 "
        "ms |\n",
        list.dueCount(), dueTime.median, dueTime.best);
    std::printf(
        "| recommendation for 2,230 kanji and %zu answered (3 rounds; %d %%, %d new) | %.0f ms | "
        "%.0f ms | 2 s |\n",
        yearStates.size(), plan ? plan->retentionPercent : 0, plan ? plan->newPerDay : 0,
        recommendTime.median, recommendTime.best);
    std::printf("| 30-day forecast of the same (21 rounds) | %.1f ms | %.1f ms | |\n",
                forecastTime.median, forecastTime.best);
    if (!dueLog.empty()) {
        const Timing fit = timeMs(1, [&] { (void)optimiseParameters(dueLog); });
        std::printf("| fit of the parameters to %zu answers (one run) | %.0f ms | | a few s |\n",
                    dueLog.size(), fit.median);
    }
    return 0;
}
