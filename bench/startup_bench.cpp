// End-to-end start-up, grid memory and idle-loop cost of the program, headless.
// Usage: bench_startup <kanji count>; prints one line per figure. Start-up is timed as whole
// processes (launch to first painted window, then exit), a bare Qt window's beside the program's.
#include "app/shell/app.h"
#include "app/shell/mainids.h"
#include "app/shell/mainloop.h"
#include "app/shell/startup.h"
#include "base/files.h"
#include "core/kanjiset/setfile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

std::vector<KanjiRecord> makeSet(int count) {
    std::vector<KanjiRecord> records(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        KanjiRecord& r = records[static_cast<size_t>(i)];
        r.Idx1 = i + 1;
        r.Idx2 = 1 + i % 4;
        r.Unicode = 0x4E00 + i;
        r.OnYomi = QStringLiteral("カン、ケン");
        r.KunYomi = QStringLiteral("あいだ、ま.つ");
        r.Bemerkung = QStringLiteral("interval, space, between, among");
        r.Genshi = QStringLiteral("%1,%2,").arg(i % 214).arg((i * 7) % 214);
        r.Beispiel[0] = QStringLiteral("時間 (じかん) Zeit");
    }
    return records;
}

void showBareWindow() {
    QMainWindow window;
    window.resize(1000, 702);
    auto* label = new QLabel(QStringLiteral("Renkari"), &window);
    window.setCentralWidget(label);
    window.show();
    QApplication::processEvents();
    (void)window.grab();
}

void showProgram(const QString& workDir) {
    App app;
    initialiseApp(app, workDir);
    app.ui.requesters().setScripted(true);
    startUp(app);
    QApplication::processEvents();
    (void)app.mainWindow->grab();
}

double timedRun(const QString& self, const QStringList& arguments) {
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(self, arguments);
    process.waitForFinished(-1);
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1 && arguments[1] == QStringLiteral("--bare")) {
        showBareWindow();
        return 0;
    }
    if (arguments.size() > 2 && arguments[1] == QStringLiteral("--program")) {
        showProgram(arguments[2]);
        return 0;
    }
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;

    QTemporaryDir dir;
    const QString work = dir.path() + QLatin1Char('/');
    QDir().mkpath(work + QStringLiteral("Media"));
    saveFileAtomically(work + QStringLiteral("Media/Bench.rki"), writeSetFile(makeSet(count)));
    saveFileAtomically(work + QStringLiteral("Renkari.pref"),
                       QByteArray("\xEF\xBB\xBF\r\nLastSet = Bench\r\nLastProfile = \r\n"));

    const QString self = QApplication::applicationFilePath();
    // One warm-up of each, so that both find the same files in the page cache.
    timedRun(self, {QStringLiteral("--bare")});
    timedRun(self, {QStringLiteral("--program"), work});
    std::vector<double> bare;
    std::vector<double> program;
    for (int run = 0; run < 9; ++run) {
        bare.push_back(timedRun(self, {QStringLiteral("--bare")}));
        program.push_back(timedRun(self, {QStringLiteral("--program"), work}));
    }
    const double bareMs = median(bare);
    const double programMs = median(program);
    std::printf("kanji: %d\n", count);
    std::printf("bare window start-up:     %8.1f ms\n", bareMs);
    std::printf("start-up to first kanji:  %8.1f ms  (%.2fx the bare window)\n", programMs,
                programMs / bareMs);

    App app;
    initialiseApp(app, work);
    app.ui.requesters().setScripted(true);
    startUp(app);
    auto* area = app.mainWindow->get<QScrollArea>(GridArea);
    app.mainWindow->get<ui::TabPanel>(Panel)->showPage(pageIndex(ViewMode::Lists));
    QScrollBar* bar = area->verticalScrollBar();
    for (int y = 0; y <= bar->maximum(); y += area->viewport()->height()) {
        bar->setValue(y);
        (void)app.mainWindow->grab();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory after scrolling the grid: %.1f MB\n", usage.ru_maxrss / 1024.0);

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
