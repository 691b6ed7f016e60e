// Timing of the statistics window with a large profile, headless.
// Usage: bench_statistics [record count]; prints the medians of several runs. Opening is timed
// from the call until the window first waits for the user, its list filled and painted and its
// summary written; a refill from the click on a sort option or kind box until it waits again.
#include "app/review/statisticswindow.h"
#include "app/shell/app.h"
#include "app/shell/startup.h"
#include "core/shell/texttables.h"
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

namespace {

// Scattered over the bands as a learner's results are, some untrained, and shuffled so that the
// sort on opening has work to do.
ProfileList makeProfile(int count) {
    ProfileList list;
    list.records.resize(static_cast<size_t>(count));
    quint32 seed = 12345;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<qint32>((seed >> 16) % static_cast<quint32>(range));
    };
    for (int i = 0; i < count; ++i) {
        ProfileRecord& r = list.records[static_cast<size_t>(i)];
        r.Code = 0x4E00 + i;
        if (next(8) != 0) {
            r.KindOn = {next(20), next(3), next(8), 0, 0, 0};
            r.KindKun = {next(20), next(3), next(8), 0, 0, 0};
            r.KindMeaning = {next(20), next(3), next(8), 0, 0, 0};
        }
    }
    for (int i = count - 1; i > 0; --i) {
        std::swap(list.records[static_cast<size_t>(i)],
                  list.records[static_cast<size_t>(next(i + 1))]);
    }
    return list;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QWidget* statisticsWindow(const App& app) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() &&
            widget->windowTitle() == app.texts.text(MessageText::StatisticsTitle)) {
            return widget;
        }
    }
    return nullptr;
}

void click(QWidget* window, const QString& caption) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text() == caption) {
            button->click();
        }
    }
}

// Notes that the list has been painted: the first frame the user sees.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(bool& painted) : painted_(painted) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->parent() != nullptr &&
            dynamic_cast<ui::TableList*>(watched->parent()) != nullptr) {
            painted_ = true;
        }
        return false;
    }

private:
    bool& painted_;
};

double ms(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 13000;

    QTemporaryDir dir;
    App app;
    initialiseApp(app, dir.path());
    app.texts = builtInTexts();
    const ProfileList shuffled = makeProfile(count);

    const TextTables& t = app.texts;
    const QStringList refills{
        t.text(StatisticsText::SortByRate),  t.text(StatisticsText::SortByWrong),
        t.text(StatisticsText::SortByRight), t.text(StatisticsText::SortByKanji),
        t.text(StatisticsText::KunReading),  t.text(StatisticsText::KunReading)};
    std::vector<double> open;
    std::vector<double> refill;
    constexpr int Runs = 9;
    for (int run = 0; run < Runs; ++run) {
        app.profile.profileList = shuffled;
        QElapsedTimer timer;
        size_t step = 0;
        bool painted = false;
        bool failed = false;
        PaintSpy spy(painted);
        application.installEventFilter(&spy);
        app.ui.setWaitHook([&] {
            const double elapsed = ms(timer);
            QWidget* window = statisticsWindow(app);
            if (window == nullptr) {
                return;
            }
            if (step == 0) {
                const auto* list = window->findChild<ui::TableList*>();
                const auto* summary = window->findChild<QPlainTextEdit*>();
                if (list == nullptr || list->rowCount() != count || !painted ||
                    summary == nullptr || summary->toPlainText().isEmpty()) {
                    std::fprintf(stderr, "window not filled and painted before the first wait\n");
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
                click(window, refills[static_cast<qsizetype>(step++)]);
            } else {
                window->close();
            }
        });
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
