// makeicons: writes the eleven control icons, 32 x 32 and 16 x 16, as .ico files, and with a
// second folder the program's icon as PNG files in the layout of the hicolor icon theme.
#include "makeicons/controlicons.h"
#include "makeicons/icowriter.h"

#include "base/files.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>

#include <cstdio>

namespace {

// The reader must give back the 32 x 32 image exactly as drawn, alpha included.
bool readsBack(const QString& path, const QImage& expected) {
    QImageReader reader(path, "ico");
    const QImage image = reader.read();
    return !image.isNull() && image.convertToFormat(QImage::Format_ARGB32) ==
                                  expected.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: makeicons <output folder> [<icon theme folder>]\n");
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "makeicons: cannot create %s\n", qPrintable(folder.path()));
        return 1;
    }
    for (const ControlIcon& icon : controlIcons()) {
        const QString path = folder.filePath(QString::fromLatin1(icon.fileName));
        const QImage large = renderControlIcon(icon, 32);
        const auto bytes = encodeIco({large, renderControlIcon(icon, 16)});
        if (!bytes || !saveFileAtomically(path, *bytes)) {
            std::fprintf(stderr, "makeicons: cannot write %s\n", qPrintable(path));
            return 1;
        }
        if (!readsBack(path, large)) {
            std::fprintf(stderr, "makeicons: %s does not read back\n", qPrintable(path));
            return 1;
        }
    }
    if (argc == 3) {
        const QDir theme(QString::fromLocal8Bit(argv[2]));
        for (const int size : {32, 48, 64, 128, 256}) {
            const QString path = theme.filePath(QStringLiteral("%1x%1/apps/").arg(size) +
                                                QString::fromLatin1(programIcon().fileName));
            const QImage image = renderControlIcon(programIcon(), size);
            if (!QDir().mkpath(QFileInfo(path).path()) || !image.save(path, "PNG")) {
                std::fprintf(stderr, "makeicons: cannot write %s\n", qPrintable(path));
                return 1;
            }
        }
    }
    std::printf("makeicons: %zu icons written to %s\n", controlIcons().size(),
                qPrintable(folder.path()));
    return 0;
}
