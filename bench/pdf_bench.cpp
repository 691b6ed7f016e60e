// Timing and size of the printed kanji cards, headless.
// Usage: bench_pdf [working directory [set name [kept cards PDF [kept practice sheet PDF]]]]:
// cards of every kanji of that set, one-sided and two-sided, and a practice sheet (read only; the
// PDFs go to a temporary folder; the two-sided cards and the sheet are copied to the third and
// fourth argument if given).
// Without arguments, 2,230 made-up kanji with readings, notes and ten-stroke strips. Prints the
// median of several runs and the file size.
#include "app/kanjiset/cardspdf.h"
#include "app/kanjiset/practicesheet.h"
#include "app/shell/dialogdriver.h"
#include "app/shell/startup.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "base/files.h"
#include "core/kanjiset/setfile.h"
#include "core/shell/texttables.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int MadeUpKanji = 2230;

// Strips like the demo's: black strokes so far, the newest one red.
void makeSet(App& app, const QString& workDir) {
    initialiseApp(app, workDir);
    app.setName = QStringLiteral("Bench");
    const QString anim = app.paths.mediaDir + app.setName + QStringLiteral("/Anim/");
    QDir().mkpath(anim);
    for (int i = 0; i < MadeUpKanji; ++i) {
        KanjiRecord record;
        record.Idx1 = i + 1;
        record.Unicode = 0x4E00 + i;
        record.OnYomi = QStringLiteral("セイ、ショウ");
        record.KunYomi = QStringLiteral("い.きる、う.まれる、なま");
        record.Bemerkung = QStringLiteral("life, genuine, birth, a note of some length");
        record.Anim = QString::number(record.Unicode) + QStringLiteral(".png");
        const int strokes = 10;
        QImage strip(100 * strokes, 100, QImage::Format_RGB32);
        strip.fill(Qt::white);
        QPainter p(&strip);
        for (int f = 0; f < strokes; ++f) {
            for (int s = 0; s <= f; ++s) {
                p.setPen(QPen(s == f ? Qt::red : Qt::black, 4));
                p.drawLine(100 * f + 10 + (s * 7 + i) % 60, 10 + s * 8,
                           100 * f + 30 + (s * 13) % 60, 30 + (s * 5 + i) % 60);
            }
        }
        p.end();
        strip.save(anim + record.Anim, "PNG");
        app.kanjiSet.records.push_back(record);
    }
}

// User and system time of the whole process: on a shared machine steadier than the wall clock.
double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

bool readSet(App& app, const QString& workDir, const QString& setName) {
    initialiseApp(app, workDir);
    app.setName = setName;
    const auto bytes = readWholeFile(app.paths.mediaDir + setName + QStringLiteral(".rki"));
    if (!bytes) {
        return false;
    }
    auto records = parseSetFile(*bytes);
    if (!records) {
        return false;
    }
    app.kanjiSet.records = std::move(*records);
    app.genshiList =
        readGenshiListFile(app.paths.mediaDir + QStringLiteral("Genshi/Genshiliste.txt"))
            .value_or({});
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir out;
    QTemporaryDir madeUp;
    App app;
    if (argc > 1) {
        const QString setName = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("JLPT");
        if (!readSet(app, QString::fromLocal8Bit(argv[1]), setName)) {
            std::fprintf(stderr, "cannot read the set %s\n", qPrintable(setName));
            return 1;
        }
    } else {
        makeSet(app, madeUp.path());
    }
    app.texts = builtInTexts();
    app.kanjiSet.current = app.kanjiSet.empty() ? -1 : 0;
    app.ui.requesters().setScripted(true);
    std::vector<int> positions(app.kanjiSet.records.size());
    for (size_t i = 0; i < positions.size(); ++i) {
        positions[i] = static_cast<int>(i);
    }

    const int runs = qEnvironmentVariableIntValue("RENKARI_BENCH_RUNS") > 0
                         ? qEnvironmentVariableIntValue("RENKARI_BENCH_RUNS")
                         : 5;
    const auto timeCards = [&](bool twoSided, const QString& target) {
        std::vector<double> times;
        std::vector<double> processorTimes;
        for (int run = 0; run < runs; ++run) {
            app.ui.requesters().answerNext(ui::Answer::accept(target));
            const double processorBefore = processorSeconds();
            QElapsedTimer timer;
            timer.start();
            writeCardsPdf(app, positions, CardFields{.code = true, .twoSided = twoSided});
            times.push_back(timer.nsecsElapsed() / 1e9);
            processorTimes.push_back(processorSeconds() - processorBefore);
        }
        std::sort(times.begin(), times.end());
        std::sort(processorTimes.begin(), processorTimes.end());
        std::printf(
            "%s cards of %zu kanji: median %.2f s (min %.2f, max %.2f), processor time "
            "of all threads %.2f s, file %.2f MB\n",
            twoSided ? "two-sided" : "one-sided", positions.size(), times[times.size() / 2],
            times.front(), times.back(), processorTimes[processorTimes.size() / 2],
            QFileInfo(target).size() / 1e6);
    };
    const QString oneSided = out.path() + QStringLiteral("/sheet-of-cards.pdf");
    const QString target = out.path() + QStringLiteral("/cards.pdf");
    timeCards(false, oneSided);
    timeCards(true, target);
    if (argc > 3) {
        QFile::remove(QString::fromLocal8Bit(argv[3]));
        QFile::copy(target, QString::fromLocal8Bit(argv[3]));
    }
    const QString sheet = out.path() + QStringLiteral("/sheet.pdf");
    app.ui.requesters().answerNext(ui::Answer::accept(sheet));
    // The dialog's first choice, as the learner finds it.
    const DialogDriver driver(app.ui, PrintWindowId, {[&app](QWidget* dialog) {
                                  for (auto* button : dialog->findChildren<QPushButton*>()) {
                                      if (button->text() == app.texts.text(ExportText::Ok)) {
                                          button->click();
                                      }
                                  }
                              }});
    QElapsedTimer timer;
    timer.start();
    printPracticeSheets(app);
    std::printf("practice sheet: %.2f s, file %.2f MB\n", timer.nsecsElapsed() / 1e9,
                QFileInfo(sheet).size() / 1e6);
    if (argc > 4) {
        QFile::remove(QString::fromLocal8Bit(argv[4]));
        QFile::copy(sheet, QString::fromLocal8Bit(argv[4]));
    }
    return app.ui.requesters().unanswered() == 0 && QFileInfo::exists(target) ? 0 : 1;
}
