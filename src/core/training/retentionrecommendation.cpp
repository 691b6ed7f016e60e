// The desired retention and new kanji per day that keep the most kanji recalled over a year of
// the answers a learner gives a day, found by simulating the year.
#include "core/training/retentionrecommendation.h"

#include "core/training/duelist.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

quint64 mix(quint64 x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

double uniformOf(quint64 seed, quint64 item, quint64 answer) {
    return double(mix(seed ^ mix(item * 0x100000001B3ULL + answer)) >> 11) * 0x1.0p-53;
}

// The kanji recalled are counted at the end of every stretch of this many days.
constexpr size_t MonthDays = 30;

// The draws of an item's hidden difficulty, apart from those of its answers.
constexpr quint64 ShiftDraw = quint64(1) << 40;

struct Item {
    // The memory as the program models it, and as the learner's own difficulty makes it.
    MemoryState state;
    MemoryState truth;
    double shift = 0;
    qint32 kanji = 0;
    bool answered = false;
    // Priority among due items: elapsed days over stability when last ranked.
    double overdue = 0;
};

struct Kanji {
    qint32 firstItem = 0;
    qint32 items = 0;
};

}  // namespace

double medianAnswerSeconds(std::vector<double> seconds) {
    seconds.erase(std::remove_if(seconds.begin(), seconds.end(), [](double s) { return !(s > 0); }),
                  seconds.end());
    if (seconds.empty()) {
        return DefaultAnswerSeconds;
    }
    const size_t middle = seconds.size() / 2;
    std::nth_element(seconds.begin(), seconds.begin() + qint64(middle), seconds.end());
    const double upper = seconds[middle];
    if (seconds.size() % 2 == 1) {
        return upper;
    }
    return (upper + *std::max_element(seconds.begin(), seconds.begin() + qint64(middle))) / 2;
}

qint32 answersInMinutes(qint32 minutes, double secondsPerAnswer) {
    const double answers =
        std::floor(60.0 * std::max(minutes, 0) / std::max(secondsPerAnswer, 1.0));
    return std::max<qint32>(1, qint32(std::min(answers, 1e6)));
}

