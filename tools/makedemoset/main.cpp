// makedemoset: builds the "JLPT" demo set from Debian's KANJIDIC2 with example words from EDICT
// and German meanings and glosses from FreeDict's Japanese–German dictionary,
// and its stroke-order strips from the committed KanjiVG stroke file.
#include "demodata.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 7) {
        err << "usage: makedemoset <kanjidic2.xml.gz> <edict> <freedict-jpn-deu.index> "
               "<Genshiliste.txt> <KanjiVG.strokes> <out-dir>\n";
        return 2;
    }
    const DemoReport report = makeDemoData({args[1], args[2], args[3], args[4], args[5]}, args[6]);
    if (!report.ok) {
        err << "makedemoset: " << report.error << '\n';
        return 1;
    }
    QTextStream(stdout) << "JLPT: " << report.kanjiCount << " kanji, " << report.stripCount
                        << " stroke-order strips\n";
    const auto& sources = report.meaningSources;
    const int german = sources[0] + sources[1] + sources[2];
    QTextStream(stdout) << "German meanings: " << sources[0] << " from the kanji as a word, "
                        << sources[1] << " with okurigana, " << sources[2]
                        << " from the Genshi list, " << sources[3] << " English only ("
                        << (report.kanjiCount > 0 ? german * 1000 / report.kanjiCount : 0) / 10.0
                        << " % German)\n";
    return 0;
}
