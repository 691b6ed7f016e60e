// makedemoset: builds the "JLPT" demo set from Debian's KANJIDIC2 and its stroke-order strips
// from the committed KanjiVG stroke file.
#include "demodata.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 4) {
        err << "usage: makedemoset <kanjidic2.xml.gz> <KanjiVG.strokes> <out-dir>\n";
        return 2;
    }
    const DemoReport report = makeDemoData(args[1], args[2], args[3]);
    if (!report.ok) {
        err << "makedemoset: " << report.error << '\n';
        return 1;
    }
    QTextStream(stdout) << "JLPT: " << report.kanjiCount << " kanji, " << report.stripCount
                        << " stroke-order strips\n";
    return 0;
}
