// makegenshi: writes the Genshi list file from the radical table.
#include "makegenshi/radicaltable.h"

#include "base/files.h"
#include "core/kanjiset/genshilist.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

#include <cstdio>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "makegenshi: %s\n", qPrintable(message));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: makegenshi <radicals.tsv> <Genshiliste.txt>\n");
        return 2;
    }
    const QString tablePath = QString::fromLocal8Bit(argv[1]);
    const QString listPath = QString::fromLocal8Bit(argv[2]);

    const auto source = readWholeFile(tablePath);
    if (!source) {
        return fail(QStringLiteral("cannot read %1").arg(tablePath));
    }
    const RadicalTable table = parseRadicalTable(*source);
    if (!table.error.isEmpty()) {
        return fail(tablePath + QStringLiteral(", ") + table.error);
    }
    const auto bytes = writeGenshiList(table.entries, genshiListHeading());
    if (!bytes) {
        return fail(QStringLiteral("a field of %1 holds a comma or a line break").arg(tablePath));
    }
    if (!QDir().mkpath(QFileInfo(listPath).absolutePath()) ||
        !saveFileAtomically(listPath, *bytes)) {
        return fail(QStringLiteral("cannot write %1").arg(listPath));
    }
    std::printf("makegenshi: %zu radicals written to %s\n", table.entries.size(),
                qPrintable(listPath));
    return 0;
}
