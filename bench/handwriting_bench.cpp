// How well and how fast a kanji written by hand is graded, over every JLPT kanji.
// Usage: bench_handwriting [stroke file [KANJIDIC2 .xml.gz [zinnia model]]]; defaults: the
// committed data/Media/Strokes/KanjiVG.strokes, Debian's kanjidic-xml and tegaki-zinnia-japanese.
// A drawing is made from the kanji's reference strokes so that it differs from them the way
// people's writing does, not only by the hand's tremor. Per stroke: its hook dropped (half the
// time, where the geometry shows one: a short end piece after a sharp turn) or a flick added (one
// time in eight), its length changed by up to 20 % at one end or both (trimmed, or extended along
// its end), scaled by 0.9 to 1.1 and turned by up to 8 degrees about its middle, and shifted by
// up to 6 % of the box either way. Per character: the aspect changed by 0.8 to 1.25 and a smooth
// elastic warp of up to 3 % of the box. Then as a mouse leaves it on the 160 x 160 canvas: the
// box at 0.85 to 1.05 times the canvas, shifted up to 8 pixels, a point every 3 pixels, each off
// by a normal error of 3 pixels. Four drawings per kanji are graded against its reference: one
// right, one of another JLPT kanji with as many strokes, one with its first two strokes
// exchanged, one with a stroke drawn backwards. The seed is fixed, so every run grades the same
// drawings. Grading reads zinnia only where its verdict depends on it; zinnia's reading of each
// right drawing, which the program does on a worker as the strokes end, is timed on its own.
// Prints a Markdown table.
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

constexpr double Box = StrokeLibrary::BoxSize;

double lengthOf(const Stroke& stroke) {
    double length = 0;
    for (std::size_t i = 1; i < stroke.size(); ++i) {
        length += std::hypot(stroke[i].x - stroke[i - 1].x, stroke[i].y - stroke[i - 1].y);
    }
    return length;
}

// The part of the stroke from arc length from to arc length to.
Stroke piece(const Stroke& stroke, double from, double to) {
    Stroke out;
    double walked = 0;
    for (std::size_t i = 1; i < stroke.size(); ++i) {
        const StrokePoint a = stroke[i - 1];
        const StrokePoint b = stroke[i];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const auto at = [&](double s) {
            const double t = length > 0 ? std::clamp((s - walked) / length, 0.0, 1.0) : 0.0;
            return StrokePoint{static_cast<float>(a.x + t * (b.x - a.x)),
                               static_cast<float>(a.y + t * (b.y - a.y))};
        };
        if (walked + length >= from && walked <= to) {
            if (out.empty()) {
                out.push_back(at(std::max(from, walked)));
            }
            out.push_back(at(std::min(to, walked + length)));
        }
        walked += length;
    }
    if (out.empty()) {
        out.push_back(stroke.front());
    }
    return out;
}

// Where a hook begins: the arc length of the last sharp turn (over 60 degrees, between pieces of
// at least a tenth of the stroke) when what follows it is short.
std::optional<double> hookStart(const Stroke& stroke) {
    const double total = lengthOf(stroke);
    if (stroke.size() < 3 || total <= 0) {
        return std::nullopt;
    }
    const Stroke even = resampled(stroke, static_cast<float>(total / 40));
    const double step = total / 40;
    const auto direction = [&](std::size_t from, std::size_t to) {
        return std::atan2(even[to].y - even[from].y, even[to].x - even[from].x);
    };
    // The turn is looked for in the last quarter, against a tenth of the stroke before it.
    const std::size_t reach = 4;
    const std::size_t last = even.size() - 1;
    for (std::size_t i = last - 1; i >= reach && i + 10 >= last; --i) {
        double turn = std::abs(direction(i - reach, i) - direction(i, last));
        turn = std::min(turn, 2 * std::numbers::pi - turn);
        if (turn > std::numbers::pi / 3) {
            return step * static_cast<double>(i);
        }
    }
    return std::nullopt;
}

Stroke extended(Stroke stroke, double by, bool atEnd) {
    if (stroke.size() < 2) {
        return stroke;
    }
    const StrokePoint tip = atEnd ? stroke.back() : stroke.front();
    // The tangent over the last few points, so a single short segment does not decide it.
    const StrokePoint before = atEnd ? stroke[stroke.size() >= 4 ? stroke.size() - 4 : 0]
                                     : stroke[std::min<std::size_t>(3, stroke.size() - 1)];
    const double dx = tip.x - before.x;
    const double dy = tip.y - before.y;
    const double norm = std::hypot(dx, dy);
    if (norm <= 0) {
        return stroke;
    }
    const StrokePoint further{static_cast<float>(tip.x + dx / norm * by),
                              static_cast<float>(tip.y + dy / norm * by)};
    if (atEnd) {
        stroke.push_back(further);
    } else {
        stroke.insert(stroke.begin(), further);
    }
    return stroke;
}

