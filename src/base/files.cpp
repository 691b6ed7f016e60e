// Whole-file reading and crash-safe whole-file writing.
#include "base/files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace {

// Qt reports file errors in the system's words; the ones a user can act on are told apart here.
FileError classify(const QFileDevice& file, const QString& path) {
    const QString text = file.errorString();
    const auto is = [&text](int code) { return text == qt_error_string(code); };
    FileErrorKind kind = FileErrorKind::Other;
    if (file.error() == QFileDevice::ResourceError || is(ENOSPC) || is(EDQUOT) || is(EFBIG)) {
        kind = FileErrorKind::NoSpace;
    } else if (is(EACCES) || is(EPERM) || is(EROFS)) {
        kind = FileErrorKind::AccessDenied;
    } else if (is(EISDIR) || QFileInfo(path).isDir()) {
        kind = FileErrorKind::IsFolder;
    } else if (is(ENOENT) || !QFileInfo::exists(path)) {
        kind = FileErrorKind::NotFound;
    }
    return {kind, text};
}

// A rename is durable only once the folder holding it has reached the disk.
void syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// QSaveFile names its temporary copy after the target plus "." and six random letters or digits.
// A name of only lower-case letters ("Demo.rki.backup") is far more likely a user's own file
// than a random one, so it is left alone.
void removeKilledSaveLeftovers(const QFileInfo& target) {
    static const QRegularExpression suffix(QStringLiteral("^[A-Za-z0-9]{6}$"));
    static const QRegularExpression lowerCaseWord(QStringLiteral("^[a-z]{6}$"));
    const QString prefix = target.fileName() + QLatin1Char('.');
    QDirIterator entries(target.path(), QDir::Files | QDir::Hidden);
    while (entries.hasNext()) {
        const QString name = entries.nextFileInfo().fileName();
        if (!name.startsWith(prefix)) {
            continue;
        }
        const QString rest = name.mid(prefix.size());
        if (suffix.match(rest).hasMatch() && !lowerCaseWord.match(rest).hasMatch()) {
            QFile::remove(entries.filePath());
        }
    }
}

}  // namespace

FileResult<QByteArray> readWholeFile(const QString& path, qint64 maxBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return unexpected(classify(file, path));
    }
    if (file.size() > maxBytes) {
        return unexpected(FileError{FileErrorKind::TooLarge, {}});
    }
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return unexpected(classify(file, path));
    }
    return data;
}

FileResult<void> keepBackupOf(const QString& path) {
    const auto original = readWholeFile(path);
    if (original) {
        return saveFileAtomically(path + QStringLiteral(".bak"), *original);
    }
    if (!QFileInfo::exists(path)) {
        return {};
    }
    return unexpected(original.error());
}

FileResult<void> saveFileAtomically(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    // Unbuffered, because a buffered write that comes up short while the buffer is flushed
    // inside commit() is not reported, and a truncated file would replace the whole one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return unexpected(classify(file, path));
    }
    if (file.write(data) != data.size()) {
        // A regular file takes fewer bytes than asked only when the disk or the quota is full.
        const FileError error = file.error() == QFileDevice::NoError
                                    ? FileError{FileErrorKind::NoSpace, file.errorString()}
                                    : classify(file, path);
        file.cancelWriting();
        return unexpected(error);
    }
    if (!file.commit()) {
        return unexpected(classify(file, path));
    }
    const QFileInfo target(path);
    syncFolder(target.path());
    removeKilledSaveLeftovers(target);
    return {};
}
