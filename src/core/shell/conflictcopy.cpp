// Conflict copies are told by the exact marks their engines put before the file's extension.
#include "core/shell/conflictcopy.h"

#include <QRegularExpression>

#include <array>

namespace {

// The original's name without its extension, when stem ends in one engine's mark.
std::optional<QString> stemBeforeMark(const QString& stem) {
    // A Syncthing device is named by the first seven base32 letters of its id.
    static const std::array<QRegularExpression, 3> marks{
        QRegularExpression(QStringLiteral(R"(^(.+)\.sync-conflict-\d{8}-\d{6}-[A-Z2-7]{7}$)")),
        QRegularExpression(
            QStringLiteral(R"(^(.+) \(conflicted copy (?:[^()/]+ )?\d{4}-\d{2}-\d{2} \d{6}\)$)")),
        QRegularExpression(QStringLiteral("^(.+) \\([^()/]+['\u2019]s conflicted copy "
                                          "\\d{4}-\\d{2}-\\d{2}(?: \\(\\d+\\))?\\)$"))};
    for (const QRegularExpression& mark : marks) {
        const QRegularExpressionMatch match = mark.match(stem);
        if (match.hasMatch()) {
            return match.captured(1);
        }
    }
    return std::nullopt;
}

// The original's name when fileName is a copy, one step back.
std::optional<QString> originalOnce(const QString& fileName) {
    // Every engine puts its mark before the last extension; the program's files all have one.
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0 || dot == fileName.size() - 1) {
        return std::nullopt;
    }
    const std::optional<QString> stem = stemBeforeMark(fileName.left(dot));
    if (!stem) {
        return std::nullopt;
    }
    return *stem + fileName.mid(dot);
}

}  // namespace

std::optional<QString> conflictCopyOriginal(const QString& fileName) {
    if (fileName.contains(QLatin1Char('/'))) {
        return std::nullopt;
    }
    std::optional<QString> original = originalOnce(fileName);
    while (original) {
        std::optional<QString> earlier = originalOnce(*original);
        if (!earlier) {
            break;
        }
        original = std::move(earlier);
    }
    return original;
}
