// Whole-file reading and crash-safe whole-file writing.
#include "base/files.h"

#include <QFile>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

namespace {

// The classes a user can act on, told by the system's error number.
FileErrorKind kindOf(int code) {
    switch (code) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return FileErrorKind::NoSpace;
        case EACCES:
        case EPERM:
        case EROFS:
            return FileErrorKind::AccessDenied;
        case EISDIR:
            return FileErrorKind::IsFolder;
        case ENOENT:
        case ENOTDIR:
            return FileErrorKind::NotFound;
        default:
            return FileErrorKind::Other;
    }
}

FileError errorOf(int code) {
    return fileErrorOf(code);
}

// The error the last failed system call left.
FileError lastError() {
    return errorOf(errno);
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    bool valid() const { return fd_ >= 0; }
    int get() const { return fd_; }
    // Closes now, for the caller to see the error a deferred write reports there.
    bool close() {
        const int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Opens path for reading without waiting for a pipe's writer, and takes only a regular file.
Expected<Descriptor, FileError> openRegularFile(const QByteArray& path, struct stat& status) {
    Descriptor file(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file.valid()) {
        return unexpected(lastError());
    }
    const int fd = file.get();
    if (::fstat(fd, &status) != 0) {
        return unexpected(lastError());
    }
    if (S_ISDIR(status.st_mode)) {
        return unexpected(errorOf(EISDIR));
    }
    if (!S_ISREG(status.st_mode)) {
        return unexpected(FileError{FileErrorKind::NotRegularFile, {}});
    }
    // Reading a regular file does not block; a file on a network share may still want to wait.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags == -1 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1) {
        return unexpected(lastError());
    }
    return file;
}

// Splits an encoded path into its folder and its name.
struct PathParts {
    QByteArray folder;
    QByteArray name;
};

PathParts partsOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) {
        return {QByteArrayLiteral("."), path};
    }
    return {slash == 0 ? QByteArrayLiteral("/") : path.left(slash), path.mid(slash + 1)};
}

constexpr int RandomLength = 6;

// "." + the target's name + SaveMarker; the name is cut short where the whole would not fit in
// a file name, so that a long target can still be saved.
QByteArray temporaryPrefix(const QByteArray& targetName) {
    constexpr qsizetype MaxName = 255;
    const qsizetype room = MaxName - 1 - qsizetype(sizeof(SaveMarker) - 1) - RandomLength;
    return '.' + targetName.left(room) + SaveMarker;
}

QByteArray randomSuffix() {
    static constexpr char Letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray suffix(RandomLength, Qt::Uninitialized);
    for (char& letter : suffix) {
        letter = Letters[QRandomGenerator::global()->bounded(int(sizeof(Letters) - 1))];
    }
    return suffix;
}

bool isTemporaryName(const QByteArray& name, const QByteArray& prefix) {
    if (!name.startsWith(prefix) || name.size() != prefix.size() + RandomLength) {
        return false;
    }
    return std::all_of(name.begin() + prefix.size(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    });
}

// The temporary file of a save in progress; removed unless the save put it in place.
class TemporaryFile {
public:
    static Expected<std::unique_ptr<TemporaryFile>, FileError> create(const QByteArray& prefix) {
        // A race with another save of the same name is lost only by an improbable draw.
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray path = prefix + randomSuffix();
            // 0666 lets the umask decide, as for any new file; O_NOFOLLOW keeps a link planted
            // under the name from being written through.
            const int fd = ::open(path.constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
            if (fd >= 0) {
                return std::unique_ptr<TemporaryFile>(new TemporaryFile(path, fd));
            }
            if (errno != EEXIST) {
                return unexpected(lastError());
            }
        }
        return unexpected(errorOf(EEXIST));
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!placed_) {
            ::unlink(path_.constData());
        }
    }
    const QByteArray& path() const { return path_; }
    Descriptor& file() { return file_; }
    void placed() { placed_ = true; }

private:
    TemporaryFile(QByteArray path, int fd) : path_(std::move(path)), file_(fd) {}
    QByteArray path_;
    Descriptor file_;
    bool placed_ = false;
};

FileResult<void> writeAll(int fd, const QByteArray& data) {
    constexpr qsizetype MaxPiece = qsizetype(1) << 30;
    qsizetype written = 0;
    while (written < data.size()) {
        const auto piece = size_t(std::min(data.size() - written, MaxPiece));
        const ssize_t put = ::write(fd, data.constData() + written, piece);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return unexpected(lastError());
        }
        if (put == 0) {
            // A regular file takes nothing only when the disk or the quota is full.
            return unexpected(errorOf(ENOSPC));
        }
        written += put;
    }
    return {};
}

// A rename is durable only once the folder holding it has reached the disk. Some file systems
// cannot sync a folder; the file is in place by then, so there is nothing left to refuse.
void syncFolder(const QByteArray& folder) {
    const Descriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) {
        ::fsync(fd.get());
    }
}

// Only regular files whose names carry the marker and the target's name are this program's
// temporary files; whatever else lies beside the target is the learner's.
void removeKilledSaveLeftovers(const QByteArray& folder, const QByteArray& prefix) {
    const std::unique_ptr<DIR, int (*)(DIR*)> entries(::opendir(folder.constData()), ::closedir);
    if (!entries) {
        return;
    }
    const int folderFd = ::dirfd(entries.get());
    while (const dirent* entry = ::readdir(entries.get())) {
        const QByteArray name(entry->d_name);
        struct stat status {};
        if (isTemporaryName(name, prefix) &&
            ::fstatat(folderFd, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(status.st_mode)) {
            ::unlinkat(folderFd, entry->d_name, 0);
        }
    }
}

}  // namespace