double simulatedRecall(const PlanStart& start, double retention, qint32 newPerDay, quint64 seed) {
    const MemoryModel& model = start.model;
    const auto days = size_t(std::max(start.days, 1));
    const double daysPerStability = model.intervalDays(1.0, retention);

    std::vector<Item> items;
    std::vector<Kanji> kanji;
    std::vector<qint32> fresh;
    std::vector<std::vector<qint32>> byDay(days);
    // The day a kind is asked again, as the schedule places it: a fuzzed interval on a whole
    // day, a short one when recall reaches the retention but a day after the answer at the
    // soonest, asked in the first session that begins after it.
    const auto dueDay = [&](const MemoryState& state, size_t answeredOn) {
        const double interval = state.stability * daysPerStability;
        if (interval >= 2.5) {
            return answeredOn + size_t(std::lround(std::min(interval, 36500.0)));
        }
        const qint64 due = state.lastReview +
                           std::max(SameDaySeconds, qint64(std::ceil(interval * SecondsPerDay)));
        const qint64 offset = due - start.now;
        return offset <= 0 ? size_t(0) : size_t((offset + SecondsPerDay - 1) / SecondsPerDay);
    };
    // The learner's own difficulty of a kind, which the program cannot see: the model's
    // difficulty shifted by a normal draw of the spread.
    const auto shiftOf = [&](quint64 item) {
        const double u = std::max(uniformOf(seed, item, ShiftDraw), 1e-12);
        const double v = uniformOf(seed, item, ShiftDraw + 1);
        return start.difficultySpread * std::sqrt(-2.0 * std::log(u)) *
               std::cos(2 * std::numbers::pi * v);
    };
    const auto shifted = [](MemoryState state, double shift) {
        state.difficulty = std::clamp(state.difficulty + shift, 1.0, 10.0);
        return state;
    };
    for (const KanjiRecord& record : start.set.records) {
        const AskedKinds kinds = questionKinds(record, start.asked);
        if (kinds.count() == 0) {
            continue;
        }
        const auto index = qint32(kanji.size());
        kanji.push_back(Kanji{qint32(items.size()), kinds.count()});
        bool answered = false;
        for (AnswerKind kind : AllAnswerKinds) {
            if (!asksKind(kinds, kind)) {
                continue;
            }
            Item item;
            item.kanji = index;
            item.shift = shiftOf(items.size());
            if (const MemoryState* state = start.states.find(record.Unicode, kind)) {
                item.state = *state;
                item.truth = shifted(*state, item.shift);
                item.answered = true;
                answered = true;
                const qint64 sinceNow = item.state.lastReview - start.now;
                const size_t day = std::max<qint64>(
                    0, dueDay(item.state, 0) + (sinceNow < 0 ? sinceNow / SecondsPerDay : 0));
                if (day < days) {
                    byDay[day].push_back(qint32(items.size()));
                }
            }
            items.push_back(item);
        }
        if (!answered) {
            fresh.push_back(index);
        }
    }

    const auto budget = size_t(std::max(start.answersPerDay, 0));
    const auto pace = qint64(std::ceil(std::max(start.secondsPerAnswer, 0.0)));
    // A kind's answer: drawn from the learner's own memory, and taken into both it and the
    // program's.
    const auto answer = [&](qint32 i, qint64 clock) {
        Item& item = items[size_t(i)];
        const double draw = uniformOf(seed, quint64(i), quint64(item.truth.reviews));
        if (!item.answered) {
            const Rating rating = draw < start.firstRecall ? Rating::Good : Rating::Again;
            item.state = model.first(rating, clock);
            item.truth = shifted(item.state, item.shift);
            item.answered = true;
            return;
        }
        const Rating rating =
            draw < model.recallAt(item.truth, clock) ? Rating::Good : Rating::Again;
        item.state = model.review(item.state, rating, clock);
        item.truth = model.review(item.truth, rating, clock);
    };
    // The kanji recalled in every asked kind at that time, those never begun counting none.
    const auto recalledAt = [&](qint64 time) {
        double recalled = 0;
        for (const Kanji& k : kanji) {
            double all = 1.0;
            for (qint32 i = k.firstItem; i < k.firstItem + k.items && all > 0; ++i) {
                const Item& item = items[size_t(i)];
                all *= item.answered ? model.recallAt(item.truth, time) : 0.0;
            }
            recalled += all;
        }
        return recalled;
    };
    double recalledSum = 0;
    int months = 0;
    std::vector<qint32> backlog;
    size_t nextFresh = 0;
    for (size_t day = 0; day < days; ++day) {
        const qint64 at = start.now + qint64(day) * SecondsPerDay;
        qint64 clock = at;
        // New kanji first, in set order while the day takes them and the budget has room for
        // all their kinds.
        size_t room = budget;
        for (qint32 begun = 0; begun < newPerDay && nextFresh < fresh.size(); ++begun) {
            const Kanji& next = kanji[size_t(fresh[nextFresh])];
            if (size_t(next.items) > room) {
                break;
            }
            room -= size_t(next.items);
            ++nextFresh;
            for (qint32 i = next.firstItem; i < next.firstItem + next.items; ++i, clock += pace) {
                answer(i, clock);
                const size_t due = std::max(day + 1, dueDay(items[size_t(i)].state, day));
                if (due < days) {
                    byDay[due].push_back(i);
                }
            }
        }
        std::vector<qint32>& today = byDay[day];
        backlog.insert(backlog.end(), today.begin(), today.end());
        std::vector<qint32>().swap(today);
        // Then the due kinds the program expects to keep best, as many as the rest allows.
        const size_t answered = std::min(room, backlog.size());
        if (backlog.size() > room) {
            for (qint32 i : backlog) {
                Item& item = items[size_t(i)];
                item.overdue = double(at - item.state.lastReview) / item.state.stability;
            }
            std::nth_element(backlog.begin(), backlog.begin() + qint64(answered), backlog.end(),
                             [&items](qint32 a, qint32 b) {
                                 return items[size_t(a)].overdue < items[size_t(b)].overdue;
                             });
        }
        for (size_t n = 0; n < answered; ++n, clock += pace) {
            answer(backlog[n], clock);
            const size_t next = std::max(day + 1, dueDay(items[size_t(backlog[n])].state, day));
            if (next < days) {
                byDay[next].push_back(backlog[n]);
            }
        }
        backlog.erase(backlog.begin(), backlog.begin() + qint64(answered));
        if ((day + 1) % MonthDays == 0 || day + 1 == days) {
            recalledSum += recalledAt(start.now + qint64(day + 1) * SecondsPerDay);
            ++months;
        }
    }
    return recalledSum / double(months);
}

