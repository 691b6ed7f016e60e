// Latency of speaking a short word: a click must start sound within 100 ms, so synthesis of a
// word has to take a fraction of that. The first call also loads the Japanese voice.
#include "core/kanjiset/speech.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

void BM_ShortWord(benchmark::State& state, const char16_t* kana) {
    const QString text = QString::fromUtf16(kana);
    for (auto _ : state) {
        const Expected<SpeechSamples, QString> speech = synthesizeSpeech(text);
        if (!speech) {
            state.SkipWithError(speech.error().toStdString().c_str());
            return;
        }
        benchmark::DoNotOptimize(speech->samples.data());
        state.counters["audio_ms"] =
            1000.0 * double(speech->samples.size()) / double(speech->sampleRate);
    }
}

BENCHMARK_CAPTURE(BM_ShortWord, nihon, u"にほん")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ShortWord, readings_of_sun, u"ニチ、ジツ、ひ、び、か")
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The first word pays for loading the voice; a learner's first click waits that long once.
    const auto start = std::chrono::steady_clock::now();
    const bool spoken = synthesizeSpeech(QStringLiteral("にほん")).has_value();
    const std::chrono::duration<double, std::milli> first =
        std::chrono::steady_clock::now() - start;
    std::printf("first word, voice loaded with it: %.1f ms%s\n", first.count(),
                spoken ? "" : " (failed)");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
