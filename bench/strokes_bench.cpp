// The committed KanjiVG stroke file: reading it whole, and drawing a strip from its strokes as
// the app does when a kanji has no strip file.
#include "base/files.h"
#include "core/handwriting/strokelibrary.h"
#include "core/handwriting/strokestrip.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>

namespace {

const QString kStrokeFile =
    QStringLiteral(RENKARI_SOURCE_DIR "/data/Media/Strokes/KanjiVG.strokes");

const QByteArray& fileBytes() {
    static const QByteArray bytes = [] {
        const FileResult<QByteArray> read = readWholeFile(kStrokeFile);
        if (!read) {
            std::abort();
        }
        return *read;
    }();
    return bytes;
}

const StrokeLibrary& library() {
    static const StrokeLibrary shared = *StrokeLibrary::parse(fileBytes());
    return shared;
}

// Plain read of the bytes from the page cache: the floor of loading.
void BM_ReadStrokeFile(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(readWholeFile(kStrokeFile));
    }
    state.SetBytesProcessed(state.iterations() * fileBytes().size());
}

// The program loads the file once; freeing its 87,000 vectors again is left out of the time,
// as it would otherwise make the next round's allocations pay for glibc tidying up after it.
void BM_LoadStrokeLibrary(benchmark::State& state) {
    for (auto _ : state) {
        std::optional<FileResult<StrokeLibrary>> loaded = loadStrokeLibrary(kStrokeFile);
        if (!*loaded || (*loaded)->size() != 6703) {
            state.SkipWithError("the stroke file did not load");
            return;
        }
        benchmark::DoNotOptimize((*loaded)->find(U'日'));
        state.PauseTiming();
        loaded.reset();
        state.ResumeTiming();
    }
}

// The same with the freeing inside the time.
void BM_LoadAndFreeStrokeLibrary(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadStrokeLibrary(kStrokeFile));
    }
}

// 日 (4 strokes), 語 (14), 鬱 (29): typical, busy and the busiest JLPT kanji.
void BM_RenderStrip(benchmark::State& state) {
    const StrokeList* strokes = library().find(static_cast<char32_t>(state.range(0)));
    if (strokes == nullptr) {
        state.SkipWithError("no strokes");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderStrip(*strokes).pixels.data());
    }
    state.SetLabel(std::to_string(strokes->size()) + " strokes");
}

}  // namespace

BENCHMARK(BM_ReadStrokeFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadStrokeLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadAndFreeStrokeLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderStrip)->Arg(U'日')->Arg(U'語')->Arg(U'鬱')->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
