// Loading the open set from its file and saving it back.
#include "kanjiset/setstore.h"

#include "base/files.h"
#include "kanjiset/kanjisetops.h"
#include "kanjiset/refreshset.h"
#include "kanjiset/setfile.h"
#include "shell/app.h"

#include <QFileInfo>

QString setFilePath(const App& app) {
    return app.MediaDir + app.SetName + QStringLiteral(".rki");
}

void loadSet(App& app, bool ask) {
    bool load = true;
    if (ask) {
        const std::optional<QString> chosen = app.ui.requesters().openFile(
            app.mainWindow ? app.mainWindow->top() : nullptr, QStringLiteral("Lade Kanjiset"),
            app.MediaDir, QStringLiteral("Kanjiset (*.rki)|*.rki"));
        if (chosen) {
            // The set is always read from the media folder, whatever folder was picked.
            app.SetName = QFileInfo(*chosen).fileName().section(QLatin1Char('.'), 0, 0);
        } else {
            load = false;
        }
    }
    if (load) {
        removeKanji(app.kanjiSet, -1);
        app.setFileUnreadable = false;
        const QString path = setFilePath(app);
        if (QFileInfo::exists(path)) {
            const std::optional<QByteArray> bytes = readWholeFile(path);
            std::optional<std::vector<KanjiRecord>> records;
            if (bytes) {
                records = parseSetFile(*bytes);
            }
            if (records) {
                app.kanjiSet.records = std::move(*records);
            } else {
                app.setFileUnreadable = true;
            }
        }
    }
    app.kanjiSet.current = app.kanjiSet.empty() ? -1 : 0;
    app.CurrentIndex = 0;
    // Refreshing also rebuilds the grid.
    refreshSet(app);
}

void saveSet(App& app) {
    // Without a chosen set there is nothing to save and no file name to save it under.
    if (app.SetName.isEmpty()) {
        return;
    }
    const QString path = setFilePath(app);
    QWidget* parent = app.mainWindow ? app.mainWindow->top() : nullptr;
    if (app.setFileUnreadable) {
        // Never replace a file we could not read by what little we hold of it.
        if (app.kanjiSet.empty()) {
            return;
        }
        // A file that still exists but cannot be read whole cannot be backed up either, and
        // replacing it would lose it.
        const std::optional<QByteArray> original = readWholeFile(path);
        const bool keptOrGone = original
                                    ? saveFileAtomically(path + QStringLiteral(".bak"), *original)
                                    : !QFileInfo::exists(path);
        if (!keptOrGone) {
            app.ui.requesters().message(
                parent, QStringLiteral("Set speichern"),
                QStringLiteral("Die Sicherungskopie von %1 konnte nicht angelegt werden. "
                               "Das Set wurde nicht gespeichert.")
                    .arg(path));
            return;
        }
    }
    if (!saveFileAtomically(path, writeSetFile(app.kanjiSet.records))) {
        app.ui.requesters().message(parent, QStringLiteral("Set speichern"),
                                    QStringLiteral("Das Set konnte nicht in %1 gespeichert werden. "
                                                   "Es bleibt im Speicher erhalten.")
                                        .arg(path));
        return;
    }
    app.setFileUnreadable = false;
}
