// Start-up of the whole program beside its floor, and how smoothly a large set pages and steps.
// Usage: bench_startup [rounds [imported]]; prints one line per figure, offscreen.
//
// With "imported", the sets have no stroke-order strips of their own, as every imported set, so
// the card's strip comes from the shipped stroke file; the same folders without the stroke file
// are started in the same rounds beside them, and only start-up is measured.
//
// Start-up is timed as whole processes, launch to exit, in rounds over working folders of 2,230
// and 13,108 kanji (set, stroke-order strips, a learner's profile, the shipped data): the program
// with RENKARI_QUIT_AFTER_START=1, which ends it once its first kanji is drawn, beside its floor,
// a bare Qt window showing one kanji in IPAMincho (bench_floorwindow) followed by Expat's bare
// parse of the same set file (bench_bareparse). Figures are medians over the rounds, the ratio the
// median of the rounds' own ratios.
//
// Then, in this process with 13,108 kanji: the lists page's grid paged through top to bottom and
// the card stepped through kanji by kanji, each step timed from the input until the window has
// been drawn again, and a card step also for the whole pass of the main loop that serves it;
// peak memory after both; the idle loop's cost.
#include "app/kanjiset/viewmode.h"
#include "app/shell/mainloop.h"
#include "app/shell/startup.h"
#include "app/state/app.h"
#include "app/state/cardids.h"
#include "app/state/listsids.h"
#include "app/state/mainwindowids.h"
#include "base/files.h"
#include "core/kanjiset/setfile.h"
#include "core/shell/preferences.h"
#include "core/training/profilefile.h"
#include "dialogbench.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int SmallSet = 2230;
constexpr int LargeSet = 13108;
constexpr int StrokeFrames = 8;
const QString SetName = QStringLiteral("Bench");
const QString ProfileName = QStringLiteral("Lerner");

std::vector<KanjiRecord> makeSet(int count, bool withStrips) {
    std::vector<KanjiRecord> records(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        KanjiRecord& r = records[static_cast<size_t>(i)];
        r.Idx1 = i + 1;
        r.Idx2 = 1 + i % 4;
        r.Unicode = 0x4E00 + i;
        r.Anim = withStrips ? QStringLiteral("strip.png") : QString();
        r.OnYomi = QStringLiteral("カン、ケン");
        r.KunYomi = QStringLiteral("あいだ、ま.つ");
        r.Bemerkung = QStringLiteral("interval, space, between, among");
        r.Genshi = QStringLiteral("%1,%2,").arg(i % 214).arg((i * 7) % 214);
        r.Beispiel[0] = QStringLiteral("時間 (じかん) Zeit");
    }
    return records;
}

// One strip of StrokeFrames frames, named by every record: each kanji still decodes it for itself.
QImage makeStrip() {
    QImage strip(StrokeFrames * 100, 100, QImage::Format_ARGB32);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    painter.setPen(QPen(Qt::black, 6));
    for (int frame = 0; frame < StrokeFrames; ++frame) {
        for (int stroke = 0; stroke <= frame; ++stroke) {
            painter.drawLine(frame * 100 + 10 + 10 * stroke, 15, frame * 100 + 20 + 8 * stroke, 85);
        }
    }
    return strip;
}

void copyFolder(const QString& from, const QString& to) {
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "bench_startup: %s\n", what);
        std::exit(1);
    }
}

// A learner's working folder: what a start reads, as an installed program leaves it.
QString makeWorkFolder(const QString& root, int count, bool withStrips = true,
                       bool withStrokeFile = true) {
    const QString work = root + QStringLiteral("/%1%2%3/")
                                    .arg(count)
                                    .arg(withStrips ? "" : "-imported")
                                    .arg(withStrokeFile ? "" : "-nostrokes");
    copyFolder(QStringLiteral(RENKARI_SOURCE_DIR "/data"), work);
    if (!withStrokeFile) {
        check(QFile::remove(work + QStringLiteral("Media/Strokes/KanjiVG.strokes")),
              "no stroke file to remove");
    }
    const QString setFolder = work + QStringLiteral("Media/") + SetName;
    check(QDir().mkpath(setFolder + QStringLiteral("/Anim")), "no set folder");
    check(makeStrip().save(setFolder + QStringLiteral("/Anim/strip.png")), "no strip");
    check(saveFileAtomically(setFolder + QStringLiteral(".rki"),
                             writeSetFile(makeSet(count, withStrips)))
              .has_value(),
          "no set file");
    check(saveFileAtomically(setFolder + QLatin1Char('/') + ProfileName + QStringLiteral(".rkpr"),
                             writeProfileFile(makeProfile(count, false).records))
              .has_value(),
          "no profile");
    check(writePreferencesFile(work + QStringLiteral("Renkari.pref"),
                               {SetName, ProfileName, work, work, QString()})
              .has_value(),
          "no preference file");
    return work;
}

