// Timing of the statistics window with a large profile, headless.
// Usage: bench_statistics [record count]; prints the medians of several runs. Opening is timed
// from the call until the window first waits for the user, its list filled and painted and its
// summary written; a refill from the click on a sort option or kind box until it waits again.
#include "app/review/statisticswindow.h"
#include "app/shell/dialogdriver.h"
#include "app/shell/startup.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "core/shell/texttables.h"
#include "dialogbench.h"
#include "ui/tablelist.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 13000;

    QTemporaryDir dir;
    App app;
    initialiseApp(app, dir.path());
    app.texts = builtInTexts();
    const ProfileList shuffled = makeProfile(count, true);

    const TextTables& t = app.texts;
    const QStringList refills{
        t.text(StatisticsText::SortByRate),  t.text(StatisticsText::SortByWrong),
        t.text(StatisticsText::SortByRight), t.text(StatisticsText::SortByKanji),
        t.text(StatisticsText::KunReading),  t.text(StatisticsText::KunReading)};
    std::vector<double> open;
    std::vector<double> refill;
    constexpr int Runs = 9;
    for (int run = 0; run < Runs; ++run) {
        app.learner.profile() = shuffled;
        QElapsedTimer timer;
        bool painted = false;
        bool failed = false;
        PaintSpy spy(painted);
        application.installEventFilter(&spy);
        // A click on each refill, then the close box.
        std::vector<DialogDriver::Step> steps;
        for (size_t step = 0; step <= static_cast<size_t>(refills.size()); ++step) {
            steps.push_back([&, step](QWidget* window) {
                const double elapsed = ms(timer);
                if (step == 0) {
                    const auto* list = window->findChild<ui::TableList*>();
                    const auto* summary = window->findChild<QPlainTextEdit*>();
                    if (list == nullptr || list->rowCount() != count || !painted ||
                        summary == nullptr || summary->toPlainText().isEmpty()) {
                        std::fprintf(stderr,
                                     "window not filled and painted before the first wait\n");
                        failed = true;
                        window->close();
                        return;
                    }
                    open.push_back(elapsed);
                } else {
                    refill.push_back(elapsed);
                }
                if (step < static_cast<size_t>(refills.size())) {
                    timer.start();
                    click(window, refills[static_cast<qsizetype>(step)]);
                } else {
                    window->close();
                }
            });
        }
        const DialogDriver driver(app.ui, StatisticsWindowId, std::move(steps));
        timer.start();
        openStatistics(app);
        application.removeEventFilter(&spy);
        if (failed) {
            return 1;
        }
    }
    std::printf("records: %d, runs: %d\n", count, Runs);
    std::printf("open to first wait (shown, filled, summed up): first %7.1f ms, median %7.1f ms\n",
                open[0], median(open));
    std::printf("refill (sort option or kind box clicked):      median %7.1f ms, worst %7.1f ms\n",
                median(refill), *std::max_element(refill.begin(), refill.end()));
    return 0;
}
