// Commands on the open set: loading it from its file, saving it back, re-sorting and re-showing it.
#include "app/kanjiset/setcommands.h"

#include "app/shell/app.h"
#include "app/shell/cardview.h"
#include "app/shell/mainids.h"
#include "base/files.h"
#include "core/kanjiset/kanjisetops.h"
#include "core/kanjiset/setfile.h"
#include "core/kanjiset/setname.h"

#include <QFileInfo>

QString setFilePath(const App& app) {
    return app.paths.mediaDir + app.setName + QStringLiteral(".rki");
}

void loadSet(App& app, bool ask) {
    bool load = true;
    if (ask) {
        const std::optional<QString> chosen = app.ui.requesters().openFile(
            app.mainWindow ? app.mainWindow->top() : nullptr,
            app.texts.text(MessageText::LoadSetTitle), app.paths.mediaDir,
            app.texts.text(MessageText::SetFileFilter));
        // The set is always read from the media folder, whatever folder was picked.
        const QString name =
            chosen ? QFileInfo(*chosen).fileName().section(QLatin1Char('.'), 0, 0) : QString();
        if (isUsableSetName(name)) {
            app.setName = name;
        } else {
            load = false;
        }
    }
    if (load) {
        removeKanji(app.kanjiSet, -1);
        app.setFileUnreadable = false;
        const QString path = setFilePath(app);
        if (QFileInfo::exists(path)) {
            const auto bytes = readWholeFile(path);
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
    app.currentIndex = 0;
    // Refreshing also rebuilds the grid.
    refreshSet(app);
}

void saveSet(App& app) {
    // Without a chosen set there is nothing to save and no file name to save it under.
    if (app.setName.isEmpty()) {
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
        const auto original = readWholeFile(path);
        const bool keptOrGone =
            original ? saveFileAtomically(path + QStringLiteral(".bak"), *original).has_value()
                     : !QFileInfo::exists(path);
        if (!keptOrGone) {
            app.ui.requesters().message(parent, app.texts.text(MainText::SaveSet),
                                        app.texts.text(MessageText::BackupFailed).arg(path));
            return;
        }
    }
    if (!saveFileAtomically(path, writeSetFile(app.kanjiSet.records))) {
        app.ui.requesters().message(parent, app.texts.text(MainText::SaveSet),
                                    app.texts.text(MessageText::SaveFailed).arg(path));
        return;
    }
    app.setFileUnreadable = false;
}

void refreshSet(App& app) {
    app.currentIndex = sortSetKeepingCurrent(app.kanjiSet, app.currentIndex);
    app.kanjiCount = app.kanjiSet.size();
    if (app.mainWindow) {
        // The range comes first, or the spinner would clamp the position shown next. A minimum
        // of 1 lets it reach every kanji, also those before the current one.
        app.mainWindow->setSpinRange(NumberSpin, std::min(1, app.kanjiCount), app.kanjiCount);
    }
    if (app.kanjiSet.empty()) {
        clearCard(app);
    } else {
        showKanji(app, app.currentIndex);
    }
    // Grid cells follow positions in the set: after a re-sort or new kanji they would show
    // kanji other than the ones a click on them chooses.
    fillGrid(app);
    if (app.mainWindow) {
        app.mainWindow->setStatusText(
            0, app.texts.text(MessageText::KanjiCount) + QString::number(app.kanjiCount));
    }
}