double runProcess(const QString& program, const QStringList& arguments, const QString& workDir) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workDir);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("RENKARI_QUIT_AFTER_START"), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start();
    process.waitForFinished(-1);
    const double elapsed = ms(timer);
    check(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
          qPrintable(program + QStringLiteral(" failed")));
    return elapsed;
}

struct StartTimes {
    std::vector<double> window;
    std::vector<double> parse;
    std::vector<double> floor;
    std::vector<double> program;
};

void startRound(const QString& work, StartTimes& times) {
    const QString setFile = work + QStringLiteral("Media/") + SetName + QStringLiteral(".rki");
    const double window = runProcess(QStringLiteral(FLOOR_WINDOW), {}, work);
    const double parse = runProcess(QStringLiteral(BARE_PARSE), {setFile}, work);
    times.window.push_back(window);
    times.parse.push_back(parse);
    times.floor.push_back(window + parse);
    times.program.push_back(runProcess(QStringLiteral(RENKARI_PROGRAM), {}, work));
}

// The ratio is taken round by round: the machine's speed drifts over a run, and a round's
// processes run within a tenth of a second of each other.
void printStart(int count, const StartTimes& times) {
    std::vector<double> ratios;
    for (size_t round = 0; round < times.program.size(); ++round) {
        ratios.push_back(times.program[round] / times.floor[round]);
    }
    std::printf(
        "%6d kanji: bare window %6.1f ms, bare parse %6.1f ms, floor (the two in turn) %6.1f ms; "
        "program %6.1f ms; ratio %.2f\n",
        count, median(times.window), median(times.parse), median(times.floor),
        median(times.program), median(ratios));
}

struct StepTimes {
    std::vector<double> all;
    void add(const QElapsedTimer& timer) { all.push_back(ms(timer)); }
    // The step below which the given share of all steps lie.
    double share(double part) const {
        std::vector<double> sorted = all;
        std::sort(sorted.begin(), sorted.end());
        return sorted[static_cast<size_t>(part * static_cast<double>(sorted.size() - 1))];
    }
};

// The worst step is also the one most likely to have waited for another process on this
// machine, so the 99th percentile stands beside it.
void printSteps(const char* what, const StepTimes& steps) {
    std::printf("%s: %zu steps, median %.2f ms, 99 %% within %.2f ms, worst %.2f ms\n", what,
                steps.all.size(), steps.share(0.5), steps.share(0.99), steps.share(1.0));
}

// Counts the paints of one widget, so a step is known to have reached the screen, and notes when
// the first paint after a step's input came.
class PaintCounter : public QObject {
public:
    int paints = 0;
    const QElapsedTimer* step = nullptr;
    double firstPaint = -1;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            if (step != nullptr && firstPaint < 0) {
                firstPaint = ms(*step);
            }
        }
        return false;
    }
};

// The grid paged down with the scroll bar's page step, as Page Down or a click beside the
// handle does, from the top to the bottom.
StepTimes pageThroughGrid(App& app) {
    ui::Window& w = *app.mainWindow;
    w.get<ui::TabPanel>(Panel)->showPage(pageIndex(ViewMode::Lists));
    app.ui.drawPending();
    QScrollBar* bar = w.get<QScrollArea>(GridArea)->verticalScrollBar();
    PaintCounter counter;
    w.control(GridCells)->installEventFilter(&counter);
    StepTimes steps;
    while (bar->value() < bar->maximum()) {
        const int paints = counter.paints;
        QElapsedTimer timer;
        timer.start();
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        app.ui.drawPending();
        steps.add(timer);
        check(counter.paints > paints, "the grid was not drawn");
    }
    w.get<ui::TabPanel>(Panel)->showPage(pageIndex(ViewMode::Overview));
    app.ui.drawPending();
    return steps;
}

