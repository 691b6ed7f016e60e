// Profile load and save of 13,000 records beside a plain read and write of the same bytes.
#include "base/files.h"
#include "core/training/profilefile.h"
#include "core/training/profilerecord.h"

#include <unistd.h>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Records = 13000;

KanjiSet makeSet() {
    KanjiSet set;
    for (int i = 0; i < Records; ++i) {
        KanjiRecord kanji;
        kanji.Idx1 = i + 1;
        kanji.Unicode = 0x4E00 + i;
        set.records.push_back(kanji);
    }
    set.current = 0;
    return set;
}

std::vector<ProfileRecord> makeProfile() {
    std::vector<ProfileRecord> records(Records);
    for (int i = 0; i < Records; ++i) {
        records[size_t(i)].Code = 0x4E00 + i;
        records[size_t(i)].KindOn = {i % 7, i % 3, i % 5, 50, i % 4, 1796635815};
    }
    return records;
}

struct Files {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Lerner.rkpr"));
    QByteArray bytes = writeProfileFile(makeProfile());
    Files() { saveFileAtomically(path, bytes); }
};

Files& files() {
    static Files shared;
    return shared;
}

// What loading a profile does: read, parse, merge, sync with the set.
void BM_ProfileLoad(benchmark::State& state) {
    const KanjiSet set = makeSet();
    for (auto _ : state) {
        ProfileList list;
        list.records = parseProfileFile(*readWholeFile(files().path)).records;
        mergeDuplicateRecords(list);
        syncProfile(list, set);
        benchmark::DoNotOptimize(list.records.data());
    }
}

// Only the file: read and parse.
void BM_ProfileRead(benchmark::State& state) {
    for (auto _ : state) {
        ProfileFileContent content = parseProfileFile(*readWholeFile(files().path));
        benchmark::DoNotOptimize(content.records.data());
    }
}

void BM_PlainRead(benchmark::State& state) {
    for (auto _ : state) {
        QFile file(files().path);
        file.open(QIODevice::ReadOnly);
        QByteArray bytes = file.readAll();
        benchmark::DoNotOptimize(bytes.data());
    }
}

// What saving does: write the records and replace the file atomically, synced.
void BM_ProfileSave(benchmark::State& state) {
    const std::vector<ProfileRecord> records = makeProfile();
    for (auto _ : state) {
        if (!saveFileAtomically(files().path, writeProfileFile(records))) {
            state.SkipWithError("save failed");
        }
    }
}

// A plain write of the same bytes, flushed to the disk as the atomic save does.
void BM_PlainWrite(benchmark::State& state) {
    for (auto _ : state) {
        QFile file(files().path + QStringLiteral(".plain"));
        file.open(QIODevice::WriteOnly);
        file.write(files().bytes);
        file.flush();
        ::fsync(file.handle());
    }
}

}  // namespace

BENCHMARK(BM_ProfileLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProfileRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProfileSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
