// A file kept open for appending.
#include "base/appendfile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <utility>

namespace {

FileError lastError() {
    return fileErrorOf(errno);
}

}  // namespace

FileResult<AppendFile> AppendFile::open(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    // O_NOFOLLOW fails on a link, O_NONBLOCK keeps a pipe from holding the open.
    const int fd =
        ::open(name.constData(),
               O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK, 0666);
    if (fd < 0) {
        if (errno == ELOOP) {
            return unexpected(FileError{FileErrorKind::IsLink, {}});
        }
        return unexpected(lastError());
    }
    AppendFile file(fd, 0);
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return unexpected(lastError());
    }
    if (!S_ISREG(status.st_mode)) {
        return unexpected(FileError{FileErrorKind::NotRegularFile, {}});
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
        return unexpected(lastError());
    }
    file.size_ = status.st_size;
    return file;
}

AppendFile::AppendFile(AppendFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

AppendFile& AppendFile::operator=(AppendFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
    }
    return *this;
}

AppendFile::~AppendFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

FileResult<QByteArray> AppendFile::head(qint64 count) const {
    QByteArray bytes(qsizetype(std::clamp<qint64>(count, 0, size_)), '\0');
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t read = ::pread(fd_, bytes.data() + got, size_t(bytes.size() - got), got);
        if (read < 0 && errno == EINTR) {
            continue;
        }
        if (read < 0) {
            return unexpected(lastError());
        }
        if (read == 0) {
            // Another program cut the file since it was opened.
            bytes.truncate(got);
            break;
        }
        got += read;
    }
    return bytes;
}

FileResult<void> AppendFile::truncate(qint64 length) {
    if (::ftruncate(fd_, length) != 0) {
        return unexpected(lastError());
    }
    size_ = length;
    return {};
}

FileResult<void> AppendFile::append(const QByteArray& bytes) {
    const qint64 before = size_;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t put =
            ::write(fd_, bytes.constData() + written, size_t(bytes.size() - written));
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            const FileError error = lastError();
            // A part written before a full disk stopped it would shift every later record.
            static_cast<void>(truncate(before));
            return unexpected(error);
        }
        if (put == 0) {
            static_cast<void>(truncate(before));
            return unexpected(fileErrorOf(ENOSPC));
        }
        written += put;
        size_ += put;
    }
    return {};
}

FileResult<void> AppendFile::sync() {
    if (::fsync(fd_) != 0) {
        return unexpected(lastError());
    }
    return {};
}