// A card step: until the new kanji is on the screen, which is as long as the window is busy, and
// the whole pass of the main loop that serves the click, with the pause after an event, during
// which the window keeps drawing and taking input.
struct CardSteps {
    StepTimes shown;
    StepTimes pass;
};

void stepCard(App& app, int button, CardSteps& steps, PaintCounter& counter) {
    const int paints = counter.paints;
    QElapsedTimer timer;
    timer.start();
    counter.step = &timer;
    counter.firstPaint = -1;
    app.mainWindow->get<QAbstractButton>(button)->click();
    mainLoopPass(app);
    steps.pass.add(timer);
    counter.step = nullptr;
    check(counter.paints > paints, "the card was not drawn");
    steps.shown.all.push_back(counter.firstPaint);
}

CardSteps stepThroughCard(App& app, int count) {
    PaintCounter counter;
    // Kanji the font lacks all look alike, and a picture that does not change is not drawn again;
    // the card's numbers change with every step.
    for (const int changing : {KanjiView, IndexField, UnicodeField}) {
        app.mainWindow->control(changing)->installEventFilter(&counter);
    }
    CardSteps steps;
    for (int i = 0; i < count; ++i) {
        stepCard(app, NextButton, steps, counter);
    }
    for (int i = 0; i < count; ++i) {
        stepCard(app, PreviousButton, steps, counter);
    }
    stepCard(app, LastButton, steps, counter);
    for (int i = 0; i < count / 10; ++i) {
        stepCard(app, PreviousButton, steps, counter);
    }
    stepCard(app, FirstButton, steps, counter);
    return steps;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 31;

    QTemporaryDir dir;
    if (argc > 2 && QByteArray(argv[2]) == "imported") {
        const QString small = makeWorkFolder(dir.path(), SmallSet, false);
        const QString large = makeWorkFolder(dir.path(), LargeSet, false);
        const QString smallBare = makeWorkFolder(dir.path(), SmallSet, false, false);
        const QString largeBare = makeWorkFolder(dir.path(), LargeSet, false, false);
        StartTimes times[4];
        const QString* folders[4] = {&small, &smallBare, &large, &largeBare};
        for (int round = -1; round < rounds; ++round) {
            for (int f = 0; f < 4; ++f) {
                startRound(*folders[f], times[f]);
            }
        }
        // The unmeasured first round only filled the page cache.
        for (StartTimes& t : times) {
            for (std::vector<double>* v : {&t.window, &t.parse, &t.floor, &t.program}) {
                v->erase(v->begin());
            }
        }
        std::printf("start-up of sets without strips, whole processes, medians of %d:\n", rounds);
        std::printf("with the stroke file:\n");
        printStart(SmallSet, times[0]);
        printStart(LargeSet, times[2]);
        std::printf("without the stroke file:\n");
        printStart(SmallSet, times[1]);
        printStart(LargeSet, times[3]);
        return 0;
    }
    const QString small = makeWorkFolder(dir.path(), SmallSet);
    const QString large = makeWorkFolder(dir.path(), LargeSet);

    // One unmeasured round, so that every process finds its files in the page cache.
    StartTimes smallTimes;
    StartTimes largeTimes;
    startRound(small, smallTimes);
    startRound(large, largeTimes);
    smallTimes = {};
    largeTimes = {};
    for (int round = 0; round < rounds; ++round) {
        startRound(small, smallTimes);
        startRound(large, largeTimes);
    }
    std::printf("start-up, whole processes, medians of %d:\n", rounds);
    printStart(SmallSet, smallTimes);
    printStart(LargeSet, largeTimes);

    App app;
    initialiseApp(app, large);
    app.ui.requesters().setScripted(true);
    check(startUp(app), "the program did not start");
    app.ui.drawPending();
    printSteps("grid paged top to bottom", pageThroughGrid(app));
    const CardSteps card = stepThroughCard(app, 2000);
    printSteps("card stepped, until the new kanji is drawn", card.shown);
    printSteps("card stepped, the whole pass with its pause (not blocking)", card.pass);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory after paging and stepping: %.1f MB\n", usage.ru_maxrss / 1024.0);

    // The idle loop as it runs, for ten seconds with the window shown; a timer ends it.
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTimer::singleShot(10000, [&app] { app.loop.endRequested = true; });
    while (mainLoopPass(app)) {
    }
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("idle main loop: %.2f %% of one core\n", 100.0 * cpu / (wall.elapsed() / 1000.0));
    return 0;
}
