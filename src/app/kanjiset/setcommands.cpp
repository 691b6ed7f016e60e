// Commands on the open set: loading it from its file, saving it back, re-sorting and re-showing it.
#include "app/kanjiset/setcommands.h"

#include "app/shell/app.h"
#include "app/shell/cardview.h"
#include "app/shell/mainids.h"
#include "app/training/profilecommands.h"
#include "base/files.h"
#include "core/kanjiset/kanjisetops.h"
#include "core/kanjiset/setfile.h"
#include "core/kanjiset/setname.h"

#include <QDir>
#include <QFileInfo>

namespace {

QWidget* dialogParent(const App& app) {
    return app.mainWindow ? app.mainWindow->top() : nullptr;
}

// The set shown from its first record on; refreshing also rebuilds the grid.
void showFromStart(App& app) {
    app.kanjiSet.current = app.kanjiSet.empty() ? -1 : 0;
    app.currentIndex = 0;
    refreshSet(app);
}

}  // namespace

QString setFilePath(const App& app) {
    return app.paths.mediaDir + app.setName + QStringLiteral(".rki");
}

void loadSet(App& app, bool ask) {
    if (ask) {
        const std::optional<QString> chosen = app.ui.requesters().openFile(
            dialogParent(app), app.texts.text(MessageText::LoadSetTitle), app.paths.mediaDir,
            app.texts.text(MessageText::SetFileFilter));
        // The set is always read from the media folder, whatever folder was picked.
        const QString name =
            chosen ? QFileInfo(*chosen).fileName().section(QLatin1Char('.'), 0, 0) : QString();
        if (!isUsableSetName(name)) {
            showFromStart(app);
            return;
        }
        app.setName = name;
    }
    openSet(app, readSetFile(setFilePath(app)));
}

void openSet(App& app, SetFileRead read) {
    removeKanji(app.kanjiSet, -1);
    app.setFileUnreadable = !read && read.error() == SetFileFailure::Unreadable;
    if (read) {
        app.kanjiSet.records = std::move(read).value();
    }
    showFromStart(app);
}

namespace {

// Writes the set to its file; what went wrong, in the words of a message, when it failed.
std::optional<QString> writeOpenSet(App& app) {
    // Without a chosen set there is nothing to save and no file name to save it under.
    if (app.setName.isEmpty()) {
        return std::nullopt;
    }
    const QString path = setFilePath(app);
    if (app.setFileUnreadable) {
        // Never replace a file we could not read by what little we hold of it.
        if (app.kanjiSet.empty()) {
            return std::nullopt;
        }
        // A file that could not be read is kept before anything replaces it.
        if (const auto kept = keepBackupOf(path); !kept) {
            return app.texts.text(MessageText::BackupFailed)
                .arg(path, fileErrorText(app.texts, kept.error()));
        }
    }
    if (const auto saved = saveFileAtomically(path, writeSetFile(app.kanjiSet.records)); !saved) {
        return app.texts.text(MessageText::SaveFailed)
            .arg(path, fileErrorText(app.texts, saved.error()));
    }
    app.setFileUnreadable = false;
    return std::nullopt;
}

}  // namespace

bool saveSet(App& app) {
    const std::optional<QString> failure = writeOpenSet(app);
    if (failure) {
        app.ui.requesters().message(dialogParent(app), app.texts.text(MainText::SaveSet), *failure);
    }
    return !failure;
}

void newSet(App& app) {
    const std::optional<QString> answer = app.ui.requesters().inputLine(
        dialogParent(app), app.texts.text(MainText::NewSet),
        app.texts.text(MessageText::NewSetPrompt), app.texts.text(MessageText::NewSetProposal));
    // Cancelled or empty: the open set stays.
    if (!answer || answer->isEmpty()) {
        return;
    }
    const QString& name = *answer;
    if (!isUsableNewSetName(name)) {
        app.ui.requesters().message(dialogParent(app), app.texts.text(MainText::NewSet),
                                    app.texts.text(MessageText::SetNameRefused).arg(name));
        return;
    }
    if (QFileInfo::exists(app.paths.mediaDir + name + QStringLiteral(".rki")) &&
        !app.ui.requesters().yesNo(dialogParent(app), app.texts.text(MainText::NewSet),
                                   app.texts.text(MessageText::SetExists).arg(name),
                                   ui::YesNoDefault::No)) {
        return;
    }
    // The open set and its learner's answers are not given up for a new set.
    if (!saveProfile(app) || !saveSet(app)) {
        return;
    }
    app.setName = name;
    app.setFileUnreadable = false;
    removeKanji(app.kanjiSet, -1);
    app.kanjiSet.records.emplace_back();
    app.kanjiSet.current = 0;
    if (!saveSet(app)) {
        return;
    }
    const QDir media(app.paths.mediaDir);
    if (media.mkdir(name)) {
        media.mkdir(name + QStringLiteral("/Anim"));
        media.mkdir(name + QStringLiteral("/Sounds"));
    }
    loadSet(app, false);
    if (!app.profile.profileName.isEmpty()) {
        loadProfile(app);
    }
}

bool saveSetBeforeEnd(App& app) {
    const std::optional<QString> failure = writeOpenSet(app);
    if (!failure) {
        return true;
    }
    // Ending would throw the learner's work away; only an explicit Yes does that.
    return app.ui.requesters().yesNo(
        dialogParent(app), app.texts.text(MainText::SaveSet),
        *failure + QStringLiteral("\n\n") + app.texts.text(MessageText::EndAnyway),
        ui::YesNoDefault::No);
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
