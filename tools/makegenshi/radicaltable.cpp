// The radical source table: tab-separated lines that become the entries of the Genshi list.
#include "makegenshi/radicaltable.h"

#include <QStringList>

#include <optional>

namespace {

std::optional<qint32> strictNumber(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value > 0 ? std::optional<qint32>(value) : std::nullopt;
}

}  // namespace

RadicalTable parseRadicalTable(const QByteArray& utf8) {
    RadicalTable table;
    const QStringList lines = QString::fromUtf8(utf8).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (line.trimmed().isEmpty() || line.startsWith(u'#')) {
            continue;
        }
        const QString where = QStringLiteral("line %1: ").arg(i + 1);
        const QStringList fields = line.split(u'\t');
        if (fields.size() != 7) {
            table.error = where + QStringLiteral("%1 fields instead of 7").arg(fields.size());
            return table;
        }
        const auto nr = strictNumber(fields[0]);
        const auto anz = strictNumber(fields[4]);
        if (!nr || !anz) {
            table.error = where + QStringLiteral("number or stroke count is not a positive number");
            return table;
        }
        if (*nr != static_cast<qint32>(table.entries.size()) + 1) {
            table.error = where + QStringLiteral("number %1 out of order").arg(*nr);
            return table;
        }
        if (fields[1].isEmpty() || fields[3].isEmpty() || fields[5].isEmpty()) {
            table.error = where + QStringLiteral("radical, meaning or short name missing");
            return table;
        }
        table.entries.push_back({*nr, fields[1], fields[2], fields[3], *anz, fields[5], fields[6]});
    }
    return table;
}

QString genshiListHeading() {
    return QStringLiteral("Nr,Genshi,Zusatz,Bedeutung,Anz,Kurz,Beispiele");
}
