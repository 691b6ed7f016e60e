// Timing of the CSV import of all KANJIDIC2 kanji through the wizard, headless.
// Usage: bench_import [KANJIDIC2 .xml.gz]; prints the medians of several runs. The CSV is made
// from Debian's kanjidic-xml when it is installed, otherwise from realistic made-up lines. The
// scan is timed from the menu command until the wizard first waits for the user, both previews
// filled; the mapping from the drops of the import order until it waits again; the import from
// the click on "OK" until the wizard has closed, the set optimised and refreshed.
#include "app/review/importwizard.h"
#include "app/shell/dialogdriver.h"
#include "app/shell/startup.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "base/files.h"
#include "common/gunzip.h"
#include "core/review/csvimport.h"
#include "core/shell/texttables.h"
#include "makedemoset/kanjidic.h"
#include "ui/widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QString quoted(const QString& text) {
    return u'"' + QString(text).replace(u"\""_s, u"\"\""_s) + u'"';
}

// Columns: number, kanji, code, On, Kun, meaning, JLPT level; quoted where a spreadsheet quotes.
QString lineOf(int number, char32_t code, const QStringList& on, const QStringList& kun,
               const QStringList& meanings, int jlpt) {
    return QString::number(number) + u',' + quoted(QString::fromUcs4(&code, 1)) + u',' +
           QString::number(code) + u',' + on.join(u"、"_s) + u',' + quoted(kun.join(u"、"_s)) +
           u',' + quoted(meanings.join(u", "_s)) + u',' + QString::number(jlpt) + u"\r\n"_s;
}

std::optional<std::vector<KanjidicEntry>> loadKanjidic(const QString& gzipPath) {
    const FileResult<QByteArray> compressed = readWholeFile(gzipPath);
    if (!compressed) {
        return std::nullopt;
    }
    const std::optional<QByteArray> xml = gunzip(*compressed, qsizetype(1) << 30);
    return xml ? parseKanjidic(*xml) : std::nullopt;
}

QString makeCsv(const QString& kanjidicPath, int& count, bool& fromKanjidic) {
    QString csv = u"Nr,Kanji,Code,On,Kun,Bedeutung,JLPT\r\n"_s;
    const auto entries =
        QFileInfo::exists(kanjidicPath) ? loadKanjidic(kanjidicPath) : std::nullopt;
    fromKanjidic = entries.has_value();
    if (entries) {
        count = static_cast<int>(entries->size());
        int number = 0;
        for (const KanjidicEntry& e : *entries) {
            csv +=
                lineOf(++number, e.codePoint, e.onReadings, e.kunReadings, e.meanings, e.jlptLevel);
        }
        return csv;
    }
    count = 13108;
    for (int i = 0; i < count; ++i) {
        csv += lineOf(i + 1, static_cast<char32_t>(0x4E00 + i), {u"カン"_s, u"ケン"_s},
                      {u"あいだ"_s, u"ま.つ"_s}, {u"interval"_s, u"space, between"_s}, i % 5);
    }
    return csv;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double ms(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

ui::ReportList* listNamed(QWidget* wizard, const QString& caption) {
    for (ui::ReportList* list : wizard->findChildren<ui::ReportList*>()) {
        if (list->headerItem()->text(0) == caption) {
            return list;
        }
    }
    return nullptr;
}

void dropOnImport(QWidget* wizard, const QString& text) {
    QMimeData data;
    data.setText(text);
    QWidget* viewport = listNamed(wizard, u"Import"_s)->viewport();
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &drop);
}

void click(QWidget* wizard, const QString& caption) {
    for (QAbstractButton* button : wizard->findChildren<QAbstractButton*>()) {
        if (button->text() == caption) {
            button->click();
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString kanjidic =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"/usr/share/edict/kanjidic2.xml.gz"_s;

    QTemporaryDir dir;
    int count = 0;
    bool fromKanjidic = false;
    const QString csv = makeCsv(kanjidic, count, fromKanjidic);
    const QString path = dir.filePath(u"kanji.csv"_s);
    // UTF-16 LE, the encoding the program's own export writes.
    if (!saveFileAtomically(
            path, QByteArray(reinterpret_cast<const char*>(csv.utf16()), csv.size() * 2))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }

    const QStringList order{u"Spalte 0"_s, u"Spalte 6"_s, u"Spalte 2"_s,
                            u"Spalte 3"_s, u"Spalte 4"_s, u"Spalte 5"_s};
    std::vector<double> scan;
    std::vector<double> rescan;
    std::vector<double> mapping;
    std::vector<double> import;
    std::vector<double> reimport;
    int setSize = 0;
    constexpr int Runs = 5;
    for (int run = 0; run < Runs; ++run) {
        QTemporaryDir work;
        App app;
        initialiseApp(app, work.path());
        app.ui.requesters().setScripted(true);
        startUp(app);
        // Twice: into an empty set, then the same file once more: every line already held.
        for (std::vector<double>* importTiming : {&import, &reimport}) {
            QElapsedTimer timer;
            const DialogDriver driver(app.ui, ImportWindowId,
                                      {[&](QWidget* wizard) {
                                           scan.push_back(ms(timer));
                                           timer.start();
                                           click(wizard, app.texts.text(ImportText::Semicolon));
                                       },
                                       [&](QWidget* wizard) {
                                           rescan.push_back(ms(timer));
                                           timer.start();
                                           for (const QString& item : order) {
                                               dropOnImport(wizard, item);
                                           }
                                       },
                                       [&](QWidget* wizard) {
                                           mapping.push_back(ms(timer));
                                           timer.start();
                                           click(wizard, app.texts.text(ImportText::Ok));
                                       }});
            app.ui.requesters().answerNext(ui::Answer::accept(path));
            timer.start();
            importCsv(app);
            importTiming->push_back(ms(timer));
        }
        setSize = app.kanjiSet.size();
        if (mapping.size() != static_cast<size_t>(2 * (run + 1))) {
            std::fprintf(stderr, "the wizard did not run through (%d requesters shown)\n",
                         static_cast<int>(app.ui.requesters().shown().size()));
            for (const ui::ShownRequester& shown : app.ui.requesters().shown()) {
                std::fprintf(stderr, "  %s: %s\n", qPrintable(shown.title), qPrintable(shown.text));
            }
            return 1;
        }
    }

    std::printf("CSV of %d kanji (%s), %lld bytes; set after two imports: %d records\n", count,
                fromKanjidic ? "KANJIDIC2" : "made up", static_cast<long long>(csv.size() * 2),
                setSize);
    std::printf("open and scan, file preview filled:  %8.1f ms\n", median(scan));
    std::printf("rescan after a separator box:        %8.1f ms\n", median(rescan));
    std::printf("six drops, mapping preview filled:   %8.1f ms\n", median(mapping));
    std::printf("import, optimise, refresh:           %8.1f ms\n", median(import));
    std::printf("second import, every line held:      %8.1f ms\n", median(reimport));
    return 0;
}
