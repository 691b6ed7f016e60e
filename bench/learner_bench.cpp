// Loading the learner of a profile of the 2,230 JLPT kanji: its training choices read, a log of
// 50,000 answers (after the seeds of the profile's history) streamed, the memory replayed and the
// counters checked against it. Also a 2,000,000-answer log, whose load keeps only the states.
#include "core/training/learner.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int Kanji = 2230;
constexpr qint64 Start = 1'700'000'000;

ProfileList makeProfile() {
    ProfileList profile;
    for (int i = 0; i < Kanji; ++i) {
        ProfileRecord record;
        record.Code = 0x4E00 + i;
        // Half the kanji have a history from before the log.
        if (i % 2 == 0) {
            record.KindOn = {i % 7, i % 3, i % 5, 50, i % 4, quint32(Start - 86400)};
            record.KindMeaning = {i % 5, 0, i % 3, 60, 1, quint32(Start - 86400)};
        }
        profile.records.push_back(record);
    }
    return profile;
}

struct Files {
    QTemporaryDir dir;
    LearnerFiles files{dir.filePath(QStringLiteral("Lerner.rklog")),
                       dir.filePath(QStringLiteral("Lerner.rktrain"))};
    ProfileList profile = makeProfile();

    // Written a piece at a time, so the figures of the process show what loading keeps.
    explicit Files(int answers) {
        if (!startReviewLog(files.log, seedEntries(profile, QTimeZone::utc()))) {
            std::abort();
        }
        FileResult<ReviewLogWriter> log = ReviewLogWriter::open(files.log);
        std::mt19937 random(7);
        std::uniform_int_distribution<int> kanji(0, Kanji - 1);
        std::uniform_int_distribution<int> kind(0, 3);
        std::uniform_int_distribution<int> grade(0, 3);
        std::vector<ReviewEntry> piece;
        for (int i = 0; i < answers; ++i) {
            piece.push_back(answerEntry(Start + qint64(i) * 60, 0x4E00 + kanji(random),
                                        AnswerKind(kind(random)), Grade(grade(random)), 2500));
            if (piece.size() == 10'000 || i + 1 == answers) {
                if (!log || !log->append(piece)) {
                    std::abort();
                }
                piece.clear();
            }
        }
    }
};

void BM_LoadLearner(benchmark::State& state) {
    const Files files(int(state.range(0)));
    for (auto _ : state) {
        LoadedLearner loaded = Learner::load(files.files, files.profile, QTimeZone::utc());
        if (loaded.report.kindsUpdated == 0) {
            state.SkipWithError("the log was not replayed");
        }
        benchmark::DoNotOptimize(loaded.learner.states().size());
    }
}

}  // namespace

// The 2,000,000-answer log alone: run with --benchmark_filter=2000000 under /usr/bin/time -v,
// its maximum resident size is what loading keeps (the file is 61 MiB).
BENCHMARK(BM_LoadLearner)->Arg(50'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadLearner)->Arg(2'000'000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
