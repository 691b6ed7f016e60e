// Watching the shared folders, and merging what changed once the learner is not busy.
#include "app/shell/syncwatch.h"

#include "app/state/app.h"
#include "app/training/learnersync.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QStringList>

namespace {

// The folders whose files an engine may replace: a watch on a file is lost once the file is.
QStringList foldersToWatch(const App& app) {
    QStringList folders{app.paths.workDir, app.paths.mediaDir};
    if (!app.setName.isEmpty()) {
        folders.append(app.paths.mediaDir + app.setName + QLatin1Char('/'));
    }
    QStringList existing;
    for (const QString& folder : folders) {
        const QString path = QFileInfo(folder).absoluteFilePath();
        if (QFileInfo(path).isDir()) {
            existing.append(path);
        }
    }
    return existing;
}

void keepWatching(App& app) {
    if (!app.mainWindow) {
        return;
    }
    if (!app.sync.watcher) {
        app.sync.watcher = new QFileSystemWatcher(app.mainWindow->top());
        QObject::connect(app.sync.watcher, &QFileSystemWatcher::directoryChanged,
                         [&app] { app.sync.folderChanged = true; });
    }
    const QStringList wanted = foldersToWatch(app);
    if (app.sync.watcher->directories() != wanted) {
        if (!app.sync.watcher->directories().isEmpty()) {
            app.sync.watcher->removePaths(app.sync.watcher->directories());
        }
        app.sync.watcher->addPaths(wanted);
    }
}

}  // namespace

void serveSyncChanges(App& app) {
    keepWatching(app);
    // A run's answers are appended to the log that is there; the merge waits for the run's end,
    // and the set's kanji stay as the learner edits them.
    if (app.training.running() || app.viewMode == ViewMode::Editing) {
        return;
    }
    if (!app.sync.folderChanged) {
        return;
    }
    app.sync.folderChanged = false;
    mergeLearnerWhileOpen(app);
}