std::optional<Recommendation> recommendPlan(const PlanStart& start,
                                            const RecommendProgress& progress) {
    // The answers a kanji's first day takes, on average over the set.
    qint64 kinds = 0;
    qint64 asked = 0;
    for (const KanjiRecord& record : start.set.records) {
        const int count = questionKinds(record, start.asked).count();
        kinds += count;
        asked += count > 0 ? 1 : 0;
    }
    const double perKanji = asked > 0 ? double(kinds) / double(asked) : 1.0;
    const double mostNew = std::max(1.0, start.answersPerDay / perKanji);

    const std::vector<qint32> retentions{70, 75, 80, 85, 90, 95};
    std::vector<qint32> rates;
    for (double share : {0.0, 0.05, 0.1, 0.2, 0.3, 0.45, 0.6, 0.8, 1.0}) {
        const auto rate = qint32(std::lround(share * mostNew));
        if (rates.empty() || rate > rates.back()) {
            rates.push_back(rate);
        }
    }
    constexpr quint64 Seeds[] = {0x5EED0001, 0x5EED0002};
    const int refinements = 8;
    const int total = int(retentions.size() * rates.size()) + refinements;
    int done = 0;

    std::vector<Recommendation> tried;
    const auto tryPlan = [&](qint32 percent, qint32 rate) {
        double sum = 0;
        for (quint64 seed : Seeds) {
            sum += simulatedRecall(start, percent / 100.0, rate, seed);
        }
        tried.push_back(Recommendation{percent, rate, sum / double(std::size(Seeds))});
        ++done;
        return !progress || progress(done, total);
    };
    // The plan the simulation expects the most of; a tie goes to the one that begins more kanji,
    // which reaches the same end sooner.
    const auto chosen = [&tried] {
        const Recommendation* pick = &tried.front();
        for (const Recommendation& plan : tried) {
            if (plan.expectedRecalled > pick->expectedRecalled ||
                (plan.expectedRecalled == pick->expectedRecalled &&
                 plan.newPerDay > pick->newPerDay)) {
                pick = &plan;
            }
        }
        return *pick;
    };
    for (qint32 percent : retentions) {
        for (qint32 rate : rates) {
            if (!tryPlan(percent, rate)) {
                return std::nullopt;
            }
        }
    }
    // Around the grid's choice: halfway to the neighbouring retentions and rates.
    const Recommendation coarse = chosen();
    const qint32 step = std::max(1, coarse.newPerDay / 4);
    for (int dr : {-1, 0, 1}) {
        for (int dn : {-1, 0, 1}) {
            if (dr == 0 && dn == 0) {
                continue;
            }
            const qint32 percent = std::clamp(coarse.retentionPercent + 2 * dr, 70, 97);
            const qint32 rate =
                std::clamp(coarse.newPerDay + dn * step, 0, qint32(std::ceil(mostNew)));
            if (!tryPlan(percent, rate)) {
                return std::nullopt;
            }
        }
    }
    return chosen();
}
