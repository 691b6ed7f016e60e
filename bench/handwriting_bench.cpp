// How well and how fast a kanji written with the mouse is graded, over every JLPT kanji.
// Usage: bench_handwriting [stroke file [KANJIDIC2 .xml.gz [zinnia model]]]; defaults: the
// committed data/Media/Strokes/KanjiVG.strokes, Debian's kanjidic-xml and tegaki-zinnia-japanese.
// Each drawing is made from the kanji's reference strokes as a mouse would leave them: KanjiVG's
// box mapped onto the 160 x 160 canvas at 0.85 to 1.05 times its size, shifted up to 8 pixels
// either way, a point every 3 pixels along each stroke, each point off by a normal error of
// 3 pixels. Three drawings per kanji are graded against its reference: one right, one of another
// JLPT kanji chosen at random, and one with its first two strokes exchanged. The seed is fixed, so
// every run grades the same drawings. Prints a Markdown table.
#include "base/files.h"
#include "common/gunzip.h"
#include "core/handwriting/handwritinggrade.h"
#include "core/handwriting/strokelibrary.h"
#include "core/handwriting/strokesmoothing.h"
#include "makedemoset/kanjidic.h"

#include <QElapsedTimer>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <optional>
#include <random>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int Canvas = 160;
constexpr float PointSpacing = 3;
constexpr double Jitter = 3;
constexpr double MaxShift = 8;
constexpr std::uint32_t Seed = 20261207;

// mt19937's numbers are the same everywhere, the standard distributions' are not; so uniform and
// normal numbers are made here.
class Random {
public:
    double uniform(double low, double high) { return low + (high - low) * unit(); }
    std::size_t below(std::size_t count) { return static_cast<std::size_t>(unit() * count); }
    // Box-Muller.
    double normal(double sigma) {
        const double u1 = 1.0 - unit();  // never 0, for the logarithm
        const double u2 = unit();
        return sigma * std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
    }

private:
    double unit() { return engine_() / 4294967296.0; }  // [0, 1)
    std::mt19937 engine_{Seed};
};

struct Kanji {
    char32_t code = 0;
    const StrokeList* strokes = nullptr;
};

std::optional<std::vector<Kanji>> jlptKanji(const QString& kanjidicPath,
                                            const StrokeLibrary& library) {
    const FileResult<QByteArray> compressed = readWholeFile(kanjidicPath);
    if (!compressed) {
        return std::nullopt;
    }
    const std::optional<QByteArray> xml = gunzip(*compressed, qsizetype(1) << 30);
    const auto entries = xml ? parseKanjidic(*xml) : std::nullopt;
    if (!entries) {
        return std::nullopt;
    }
    std::vector<Kanji> kanji;
    for (const KanjidicEntry& e : *entries) {
        if (e.jlptLevel == 0) {
            continue;
        }
        const StrokeList* strokes = library.find(e.codePoint);
        if (strokes == nullptr) {
            std::fprintf(stderr, "no strokes for U+%04X\n", static_cast<unsigned>(e.codePoint));
            return std::nullopt;
        }
        kanji.push_back({e.codePoint, strokes});
    }
    return kanji;
}

StrokeList mouseDrawing(const StrokeList& reference, Random& random) {
    const double scale = Canvas / StrokeLibrary::BoxSize * random.uniform(0.85, 1.05);
    const double shiftX = random.uniform(-MaxShift, MaxShift);
    const double shiftY = random.uniform(-MaxShift, MaxShift);
    const auto onCanvas = [&](float v, double shift) {
        return static_cast<float>(Canvas / 2.0 + (v - StrokeLibrary::BoxSize / 2) * scale + shift);
    };
    StrokeList drawing;
    for (const Stroke& stroke : reference) {
        Stroke line;
        for (const StrokePoint p : stroke) {
            line.push_back({onCanvas(p.x, shiftX), onCanvas(p.y, shiftY)});
        }
        Stroke& drawn = drawing.emplace_back();
        for (const StrokePoint p : resampled(line, PointSpacing)) {
            drawn.push_back({static_cast<float>(p.x + random.normal(Jitter)),
                             static_cast<float>(p.y + random.normal(Jitter))});
        }
    }
    return drawing;
}

struct Tally {
    int drawings = 0;
    int right = 0;
    int partly = 0;

    void count(HandwritingVerdict verdict) {
        ++drawings;
        right += verdict == HandwritingVerdict::Right;
        partly += verdict == HandwritingVerdict::Partly;
    }
    double percentRight() const { return 100.0 * right / drawings; }
    double percentPartly() const { return 100.0 * partly / drawings; }
};

// The machine is shared, so wall time alone would count other programs' turns on the processor.
double threadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * (values.size() - 1))];
}

double mean(const std::vector<double>& values) {
    double sum = 0;
    for (const double v : values) {
        sum += v;
    }
    return sum / values.size();
}

const char* met(bool yes) {
    return yes ? "met" : "**missed**";
}

}  // namespace

