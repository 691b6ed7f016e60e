// Which names may name a set: a set's name becomes a file and a folder below the media folder.
#include "core/kanjiset/setname.h"

#include <algorithm>

bool isUsableSetName(const QString& name) {
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) ||
        name.contains(QLatin1String(".."))) {
        return false;
    }
    return std::none_of(name.begin(), name.end(),
                        [](QChar c) { return c.category() == QChar::Other_Control; });
}

bool isUsableNewSetName(const QString& name) {
    static const QString reserved = QStringLiteral("<>:\"|?*");
    return isUsableSetName(name) &&
           std::none_of(name.begin(), name.end(), [](QChar c) { return reserved.contains(c); }) &&
           !name.endsWith(QLatin1Char('.')) && !name.endsWith(QLatin1Char(' '));
}