FileError fileErrorOf(int errorNumber) {
    return {kindOf(errorNumber), qt_error_string(errorNumber)};
}

FileResult<QByteArray> readWholeFile(const QString& path, qint64 maxBytes) {
    struct stat status {};
    const auto file = openRegularFile(QFile::encodeName(path), status);
    if (!file) {
        return unexpected(file.error());
    }
    if (status.st_size > maxBytes) {
        return unexpected(FileError{FileErrorKind::TooLarge, {}});
    }
    // The size is only a hint: the file may grow meanwhile, and files of /proc claim none. One
    // byte more than the limit tells a file that is too large.
    const qint64 limit = std::min<qint64>(maxBytes, std::numeric_limits<qsizetype>::max() - 1) + 1;
    QByteArray data(qsizetype(std::min<qint64>(std::max<qint64>(status.st_size + 1, 4096), limit)),
                    Qt::Uninitialized);
    qsizetype filled = 0;
    while (true) {
        if (filled == data.size()) {
            if (filled >= limit) {
                break;
            }
            data.resize(qsizetype(std::min<qint64>(limit, qint64(filled) * 2)));
        }
        const ssize_t got = ::read(file->get(), data.data() + filled, size_t(data.size() - filled));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return unexpected(lastError());
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    if (filled > maxBytes) {
        return unexpected(FileError{FileErrorKind::TooLarge, {}});
    }
    data.truncate(filled);
    return data;
}

FileResult<void> readFileInChunks(const QString& path, qint64 maxBytes, qsizetype chunkBytes,
                                  const std::function<bool(QByteArrayView)>& take) {
    struct stat status {};
    const auto file = openRegularFile(QFile::encodeName(path), status);
    if (!file) {
        return unexpected(file.error());
    }
    if (status.st_size > maxBytes) {
        return unexpected(FileError{FileErrorKind::TooLarge, {}});
    }
    QByteArray chunk(std::max<qsizetype>(chunkBytes, 1), Qt::Uninitialized);
    qint64 total = 0;
    while (true) {
        const ssize_t got = ::read(file->get(), chunk.data(), size_t(chunk.size()));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return unexpected(lastError());
        }
        if (got == 0) {
            return {};
        }
        total += got;
        // The file grew past the limit while it was read.
        if (total > maxBytes) {
            return unexpected(FileError{FileErrorKind::TooLarge, {}});
        }
        if (!take(QByteArrayView(chunk.constData(), qsizetype(got)))) {
            return {};
        }
    }
}

FileResult<void> checkRegularFile(const QString& path) {
    struct stat status {};
    if (const auto file = openRegularFile(QFile::encodeName(path), status); !file) {
        return unexpected(file.error());
    }
    return {};
}

FileResult<void> keepBackupOf(const QString& path) {
    const auto original = readWholeFile(path);
    if (original) {
        return saveFileAtomically(path + QStringLiteral(".bak"), *original);
    }
    if (original.error().kind == FileErrorKind::NotFound) {
        return {};
    }
    return unexpected(original.error());
}

FileResult<void> saveFileAtomically(const QString& path, const QByteArray& data) {
    const QByteArray target = QFile::encodeName(path);
    const PathParts parts = partsOf(target);
    if (parts.name.isEmpty()) {
        return unexpected(errorOf(EISDIR));
    }
    std::optional<mode_t> keptMode;
    struct stat existing {};
    if (::lstat(target.constData(), &existing) == 0) {
        if (S_ISLNK(existing.st_mode)) {
            return unexpected(FileError{FileErrorKind::IsLink, {}});
        }
        if (S_ISDIR(existing.st_mode)) {
            return unexpected(errorOf(EISDIR));
        }
        if (!S_ISREG(existing.st_mode)) {
            return unexpected(FileError{FileErrorKind::NotRegularFile, {}});
        }
        // The rename would replace a file the learner made read-only; a save in place would not.
        if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0) {
            return unexpected(lastError());
        }
        keptMode = existing.st_mode & 0777;
    } else if (errno != ENOENT) {
        return unexpected(lastError());
    }

    const QByteArray prefix = parts.folder + '/' + temporaryPrefix(parts.name);
    auto temporary = TemporaryFile::create(prefix);
    if (!temporary) {
        return unexpected(temporary.error());
    }
    TemporaryFile& written = **temporary;
    const int fd = written.file().get();
    // The learner's own permissions survive a save; a failure leaves those the umask gives.
    if (keptMode) {
        ::fchmod(fd, *keptMode);
    }
    if (auto put = writeAll(fd, data); !put) {
        return put;
    }
    if (::fsync(fd) != 0 || !written.file().close()) {
        return unexpected(lastError());
    }
    if (::rename(written.path().constData(), target.constData()) != 0) {
        return unexpected(lastError());
    }
    written.placed();
    syncFolder(parts.folder);
    removeKilledSaveLeftovers(parts.folder, temporaryPrefix(parts.name));
    return {};
}
