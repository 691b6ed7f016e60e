// makedemoset: builds the "JLPT" demo set from Debian's KANJIDIC2 with example words from EDICT,
// and its stroke-order strips from the committed KanjiVG stroke file.
#include "demodata.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 5) {
        err << "usage: makedemoset <kanjidic2.xml.gz> <edict> <KanjiVG.strokes> <out-dir>\n";
        return 2;
    }
    const DemoReport report = makeDemoData(args[1], args[2], args[3], args[4]);
    if (!report.ok) {
        err << "makedemoset: " << report.error << '\n';
        return 1;
    }
    QTextStream(stdout) << "JLPT: " << report.kanjiCount << " kanji, " << report.stripCount
                        << " stroke-order strips\n";
    return 0;
}