Stroke humanStroke(Stroke stroke, Random& random) {
    // Hooks and flicks.
    if (const std::optional<double> hook = hookStart(stroke)) {
        if (random.uniform(0, 1) < 0.5) {
            stroke = piece(stroke, 0, *hook);
        }
    } else if (stroke.size() >= 2 && lengthOf(stroke) > 0.3 * Box && random.uniform(0, 1) < 0.125) {
        const StrokePoint tip = stroke.back();
        const StrokePoint before = stroke[stroke.size() - 2];
        const double angle = std::atan2(tip.y - before.y, tip.x - before.x) +
                             (random.uniform(0, 1) < 0.5 ? 1 : -1) * 2.2;
        const double length = 0.06 * Box;
        stroke.push_back({static_cast<float>(tip.x + length * std::cos(angle)),
                          static_cast<float>(tip.y + length * std::sin(angle))});
    }
    // Longer or shorter, at one end or both.
    const double total = lengthOf(stroke);
    const double change = random.uniform(-0.2, 0.2) * total;
    const std::size_t ends = random.below(3);  // 0: start, 1: end, 2: both
    const double atStart = ends == 0 ? change : ends == 1 ? 0 : change / 2;
    const double atEnd = change - atStart;
    if (total > 0) {
        stroke = atStart < 0 ? piece(stroke, -atStart, total) : extended(stroke, atStart, false);
        const double now = lengthOf(stroke);
        stroke = atEnd < 0 ? piece(stroke, 0, now + atEnd) : extended(stroke, atEnd, true);
    }
    // Scaled, turned and shifted about its middle.
    StrokePoint middle;
    for (const StrokePoint p : stroke) {
        middle.x += p.x / static_cast<float>(stroke.size());
        middle.y += p.y / static_cast<float>(stroke.size());
    }
    const double scale = random.uniform(0.9, 1.1);
    const double turn = random.uniform(-8, 8) * std::numbers::pi / 180;
    const double shiftX = random.uniform(-0.06, 0.06) * Box;
    const double shiftY = random.uniform(-0.06, 0.06) * Box;
    for (StrokePoint& p : stroke) {
        const double x = (p.x - middle.x) * scale;
        const double y = (p.y - middle.y) * scale;
        p = {static_cast<float>(middle.x + x * std::cos(turn) - y * std::sin(turn) + shiftX),
             static_cast<float>(middle.y + x * std::sin(turn) + y * std::cos(turn) + shiftY)};
    }
    return stroke;
}

StrokeList handDrawing(const StrokeList& reference, Random& random) {
    StrokeList drawing;
    for (const Stroke& stroke : reference) {
        drawing.push_back(humanStroke(stroke, random));
    }
    // The whole character: another aspect and a smooth warp, both about the box's middle.
    const double aspect = std::exp(random.uniform(std::log(0.8), std::log(1.25)));
    const double stretchX = std::sqrt(aspect);
    const double stretchY = 1 / stretchX;
    const double amplitude = 0.03 * Box;
    const double waveX = random.uniform(0.5, 1.0) * 2 * std::numbers::pi / Box;
    const double waveY = random.uniform(0.5, 1.0) * 2 * std::numbers::pi / Box;
    const double phaseX = random.uniform(0, 2 * std::numbers::pi);
    const double phaseY = random.uniform(0, 2 * std::numbers::pi);
    for (Stroke& stroke : drawing) {
        for (StrokePoint& p : stroke) {
            const double x = p.x + amplitude * std::sin(waveY * p.y + phaseX);
            const double y = p.y + amplitude * std::sin(waveX * p.x + phaseY);
            p = {static_cast<float>(Box / 2 + (x - Box / 2) * stretchX),
                 static_cast<float>(Box / 2 + (y - Box / 2) * stretchY)};
        }
    }
    return drawing;
}

