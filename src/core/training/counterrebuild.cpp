// The profile's counters as the review log gives them.
#include "core/training/counterrebuild.h"

#include "core/training/memorymodel.h"

#include <algorithm>
#include <limits>

namespace {

qint32 clamped(qint64 count) {
    return qint32(std::clamp<qint64>(count, 0, std::numeric_limits<qint32>::max()));
}

qint64 answersOf(const AnswerStats& stats) {
    return qint64(stats.Right) + stats.Partly + stats.Wrong;
}

}  // namespace

void completeSeeds(std::vector<ReviewEntry>& history, const ProfileList& profile,
                   const QTimeZone& zone) {
    struct Held {
        qint64 right = 0;
        qint64 partly = 0;
        qint64 wrong = 0;
        qint64 first = -1;
        qint64 seed = -1;
        // Right answers since the log's last wrong one, and whether there was one.
        qint64 run = 0;
        bool wrongSeen = false;
    };
    std::unordered_map<quint64, Held> held;
    for (size_t i = 0; i < history.size(); ++i) {
        const ReviewEntry& entry = history[i];
        Held& kind = held[memoryKey(entry.code, entry.kind)];
        if (entry.type == ReviewEntryType::Seed && kind.seed < 0) {
            kind.seed = qint64(i);
            kind.right += entry.right;
            kind.partly += entry.partly;
            kind.wrong += entry.wrong;
        } else if (entry.type == ReviewEntryType::Answer) {
            kind.right += isRight(entry.verdict);
            kind.partly += entry.verdict == Grade::Partly;
            kind.wrong += entry.verdict == Grade::Wrong;
            kind.first = kind.first < 0 ? entry.time : std::min(kind.first, entry.time);
            if (entry.verdict == Grade::Wrong) {
                kind.run = 0;
                kind.wrongSeen = true;
            } else if (isRight(entry.verdict)) {
                ++kind.run;
            }
        }
    }
    std::vector<ReviewEntry> added;
    for (const ProfileRecord& record : profile.records) {
        for (AnswerKind kind :
             {AnswerKind::On, AnswerKind::Kun, AnswerKind::Meaning, AnswerKind::Kanji}) {
            const AnswerStats& stats = record.stats(kind);
            const auto found = held.find(memoryKey(record.Code, kind));
            const Held log = found == held.end() ? Held{} : found->second;
            const qint64 right = stats.Right - log.right;
            const qint64 partly = stats.Partly - log.partly;
            const qint64 wrong = stats.Wrong - log.wrong;
            // Only a profile that holds all the log does and more; otherwise the log is right.
            if (record.Code <= 0 || right < 0 || partly < 0 || wrong < 0 ||
                right + partly + wrong == 0) {
                continue;
            }
            if (log.seed >= 0) {
                ReviewEntry& seed = history[size_t(log.seed)];
                seed.right = clamped(seed.right + right);
                seed.partly = clamped(seed.partly + partly);
                seed.wrong = clamped(seed.wrong + wrong);
                continue;
            }
            ReviewEntry seed;
            seed.type = ReviewEntryType::Seed;
            seed.kind = kind;
            seed.code = record.Code;
            const qint64 last = utcOfLocalAnswerTime(stats.LastAnswer, zone);
            seed.time = log.first < 0 ? last : std::min(last, log.first);
            seed.right = clamped(right);
            seed.partly = clamped(partly);
            seed.wrong = clamped(wrong);
            // The profile's series, less the part the log's answers give; all of it is before a
            // wrong answer of the log.
            seed.series = log.wrongSeen ? 0 : qint32(std::max<qint64>(0, stats.Series - log.run));
            added.push_back(seed);
        }
    }
    history.insert(history.begin(), added.begin(), added.end());
}

void CounterRebuild::take(const ReviewEntry& entry) {
    if (entry.type == ReviewEntryType::Undo) {
        return;
    }
    Tally& tally = tallies_[memoryKey(entry.code, entry.kind)];
    if (entry.type == ReviewEntryType::Seed) {
        if (tally.seeded) {
            return;
        }
        tally.seeded = true;
        tally.right += entry.right;
        tally.partly += entry.partly;
        tally.wrong += entry.wrong;
        tally.series += entry.series;
    } else {
        switch (entry.verdict) {
            case Grade::Wrong:
                ++tally.wrong;
                tally.series = 0;
                break;
            case Grade::Partly:
                ++tally.partly;
                break;
            case Grade::Right:
            case Grade::Easy:
                ++tally.right;
                ++tally.series;
                break;
        }
    }
    tally.last = std::max(tally.last, entry.time);
}

AnswerStats CounterRebuild::statsOf(const Tally& tally, const QTimeZone& zone) {
    AnswerStats stats;
    stats.Right = clamped(tally.right);
    stats.Partly = clamped(tally.partly);
    stats.Wrong = clamped(tally.wrong);
    stats.Quota = storedQuota(stats.Right, stats.Wrong);
    stats.Series = clamped(tally.series);
    stats.LastAnswer = tally.last < 0 ? 0 : localAnswerTime(tally.last, zone);
    return stats;
}

int CounterRebuild::applyTo(ProfileList& profile, RebuildScope scope, const QTimeZone& zone) const {
    int changed = 0;
    for (const auto& [key, tally] : tallies_) {
        const int found = profileIndexOf(profile, qint32(key >> 2));
        if (found < 0) {
            continue;
        }
        AnswerStats& stats = profile.records[size_t(found)].stats(AnswerKind(key & 3));
        const AnswerStats rebuilt = statsOf(tally, zone);
        if (scope == RebuildScope::Behind && answersOf(rebuilt) <= answersOf(stats)) {
            continue;
        }
        if (stats != rebuilt) {
            stats = rebuilt;
            ++changed;
        }
    }
    return changed;
}