int main(int argc, char** argv) {
    const QString strokesPath =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QStringLiteral(RENKARI_SOURCE_DIR "/data/Media/Strokes/KanjiVG.strokes");
    const QString kanjidicPath =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : u"/usr/share/edict/kanjidic2.xml.gz"_s;
    const QString modelPath =
        argc > 3 ? QString::fromLocal8Bit(argv[3]) : KanjiRecognizer::defaultModelPath();

    const FileResult<StrokeLibrary> library = loadStrokeLibrary(strokesPath);
    if (!library) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(strokesPath));
        return 1;
    }
    const std::optional<std::vector<Kanji>> kanji = jlptKanji(kanjidicPath, *library);
    if (!kanji || kanji->size() < 2) {
        std::fprintf(stderr, "cannot read the JLPT kanji from %s\n", qPrintable(kanjidicPath));
        return 1;
    }
    const FileResult<KanjiRecognizer> recognizer = KanjiRecognizer::open(modelPath);
    if (!recognizer) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(modelPath),
                     qPrintable(recognizer.error().systemText));
        return 1;
    }

    Random random;
    std::vector<double> milliseconds;
    std::vector<double> cpuMilliseconds;
    double firstMilliseconds = -1;
    const auto grade = [&](const StrokeList& drawing, const Kanji& k) {
        QElapsedTimer timer;
        const double cpuStart = threadMilliseconds();
        timer.start();
        HandwritingGrade g =
            gradeHandwriting(drawing, k.code, k.strokes, &*recognizer, Canvas, Canvas);
        const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        const double cpu = threadMilliseconds() - cpuStart;
        // The first grading pages the model in; it is shown on its own.
        if (firstMilliseconds < 0) {
            firstMilliseconds = elapsed;
        } else {
            milliseconds.push_back(elapsed);
            cpuMilliseconds.push_back(cpu);
        }
        return g;
    };

    Tally correct;
    Tally other;
    Tally swapped;
    int zinniaFirst = 0;
    int zinniaAmongFive = 0;
    for (std::size_t i = 0; i < kanji->size(); ++i) {
        const Kanji& k = (*kanji)[i];
        const HandwritingGrade right = grade(mouseDrawing(*k.strokes, random), k);
        correct.count(right.verdict);
        zinniaFirst += !right.candidates.empty() && right.candidates.front() == k.code;
        zinniaAmongFive += std::ranges::count(right.candidates, k.code) > 0;

        const std::size_t j = (i + 1 + random.below(kanji->size() - 1)) % kanji->size();
        other.count(grade(mouseDrawing(*(*kanji)[j].strokes, random), k).verdict);

        if (k.strokes->size() >= 2) {
            StrokeList exchanged = mouseDrawing(*k.strokes, random);
            std::swap(exchanged[0], exchanged[1]);
            swapped.count(grade(exchanged, k).verdict);
        }
    }

    const double meanMs = mean(milliseconds);
    const double p99Ms = percentile(milliseconds, 0.99);
    const double maxMs = *std::ranges::max_element(milliseconds);
    std::printf("| %d JLPT kanji, drawings as by a mouse | measured | target | |\n",
                static_cast<int>(kanji->size()));
    std::printf("|---|---|---|---|\n");
    std::printf(
        "| the kanji's own drawing graded right (partly) | %.2f %% (%.2f %%) | >= 95 %% | %s |\n",
        correct.percentRight(), correct.percentPartly(), met(correct.percentRight() >= 95));
    std::printf(
        "| another JLPT kanji's drawing graded right (partly) | %.2f %% (%.2f %%) | <= 0.5 %% "
        "| %s |\n",
        other.percentRight(), other.percentPartly(), met(other.percentRight() <= 0.5));
    std::printf(
        "| first two strokes exchanged graded right (partly), %d kanji | %.2f %% "
        "(%.2f %%) | <= 5 %% | %s |\n",
        swapped.drawings, swapped.percentRight(), swapped.percentPartly(),
        met(swapped.percentRight() <= 5));
    std::printf(
        "| grading time with zinnia, mean / p99 / max of %d drawings | %.1f / %.1f / "
        "%.1f ms | <= 20 ms | %s |\n",
        static_cast<int>(milliseconds.size()), meanMs, p99Ms, maxMs,
        met(meanMs <= 20 && p99Ms <= 20));
    std::printf("| the same, processor time of the grading thread | %.1f / %.1f / %.1f ms | | |\n",
                mean(cpuMilliseconds), percentile(cpuMilliseconds, 0.99),
                *std::ranges::max_element(cpuMilliseconds));
    std::printf("| the first grading after the model is opened | %.1f ms | | |\n",
                firstMilliseconds);
    std::printf("| zinnia alone: the kanji first / among its five | %.1f %% / %.1f %% | | |\n",
                100.0 * zinniaFirst / correct.drawings, 100.0 * zinniaAmongFive / correct.drawings);
    return 0;
}
