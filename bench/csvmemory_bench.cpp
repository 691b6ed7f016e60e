// Peak memory of the CSV import wizard on a file of half a million lines: the file is opened
// through the menu command and scanned, both previews are filled and the file preview is drawn,
// then the wizard is cancelled. Usage: bench_csvmemory [lines]; prints the peak resident size
// the process reached (also what /usr/bin/time -v reports as "Maximum resident set size").
// The file is written line by line first, so its making adds little to the peak.
#include "app/review/importwizard.h"
#include "app/shell/dialogdriver.h"
#include "app/shell/startup.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "core/shell/texttables.h"
#include "ui/tablelist.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Columns as a kanji list saved from a spreadsheet: number, kanji, code, On, Kun, meaning,
// JLPT level; UTF-8 without a mark.
bool writeCsv(const QString& path, int lines) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write("Nr,Kanji,Code,On,Kun,Bedeutung,JLPT\r\n");
    for (int i = 1; i < lines; ++i) {
        const char32_t code = 0x4E00 + static_cast<char32_t>(i % 20000);
        const QString line = QString::number(i) + u",\""_s + QString::fromUcs4(&code, 1) +
                             u"\","_s + QString::number(code) +
                             u",カン、ケン,\"あいだ、ま.つ\",\"interval, space, between\","_s +
                             QString::number(i % 5) + u"\r\n"_s;
        file.write(line.toUtf8());
    }
    return file.error() == QFile::NoError;
}

void click(QWidget* wizard, const QString& caption) {
    for (QAbstractButton* button : wizard->findChildren<QAbstractButton*>()) {
        if (button->text() == caption) {
            button->click();
        }
    }
}

void dropOnImport(QWidget* wizard, const QString& text) {
    for (ui::ReportList* list : wizard->findChildren<ui::ReportList*>()) {
        if (list->headerItem()->text(0) != u"Import"_s) {
            continue;
        }
        QMimeData data;
        data.setText(text);
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &enter);
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &drop);
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 500'000;

    QTemporaryDir dir;
    const QString path = dir.filePath(u"kanji.csv"_s);
    if (!writeCsv(path, lines)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const long beforeKb = peakKilobytes();

    QTemporaryDir work;
    App app;
    initialiseApp(app, work.path());
    app.ui.requesters().setScripted(true);
    startUp(app);
    const long startedKb = peakKilobytes();

    QElapsedTimer timer;
    int previewRows = -1;
    const DialogDriver driver(
        app.ui, ImportWindowId,
        {[&](QWidget* wizard) {
             std::printf("open and scan:              %8.1f ms\n", timer.nsecsElapsed() / 1e6);
             // Drawn as the learner sees it, then scanned once more with another separator.
             wizard->grab();
             timer.start();
             click(wizard, app.texts.text(ImportText::Semicolon));
         },
         [&](QWidget* wizard) {
             std::printf("rescan:                     %8.1f ms\n", timer.nsecsElapsed() / 1e6);
             dropOnImport(wizard, u"Spalte 1"_s);
         },
         [&](QWidget* wizard) {
             for (ui::TableList* table : wizard->findChildren<ui::TableList*>()) {
                 previewRows = std::max(previewRows, table->rowCount());
             }
             wizard->grab();
             click(wizard, app.texts.text(ImportText::Cancel));
         }});
    app.ui.requesters().answerNext(ui::Answer::accept(path));
    timer.start();
    importCsv(app);

    if (previewRows != lines) {
        std::fprintf(stderr, "the preview shows %d rows, not %d\n", previewRows, lines);
        return 1;
    }
    std::printf("CSV of %d lines, %lld bytes\n", lines, static_cast<long long>(QFile(path).size()));
    std::printf("peak after writing the file: %6ld MB\n", beforeKb / 1024);
    std::printf("peak after start-up:         %6ld MB\n", startedKb / 1024);
    std::printf("peak through the wizard:     %6ld MB\n", peakKilobytes() / 1024);
    return 0;
}
