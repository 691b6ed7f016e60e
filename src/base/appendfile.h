// A file kept open for appending, for the one file that grows by records instead of being
// rewritten whole.
#pragma once

#include "base/files.h"

#include <QByteArray>
#include <QString>

class AppendFile {
public:
    // Opens path for appending, creating it when missing. Like the save helper it refuses a
    // symbolic link, and like the reader it takes only a regular file, so a device or a pipe is
    // refused without waiting.
    static FileResult<AppendFile> open(const QString& path);

    AppendFile(AppendFile&& other) noexcept;
    AppendFile& operator=(AppendFile&& other) noexcept;
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;
    ~AppendFile();

    // The file's size when it was opened, plus what was appended since.
    qint64 size() const { return size_; }
    // The first bytes of the file, at most count of them.
    FileResult<QByteArray> head(qint64 count) const;
    // Cuts the file to length bytes, dropping a record a crash left half written.
    FileResult<void> truncate(qint64 length);
    // Appends all of bytes or, failing, nothing: a part written before the failure is cut off.
    FileResult<void> append(const QByteArray& bytes);
    // Makes what was appended durable.
    FileResult<void> sync();

private:
    AppendFile(int fd, qint64 size) : fd_(fd), size_(size) {}
    int fd_ = -1;
    qint64 size_ = 0;
};
