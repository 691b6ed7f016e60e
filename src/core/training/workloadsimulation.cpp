// The days ahead as the daily review will make them: the answers each day is expected to ask,
// those today's and the coming days' answers cause included, and the new kanji at the chosen rate.
#include "core/training/workloadsimulation.h"

#include "core/training/duelist.h"
#include "core/training/forecast.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace {

constexpr double MinBranch = 1e-4;

struct Branch {
    double weight;
    MemoryState state;
    // The kanji's kind it belongs to, an index into the simulation's kinds.
    qint32 kind;
};

struct Simulation {
    const MemoryModel& model;
    const WorkloadOptions& options;
    double daysPerStability;
    std::vector<std::vector<Branch>> byDay;
    // Branches falling due after the last day.
    std::vector<Branch> beyond;
    Workload result;

    qint64 dayOf(qint64 time) const {
        const qint64 offset = time - options.dayStart;
        return offset < 0 ? 0 : offset / SecondsPerDay;
    }

    void place(const Branch& branch, qint64 due, qint64 earliestDay) {
        const qint64 day = std::max(dayOf(due), earliestDay);
        if (day < qint64(byDay.size())) {
            byDay[size_t(day)].push_back(branch);
        } else {
            beyond.push_back(branch);
        }
    }

    qint64 nextDue(const MemoryState& state) const {
        return state.lastReview +
               qint64(std::ceil(state.stability * daysPerStability * SecondsPerDay));
    }

    // The two outcomes of an answer, each followed unless it is too unlikely to matter.
    void split(double weight, double recall, const MemoryState& right, const MemoryState& wrong,
               qint32 kind, qint64 day) {
        double rightWeight = weight * recall;
        double wrongWeight = weight - rightWeight;
        if (wrongWeight < MinBranch) {
            rightWeight = weight;
            wrongWeight = 0;
        } else if (rightWeight < MinBranch) {
            wrongWeight = weight;
            rightWeight = 0;
        }
        if (rightWeight > 0) {
            place(Branch{rightWeight, right, kind}, nextDue(right), day + 1);
        }
        if (wrongWeight > 0) {
            place(Branch{wrongWeight, wrong, kind}, nextDue(wrong), day + 1);
        }
    }

    qint64 answerTime(qint64 day) const { return options.now + day * SecondsPerDay; }
};

// The branches of one kind that fall due on one day become one, so that their number stays
// within a kind's count of days: its weight is theirs, its memory their weighted mean.
std::vector<Branch> mergedByKind(std::vector<Branch> branches) {
    std::stable_sort(branches.begin(), branches.end(),
                     [](const Branch& a, const Branch& b) { return a.kind < b.kind; });
    std::vector<Branch> merged;
    for (const Branch& branch : branches) {
        if (merged.empty() || merged.back().kind != branch.kind) {
            merged.push_back(branch);
            continue;
        }
        Branch& into = merged.back();
        const double total = into.weight + branch.weight;
        const double share = branch.weight / total;
        MemoryState& state = into.state;
        // Stabilities spread over orders of magnitude: their mean is taken on a log scale.
        state.stability = std::exp((1 - share) * std::log(state.stability) +
                                   share * std::log(branch.state.stability));
        state.difficulty = (1 - share) * state.difficulty + share * branch.state.difficulty;
        state.lastReview = qint64(std::llround((1 - share) * double(state.lastReview) +
                                               share * double(branch.state.lastReview)));
        into.weight = total;
    }
    return merged;
}

}  // namespace

