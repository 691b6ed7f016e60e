// The daily review against the other ways of choosing kanji, on a simulated learner over a
// year, and the time the review's own steps take on the largest set.
//
// The learner forgets by FSRS with parameters the schedulers do not know (the defaults, each
// scaled by up to ±25 %, and each kanji's difficulty shifted by up to ±2), and recalls an asked
// kanji with exactly the probability its true memory gives, drawn from one random stream that
// every scheduler gets from the same seed. Every day at 19:00 the scheduler picks up to 50
// questions of one kind (the meaning); a kanji counts as known on day 365 when its true recall
// is at least 90 %.
#include "core/training/duelist.h"
#include "core/training/memorymodel.h"
#include "core/training/memoryoptimiser.h"
#include "core/training/reviewlog.h"
#include "core/training/trainingrules.h"
#include "core/training/trainingsession.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
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

// The learner's true memory: its own parameters and a difficulty shift per kanji.
class Learner {
public:
    explicit Learner(quint32 seed) : random_(seed) {
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

    // Answers kanji i at time; true when recalled.
    Grade answer(int i, qint64 time) {
        const auto at = size_t(i);
        std::uniform_real_distribution<double> draw(0.0, 1.0);
        const double p = seen_[at] ? model_.recallAt(states_[at], time) : 0.0;
        const bool recalled = draw(random_) < p;
        const Rating rating = recalled ? Rating::Good : Rating::Again;
        if (!seen_[at]) {
            states_[at] = model_.first(rating, time);
            states_[at].difficulty = std::clamp(states_[at].difficulty + shifts_[at], 1.0, 10.0);
            seen_[at] = true;
        } else {
            states_[at] = model_.review(states_[at], rating, time);
        }
        return recalled ? Grade::Right : Grade::Wrong;
    }

    int known(qint64 time, double recall) const {
        int count = 0;
        for (size_t i = 0; i < states_.size(); ++i) {
            count += seen_[i] && model_.recallAt(states_[i], time) >= recall ? 1 : 0;
        }
        return count;
    }

    // How many kanji the learner would recall if asked all of them.
    double expectedRecalled(qint64 time) const {
        double sum = 0;
        for (size_t i = 0; i < states_.size(); ++i) {
            sum += seen_[i] ? model_.recallAt(states_[i], time) : 0.0;
        }
        return sum;
    }

private:
    std::mt19937 random_;
    MemoryModel model_;
    std::vector<double> shifts_;
    std::vector<MemoryState> states_;
    std::vector<bool> seen_;
};

struct Outcome {
    int known = 0;
    int knownAt80 = 0;
    double expected = 0;
    int answers = 0;
    std::vector<ReviewEntry> log;
};

// Each day, choose(set, profile, log, time) names the day's kanji codes in the order asked.
using Chooser = std::function<std::vector<qint32>(const KanjiSet&, const ProfileList&,
                                                  const std::vector<ReviewEntry>&, qint64)>;

Outcome simulate(const Chooser& choose) {
    const KanjiSet set = makeSet(Kanji);
    ProfileList profile;
    syncProfile(profile, set);
    Learner learner(Seed);
    Outcome outcome;
    for (int day = 0; day < Days; ++day) {
        const qint64 time = Start + qint64(day) * SecondsPerDay + StudyHour;
        std::vector<qint32> codes = choose(set, profile, outcome.log, time);
        if (codes.size() > size_t(Budget)) {
            codes.resize(Budget);
        }
        for (size_t n = 0; n < codes.size(); ++n) {
            const qint32 code = codes[n];
            const qint64 at = time + qint64(n) * 20;
            const Grade verdict = learner.answer(code - 0x4E00, at);
            outcome.log.push_back(answerEntry(at, code, Kind, verdict));
            const int found = profileIndexOf(profile, code);
            recordInStats(profile.records[size_t(found)].stats(Kind), verdict, quint32(at));
            ++outcome.answers;
        }
    }
    const qint64 end = Start + qint64(Days) * SecondsPerDay + StudyHour;
    outcome.known = learner.known(end, 0.9);
    outcome.knownAt80 = learner.known(end, 0.8);
    outcome.expected = learner.expectedRecalled(end);
    return outcome;
}

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

std::vector<qint32> dueChoiceWith(const MemoryParameters& parameters, const KanjiSet& set,
                                  const ProfileList& profile, const std::vector<ReviewEntry>& log,
                                  qint64 time) {
    const MemoryModel model(parameters);
    const MemoryStates states = replayReviews(log, model);
    DueOptions options;
    options.asked = meaningOnly();
    options.now = time;
    options.dayStart = learnerDayStart(time, QTimeZone::utc());
    const DueList due = dueList(set, states, model, options);
    return codesOf(trainingQuestions(runSettings(TrainingScope::Due), set, profile, {}, due));
}

std::vector<qint32> dueChoice(const KanjiSet& set, const ProfileList& profile,
                              const std::vector<ReviewEntry>& log, qint64 time) {
    return dueChoiceWith(DefaultMemoryParameters, set, profile, log, time);
}

// The learner presses "Optimieren" once a month, and the app keeps what predicts better.
Chooser fittedDueChoice() {
    auto parameters = std::make_shared<MemoryParameters>(DefaultMemoryParameters);
    return [parameters](const KanjiSet& set, const ProfileList& profile,
                        const std::vector<ReviewEntry>& log, qint64 time) {
        const qint64 day = (time - Start) / SecondsPerDay;
        if (day > 0 && day % 30 == 0) {
            const auto fitted = optimiseParameters(log, *parameters, {}, 40);
            if (fitted && fitted->better) {
                *parameters = fitted->parameters;
            }
        }
        return dueChoiceWith(*parameters, set, profile, log, time);
    };
}

std::vector<qint32> worstChoice(const KanjiSet& set, const ProfileList& profile,
                                const std::vector<ReviewEntry>&, qint64) {
    return codesOf(trainingQuestions(runSettings(TrainingScope::Worst), set, profile, {}));
}

std::vector<qint32> randomChoice(const KanjiSet& set, const ProfileList& profile,
                                 const std::vector<ReviewEntry>&, qint64 time) {
    std::vector<TrainingItem> all =
        trainingQuestions(runSettings(TrainingScope::All), set, profile, {});
    std::mt19937 random{quint32(time)};
    shuffleQuestions(all, random);
    return codesOf(all);
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

int main() {
    const Outcome due = simulate(dueChoice);
    const Outcome fitted = simulate(fittedDueChoice());
    const Outcome worst = simulate(worstChoice);
    const Outcome any = simulate(randomChoice);

    const auto row = [](const char* name, const Outcome& outcome) {
        std::printf("| %s | %d | %.3f | %d | %.0f | %d |\n", name, outcome.known,
                    double(outcome.known) / std::max(outcome.answers, 1), outcome.knownAt80,
                    outcome.expected, outcome.answers);
    };
    std::printf(
        "| scheduler | kanji known on day 365 (recall ≥ 90 %%) | known per answer | recall ≥ "
        "80 %% | expected recalled (sum of recall) | answers given |\n"
        "|---|---|---|---|---|---|\n");
    row("Fällig", due);
    row("Fällig, fitted monthly", fitted);
    row("Schlechtesten", worst);
    row("Zufall", any);
    std::printf("\nFällig / Schlechtesten: %.2f (target 1.5)\n\n",
                double(due.known) / std::max(worst.known, 1));

    const std::vector<ReviewEntry> log = largeLog(100'000);
    const MemoryModel model;
    MemoryStates states;
    const Timing replay = timeMs(21, [&] { states = replayReviews(log, model); });
    const KanjiSet large = makeSet(13108);
    DueOptions options;
    options.asked = AskedKinds{true, true, true, true};
    options.now = Start + 366 * SecondsPerDay;
    options.dayStart = learnerDayStart(options.now, QTimeZone::utc());
    DueList list;
    const Timing dueTime = timeMs(21, [&] { list = dueList(large, states, model, options); });
    const Timing fit = timeMs(1, [&] {
        const auto fitted = optimiseParameters(due.log);
        if (fitted) {
            std::printf(
                "fit on the Fällig learner's %d answers: held-out log loss %.4f → %.4f "
                "(%s)\n",
                due.answers, fitted->lossBefore, fitted->lossAfter,
                fitted->better ? "kept" : "not kept");
        }
    });
    std::printf("\n| step (21 rounds) | median | best | target |\n|---|---|---|---|\n");
    std::printf("| replay of a 100,000-answer log | %.1f ms | %.1f ms | 50 ms |\n", replay.median,
                replay.best);
    std::printf(
        "| \"Fällig\" list, 13,108 kanji × 4 kinds (%d due) | %.1f ms | %.1f ms | 10 ms |\n",
        list.dueCount(), dueTime.median, dueTime.best);
    std::printf("| fit of the parameters to %d answers (one run) | %.0f ms | | a few s |\n",
                due.answers, fit.median);
    return 0;
}
