// What the program knows of the learner's files that a sync engine may replace while it runs.
#pragma once

#include "core/training/reviewlog.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QPointer>
#include <QtGlobal>

#include <vector>

// A file as the system tells it apart from another of the same name: an engine replaces a file by
// renaming a new one over it, which gives the name another inode.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool exists = false;

    bool operator==(const FileIdentity&) const = default;
};

struct SyncState {
    // Watches the working folder, the media folder and the open set's folder (a watch on a file
    // would be lost when the file is replaced); owned by the main window, and gone with it.
    QPointer<QFileSystemWatcher> watcher;
    // Something in a watched folder changed since the last look.
    bool folderChanged = false;
    // The review log this program last read, wrote or merged.
    FileIdentity log;
    // The answers appended to that log since: what a log replaced under the program lacks of
    // this machine.
    std::vector<ReviewEntry> appended;
    // The SHA-1 of the set file as this program last loaded or saved it.
    QByteArray setFile;
};