Workload simulateWorkload(const KanjiSet& set, const MemoryStates& states, const MemoryModel& model,
                          const WorkloadOptions& options) {
    const auto days = size_t(std::max(options.days, 0));
    Simulation sim{model, options, model.intervalDays(1.0, options.retention), {}, {}, {}};
    sim.byDay.resize(days);
    sim.result.answersPerDay.assign(days, 0.0);
    sim.result.newPerDay.assign(days, 0);

    // The kinds followed, by kanji: kinds[first[k] .. first[k + 1]) are kanji k's.
    std::vector<qint32> kindsStart;
    std::vector<size_t> fresh;
    qint32 kindCount = 0;
    qint32 begunToday = 0;
    for (const KanjiRecord& record : set.records) {
        const AskedKinds kinds = questionKinds(record, options.asked);
        if (kinds.count() == 0) {
            continue;
        }
        kindsStart.push_back(kindCount);
        bool answered = false;
        bool today = false;
        for (AnswerKind kind : AllAnswerKinds) {
            if (!asksKind(kinds, kind)) {
                continue;
            }
            if (const MemoryState* state = states.find(record.Unicode, kind)) {
                answered = true;
                today = today || state->firstReview >= options.dayStart;
                const std::optional<qint64> scheduled =
                    options.schedule ? options.schedule->dueTime(record.Unicode, kind)
                                     : std::nullopt;
                sim.place(Branch{1.0, *state, kindCount}, scheduled.value_or(sim.nextDue(*state)),
                          0);
            }
            ++kindCount;
        }
        begunToday += today ? 1 : 0;
        if (!answered) {
            fresh.push_back(kindsStart.size() - 1);
        }
    }
    kindsStart.push_back(kindCount);
    sim.result.kanji = qint32(kindsStart.size() - 1);

    size_t nextFresh = 0;
    for (size_t day = 0; day < days; ++day) {
        const qint64 at = sim.answerTime(qint64(day));
        // Placing a branch never adds to its own day, so the day's list stays as it is.
        std::vector<Branch> due = mergedByKind(std::move(sim.byDay[day]));
        for (const Branch& branch : due) {
            const qint64 time = std::max(at, branch.state.lastReview);
            const double recall = model.recallAt(branch.state, time);
            sim.result.answersPerDay[day] += branch.weight;
            sim.split(branch.weight, recall, model.review(branch.state, Rating::Good, time),
                      model.review(branch.state, Rating::Again, time), branch.kind, qint64(day));
        }
        qint32 room = std::max(0, options.newPerDay - (day == 0 ? begunToday : 0));
        for (; room > 0 && nextFresh < fresh.size(); --room, ++nextFresh) {
            const size_t kanji = fresh[nextFresh];
            for (qint32 kind = kindsStart[kanji]; kind < kindsStart[kanji + 1]; ++kind) {
                sim.result.answersPerDay[day] += 1.0;
                sim.split(1.0, options.firstRecall, model.first(Rating::Good, at),
                          model.first(Rating::Again, at), kind, qint64(day));
            }
            ++sim.result.newPerDay[day];
        }
    }

    // What each kind is known with at the end, then each kanji's chance of knowing all its kinds.
    const qint64 end = options.dayStart + qint64(days) * SecondsPerDay;
    std::vector<double> known(size_t(kindCount), 0.0);
    for (const Branch& branch : sim.beyond) {
        if (model.recallAt(branch.state, end) >= KnownRecall) {
            known[size_t(branch.kind)] += branch.weight;
        }
    }
    for (size_t kanji = 0; kanji + 1 < kindsStart.size(); ++kanji) {
        double all = 1.0;
        for (qint32 kind = kindsStart[kanji]; kind < kindsStart[kanji + 1]; ++kind) {
            all *= std::min(known[size_t(kind)], 1.0);
        }
        sim.result.knownAtEnd += all;
    }
    return sim.result;
}

double firstAnswerRecall(const std::vector<ReviewEntry>& entries) {
    std::unordered_set<quint64> seen;
    qint64 first = 0;
    qint64 right = 0;
    for (const ReviewEntry& entry : entries) {
        // A seed stands for answers given before the log: its kind is not new any more.
        if (!seen.insert(memoryKey(entry.code, entry.kind)).second ||
            entry.type != ReviewEntryType::Answer) {
            continue;
        }
        ++first;
        right += entry.verdict == Grade::Wrong ? 0 : 1;
    }
    return first > 0 ? double(right) / double(first) : 0.0;
}
