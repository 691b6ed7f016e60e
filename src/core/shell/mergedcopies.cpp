// Conflict copies found by name, set aside after their merge, and removed a month later.
#include "core/shell/mergedcopies.h"

#include "core/shell/conflictcopy.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <optional>

namespace {

const QString MergedMark = QStringLiteral(".merged-");

}  // namespace

std::vector<QString> conflictCopiesOf(const QString& folder, const QString& originalName) {
    std::vector<QString> copies;
    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        if (conflictCopyOriginal(name) == originalName) {
            copies.push_back(folder + name);
        }
    }
    return copies;
}

FileResult<QString> setMergedCopyAside(const QString& copyPath, const QDate& today) {
    const QString stem = copyPath + MergedMark + today.toString(QStringLiteral("yyyy-MM-dd"));
    QString target = stem;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n) {
        target = stem + QLatin1Char('-') + QString::number(n);
    }
    if (std::rename(QFile::encodeName(copyPath).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        return unexpected(fileErrorOf(errno));
    }
    return target;
}

void removeExpiredMergedCopies(const QString& folder, const QDate& today) {
    static const QRegularExpression merged(
        QStringLiteral(R"(\.merged-(\d{4}-\d{2}-\d{2})(-\d+)?$)"));
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QRegularExpressionMatch match = merged.match(name);
        if (!match.hasMatch()) {
            continue;
        }
        const QDate setAside = QDate::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd"));
        if (setAside.isValid() && setAside.daysTo(today) > MergedCopyKeptDays &&
            conflictCopyOriginal(name.left(match.capturedStart())).has_value()) {
            QFile::remove(dir.filePath(name));
        }
    }
}

FileResult<std::optional<QByteArray>> latestCopyContent(const QString& path,
                                                        const std::vector<QString>& copies,
                                                        const UsableBytes& usable) {
    const QFileInfo file(path);
    QDateTime latest = file.exists() ? file.lastModified() : QDateTime();
    std::optional<QByteArray> taken;
    for (const QString& copy : copies) {
        const QDateTime modified = QFileInfo(copy).lastModified();
        if (latest.isValid() && modified <= latest) {
            continue;
        }
        FileResult<QByteArray> bytes = readWholeFile(copy);
        if (!bytes) {
            return unexpected(bytes.error());
        }
        if (usable(*bytes)) {
            latest = modified;
            taken = std::move(*bytes);
        }
    }
    return taken;
}