StrokeList mouseDrawing(const StrokeList& reference, Random& random) {
    const StrokeList hand = handDrawing(reference, random);
    const double scale = Canvas / StrokeLibrary::BoxSize * random.uniform(0.85, 1.05);
    const double shiftX = random.uniform(-MaxShift, MaxShift);
    const double shiftY = random.uniform(-MaxShift, MaxShift);
    const auto onCanvas = [&](float v, double shift) {
        return static_cast<float>(Canvas / 2.0 + (v - StrokeLibrary::BoxSize / 2) * scale + shift);
    };
    StrokeList drawing;
    for (const Stroke& stroke : hand) {
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

    void count(Grade verdict) {
        ++drawings;
        right += verdict == Grade::Right;
        partly += verdict == Grade::Partly;
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
    std::vector<double> readMilliseconds;
    const auto grade = [&](const StrokeList& drawing, const Kanji& k) {
        QElapsedTimer timer;
        const double cpuStart = threadMilliseconds();
        timer.start();
        HandwritingGrade g =
            gradeHandwriting(drawing, k.code, k.strokes, &*recognizer, Canvas, Canvas);
        const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        const double cpu = threadMilliseconds() - cpuStart;
        milliseconds.push_back(elapsed);
        cpuMilliseconds.push_back(cpu);
        return g;
    };

    Tally correct;
    Tally other;
    Tally swapped;
    Tally reversed;
    int zinniaFirst = 0;
    int zinniaAmongFive = 0;
    for (std::size_t i = 0; i < kanji->size(); ++i) {
        const Kanji& k = (*kanji)[i];
        const StrokeList drawing = mouseDrawing(*k.strokes, random);
        correct.count(grade(drawing, k).verdict);
        // What the verdict names as read: the program reads it on a worker as each stroke ends.
        const double readStart = threadMilliseconds();
        const std::vector<char32_t> read = recognizer->candidates(drawing, Canvas, Canvas);
        readMilliseconds.push_back(threadMilliseconds() - readStart);
        zinniaFirst += !read.empty() && read.front() == k.code;
        zinniaAmongFive += std::ranges::count(read, k.code) > 0;

        // Another kanji with as many strokes, so that the count alone tells nothing.
        std::vector<std::size_t> alike;
        for (std::size_t j = 0; j < kanji->size(); ++j) {
            if (j != i && (*kanji)[j].strokes->size() == k.strokes->size()) {
                alike.push_back(j);
            }
        }
        if (!alike.empty()) {
            const Kanji& o = (*kanji)[alike[random.below(alike.size())]];
            other.count(grade(mouseDrawing(*o.strokes, random), k).verdict);
        }

        if (k.strokes->size() >= 2) {
            StrokeList exchanged = mouseDrawing(*k.strokes, random);
            std::swap(exchanged[0], exchanged[1]);
            swapped.count(grade(exchanged, k).verdict);
        }

        StrokeList backwards = mouseDrawing(*k.strokes, random);
        Stroke& turned = backwards[random.below(backwards.size())];
        std::reverse(turned.begin(), turned.end());
        reversed.count(grade(backwards, k).verdict);
    }

    const double meanMs = mean(milliseconds);
    const double p99Ms = percentile(milliseconds, 0.99);
    const double maxMs = *std::ranges::max_element(milliseconds);
    const double cpuP99Ms = percentile(cpuMilliseconds, 0.99);
    std::printf("| %d JLPT kanji, drawings as by a hand | measured | target | |\n",
                static_cast<int>(kanji->size()));
    std::printf("|---|---|---|---|\n");
    std::printf(
        "| the kanji's own drawing graded right (partly) | %.2f %% (%.2f %%) | >= 97 %% | %s |\n",
        correct.percentRight(), correct.percentPartly(), met(correct.percentRight() >= 97));
    std::printf(
        "| another JLPT kanji with as many strokes graded right (partly), %d kanji | %.2f %% "
        "(%.2f %%) | <= 0.5 %% | %s |\n",
        other.drawings, other.percentRight(), other.percentPartly(),
        met(other.percentRight() <= 0.5));
    std::printf(
        "| first two strokes exchanged graded right (partly), %d kanji | %.2f %% "
        "(%.2f %%) | <= 5 %% | %s |\n",
        swapped.drawings, swapped.percentRight(), swapped.percentPartly(),
        met(swapped.percentRight() <= 5));
    std::printf(
        "| one stroke drawn backwards graded right (partly) | %.2f %% (%.2f %%) | <= 5 %% | %s "
        "|\n",
        reversed.percentRight(), reversed.percentPartly(), met(reversed.percentRight() <= 5));
    std::printf(
        "| grading time, zinnia read only where it decides, mean / p99 / max of %d drawings | "
        "%.1f / %.1f / %.1f ms | p99 <= 10 ms | |\n",
        static_cast<int>(milliseconds.size()), meanMs, p99Ms, maxMs);
    std::printf(
        "| the same, processor time of the grading thread | %.1f / %.1f / %.1f ms | p99 <= 10 ms "
        "| %s |\n",
        mean(cpuMilliseconds), cpuP99Ms, *std::ranges::max_element(cpuMilliseconds),
        met(cpuP99Ms <= 10));
    std::printf(
        "| zinnia reading a whole drawing, processor time, mean / p99 (on a worker after each "
        "stroke) | %.1f / %.1f ms | | |\n",
        mean(readMilliseconds), percentile(readMilliseconds, 0.99));
    std::printf("| zinnia alone: the kanji first / among its five | %.1f %% / %.1f %% | | |\n",
                100.0 * zinniaFirst / correct.drawings, 100.0 * zinniaAmongFive / correct.drawings);
    return 0;
}
