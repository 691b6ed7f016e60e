// Two machines' review logs of 100,000 answers each, half of them the same, merged as a conflict
// copy is: the copy read, the union written, the profile's counters and the memory rebuilt, the
// profile saved.
#include "base/files.h"
#include "core/training/learner.h"
#include "core/training/profilefile.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Kanji = 2000;
constexpr int Answers = 100000;
constexpr qint64 FirstAnswer = 1767225600;  // 2026-01-01 00:00 UTC

// The answers one machine gave: the first half shared with the other machine, the second half its
// own, on its own seconds.
std::vector<ReviewEntry> answersOf(int machine) {
    std::vector<ReviewEntry> entries;
    entries.reserve(Answers);
    for (int i = 0; i < Answers; ++i) {
        const bool shared = i < Answers / 2;
        const qint64 time = FirstAnswer + qint64(i) * 120 + (shared ? 0 : 1 + machine * 60);
        entries.push_back(answerEntry(time, 0x4E00 + (i * (shared ? 7 : 11 + machine)) % Kanji,
                                      AnswerKind((i + (shared ? 0 : machine)) % 4),
                                      Grade((i * 5) % 4), 1000 + i % 5000));
    }
    return entries;
}

ProfileList uncountedProfile() {
    ProfileList profile;
    for (int i = 0; i < Kanji; ++i) {
        profile.records.push_back(ProfileRecord{0x4E00 + i, {}, {}, {}, {}});
    }
    return profile;
}

void BM_MergeConflictCopyLog(benchmark::State& state) {
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("Anna.rklog"));
    const QString copy =
        dir.filePath(QStringLiteral("Anna.sync-conflict-20261208-101500-ABCDEFG.rklog"));
    const QString profile = dir.filePath(QStringLiteral("Anna.rkpr"));
    const std::vector<ReviewEntry> desktop = answersOf(0);
    startReviewLog(copy, answersOf(1));
    const QTimeZone zone = QTimeZone::systemTimeZone();
    qint32 added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        startReviewLog(log, desktop);
        state.ResumeTiming();
        LoadedLearner loaded =
            Learner::load(LearnerFiles{log, dir.filePath(QStringLiteral("Anna.rktrain"))},
                          uncountedProfile(), zone);
        FileResult<std::vector<ReviewEntry>> other = readReviewHistory(copy);
        const FileResult<MergeOutcome> merged = loaded.learner.merge(std::move(*other));
        added = merged ? merged->added : -1;
        saveFileAtomically(profile, writeProfileFile(loaded.learner.profile().records));
    }
    if (added != Answers / 2) {
        state.SkipWithError("the merge did not add the other machine's own answers");
    }
    state.counters["answers_added"] = added;
}
BENCHMARK(BM_MergeConflictCopyLog)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
