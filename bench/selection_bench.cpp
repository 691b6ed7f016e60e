// Timing of the training selection with a large profile, headless.
// Usage: bench_selection [record count]; prints the medians of several runs. Opening is timed from
// the call until the dialog first waits for the user, its window shown and its list filled and
// painted; a re-sort from the click on a sort option until the dialog waits again.
#include "app/shell/dialogdriver.h"
#include "app/shell/startup.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/training/selectiondialog.h"
#include "core/shell/texttables.h"
#include "dialogbench.h"
#include "ui/tablelist.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
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
    app.learner.profile() = makeProfile(count, false);

    const TextTables& t = app.texts;
    const QStringList sortOptions{
        t.text(SelectionText::SortByRate), t.text(SelectionText::SortByKanji),
        t.text(SelectionText::SortByRight), t.text(SelectionText::SortByWrong)};
    std::vector<double> open;
    std::vector<double> resort;
    std::vector<double> band;
    std::vector<double> all;
    std::vector<double> rowClick;
    size_t selectedByBands = 0;
    constexpr int Runs = 9;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        // One action per wait of the dialog; each is timed until the dialog waits again.
        std::vector<std::function<void(QWidget*)>> steps;
        std::vector<double>* timing = nullptr;
        // Bands first, so that the re-sorts also have a scattered selection to clear.
        for (const SelectionText box : {SelectionText::OnlyWrongSoFar, SelectionText::Rate50To74,
                                        SelectionText::Rate90To99}) {
            steps.push_back([&, box](QWidget* dialog) {
                timing = &band;
                click(dialog, t.text(box));
            });
        }
        // A row added by hand to the scattered selection.
        steps.push_back([&](QWidget* dialog) {
            timing = &rowClick;
            auto* list = dialog->findChild<ui::TableList*>();
            QWidget* viewport = list->viewport();
            const QPointF local(10, list->rowViewportPosition(5) + list->rowHeight(5) / 2);
            const QPointF global(viewport->mapToGlobal(local));
            for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent event(type, local, global, Qt::LeftButton,
                                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                  Qt::ControlModifier);
                QCoreApplication::sendEvent(viewport, &event);
            }
        });
        for (const QString& option : sortOptions) {
            steps.push_back([&, option](QWidget* dialog) {
                timing = &resort;
                click(dialog, option);
            });
        }
        steps.push_back([&](QWidget* dialog) {
            timing = &all;
            click(dialog, t.text(SelectionText::All));
        });
        steps.push_back([](QWidget* dialog) { dialog->close(); });

        bool painted = false;
        PaintSpy spy(painted);
        application.installEventFilter(&spy);
        std::vector<DialogDriver::Step> timed;
        for (size_t step = 0; step < steps.size(); ++step) {
            timed.push_back([&, step](QWidget* dialog) {
                const double elapsed = ms(timer);
                if (step == 0) {
                    const auto* list = dialog->findChild<ui::TableList*>();
                    if (list == nullptr || list->rowCount() != count) {
                        std::fprintf(stderr, "list not filled\n");
                        return;
                    }
                    if (!painted) {
                        std::fprintf(stderr, "list not painted before the first wait\n");
                        return;
                    }
                    open.push_back(elapsed);
                } else if (timing != nullptr) {
                    timing->push_back(elapsed);
                }
                if (step == 4) {
                    selectedByBands = dialog->findChild<ui::TableList*>()->selectedRows().size();
                }
                timer.start();
                steps[step](dialog);
            });
        }
        const DialogDriver driver(app.ui, SelectionWindowId, std::move(timed));
        timer.start();
        const auto result = openTrainingSelection(app);
        application.removeEventFilter(&spy);
        if (!result || result->size() != static_cast<size_t>(count)) {
            std::fprintf(stderr, "unexpected result\n");
            return 1;
        }
    }
    std::printf("records: %d, runs: %d\n", count, Runs);
    std::printf("open to first wait (shown, filled):  first %7.1f ms, median %7.1f ms\n", open[0],
                median(open));
    std::printf("re-sort (sort option clicked):       median %7.1f ms, worst %7.1f ms\n",
                median(resort), *std::max_element(resort.begin(), resort.end()));
    std::printf(
        "band box ticked (scattered rows):    median %7.1f ms, worst %7.1f ms "
        "(%zu rows selected by three bands and a click)\n",
        median(band), *std::max_element(band.begin(), band.end()), selectedByBands);
    std::printf("row ctrl-clicked into that selection: median %7.1f ms\n", median(rowClick));
    std::printf("\"Alle\" clicked:                      median %7.1f ms\n", median(all));
    return 0;
}
