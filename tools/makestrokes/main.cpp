// makestrokes: derives the stroke file the program ships from KanjiVG's stroke paths.
#include "kanjivglines.h"

#include "base/files.h"
#include "common/gunzip.h"
#include "core/handwriting/strokelibrary.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

// The stroke table is a few MB inflated; the bounds only stop a corrupt file from eating memory.
constexpr qint64 kMaxInputBytes = qint64(64) << 20;
constexpr qsizetype kMaxTextBytes = qsizetype(256) << 20;
// In KanjiVG units, a quarter of a pixel of the 109 box: far below what a pen or an eye tells.
constexpr float kTolerance = 0.25f;

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 3) {
        err << "usage: makestrokes <kanjivg strokes.tsv.gz> <out.strokes>\n";
        return 2;
    }
    const FileResult<QByteArray> compressed = readWholeFile(args[1], kMaxInputBytes);
    const std::optional<QByteArray> text =
        compressed ? gunzip(*compressed, kMaxTextBytes) : std::nullopt;
    if (!text) {
        err << "makestrokes: cannot read " << args[1] << '\n';
        return 1;
    }
    const KanjiVgStrokes strokes = readKanjiVgStrokes(*text, kTolerance);
    for (const QString& problem : strokes.malformed) {
        err << "makestrokes: left out " << problem << '\n';
    }
    const QByteArray bytes = StrokeLibrary::encode(strokes.characters);
    const Expected<StrokeLibrary, QString> check = StrokeLibrary::parse(bytes);
    if (!check || check->empty()) {
        err << "makestrokes: no characters to write\n";
        return 1;
    }
    if (!saveFileAtomically(args[2], bytes)) {
        err << "makestrokes: cannot write " << args[2] << '\n';
        return 1;
    }
    qsizetype strokeCount = 0;
    qsizetype pointCount = 0;
    for (const auto& [code, list] : strokes.characters) {
        strokeCount += static_cast<qsizetype>(list.size());
        for (const Stroke& stroke : list) {
            pointCount += static_cast<qsizetype>(stroke.size());
        }
    }
    QTextStream(stdout) << strokes.characters.size() << " characters read (" << strokeCount
                        << " strokes, " << pointCount << " points), " << strokes.malformed.size()
                        << " lines left out; " << check->size() << " characters written, "
                        << bytes.size() << " bytes\n";
    return 0;
}
