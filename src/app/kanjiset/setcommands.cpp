// Commands on the open set: loading it from its file, saving it back, re-sorting and re-showing it.
#include "app/kanjiset/setcommands.h"

#include "app/kanjiset/cardview.h"
#include "app/kanjiset/setsync.h"
#include "app/state/app.h"
#include "app/state/cardids.h"
#include "app/training/profilecommands.h"
#include "base/files.h"
#include "core/kanjiset/kanjisetops.h"
#include "core/kanjiset/setfile.h"
#include "core/kanjiset/setname.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

// The set shown from its first record on; refreshing also rebuilds the grid.
void showFromStart(App& app) {
    app.kanjiSet.current = app.kanjiSet.empty() ? -1 : 0;
    refreshSet(app);
}

// Blank records are what a new set starts with, not anything the learner made.
bool holdsWork(const KanjiSet& set) {
    return std::any_of(set.records.begin(), set.records.end(),
                       [](const KanjiRecord& record) { return !isBlank(record); });
}

// The set's picked file, by its name; nothing when the pick was cancelled or names no set.
std::optional<QString> pickSetName(App& app) {
    const std::optional<QString> chosen = app.ui.requesters().openFile(
        dialogParent(app), app.texts.text(MessageText::LoadSetTitle), app.paths.mediaDir,
        app.texts.text(MessageText::SetFileFilter));
    // The set is always read from the media folder, whatever folder was picked.
    const QString name =
        chosen ? QFileInfo(*chosen).fileName().section(QLatin1Char('.'), 0, 0) : QString();
    if (!isUsableSetName(name)) {
        return std::nullopt;
    }
    return name;
}

// A name for a set to be written under, asked as "Neues Set" asks it. Nothing when the user
// cancels, gives none or one that cannot name a set, or keeps the existing set of that name.
std::optional<QString> askNewSetName(App& app) {
    const std::optional<QString> answer = app.ui.requesters().inputLine(
        dialogParent(app), app.texts.text(MainText::NewSet),
        app.texts.text(MessageText::NewSetPrompt), app.texts.text(MessageText::NewSetProposal));
    if (!answer || answer->isEmpty()) {
        return std::nullopt;
    }
    const QString& name = *answer;
    if (!isUsableNewSetName(name)) {
        app.ui.requesters().message(dialogParent(app), app.texts.text(MainText::NewSet),
                                    app.texts.text(MessageText::SetNameRefused).arg(name));
        return std::nullopt;
    }
    if (QFileInfo::exists(app.paths.mediaDir + name + QStringLiteral(".rki")) &&
        !app.ui.requesters().yesNo(dialogParent(app), app.texts.text(MainText::NewSet),
                                   app.texts.text(MessageText::SetExists).arg(name),
                                   ui::YesNoDefault::No)) {
        return std::nullopt;
    }
    return name;
}

void makeSetFolders(const App& app) {
    const QDir media(app.paths.mediaDir);
    if (media.mkdir(app.setName)) {
        media.mkdir(app.setName + QStringLiteral("/Anim"));
        media.mkdir(app.setName + QStringLiteral("/Sounds"));
    }
}

// Kanji entered into a set without a name (no set was chosen at start) have no file to go to.
bool needsName(const App& app) {
    return app.setName.isEmpty() && holdsWork(app.kanjiSet);
}

// The nameless set gets the name the user gives it, and its folders; false when none was given.
bool nameOpenSet(App& app) {
    const std::optional<QString> name = askNewSetName(app);
    if (!name) {
        return false;
    }
    app.setName = *name;
    makeSetFolders(app);
    return true;
}

}  // namespace

QString setFilePath(const App& app) {
    return app.paths.mediaDir + app.setName + QStringLiteral(".rki");
}

void loadSet(App& app, bool ask) {
    if (ask) {
        const std::optional<QString> name = pickSetName(app);
        if (!name) {
            showFromStart(app);
            return;
        }
        app.setName = *name;
    }
    openSet(app, readSetFile(setFilePath(app)));
}

void loadOtherSet(App& app) {
    const std::optional<QString> name = pickSetName(app);
    if (!name) {
        showFromStart(app);
        return;
    }
    // The set first: a set without a name gets the one its profile is then saved under. The
    // set's changes are given up only by the user's Yes; a profile that cannot be saved keeps
    // the open set open.
    if (!saveSetOrGiveUp(app, MessageText::LoadAnyway) || !saveProfile(app)) {
        return;
    }
    app.setName = *name;
    openSet(app, readSetFile(setFilePath(app)));
    if (!app.profile.profileName.isEmpty()) {
        loadProfile(app);
    }
}

void openSet(App& app, SetFileRead read) {
    read = mergeSetConflictCopies(app, std::move(read));
    removeKanji(app.kanjiSet, -1);
    app.setNotRead = !read;
    app.setFileUnreadable = !read && read.error().kind != FileErrorKind::NotFound;
    if (read) {
        app.kanjiSet.records = std::move(read).value();
        noteSetLoaded(app);
    }
    showFromStart(app);
    if (!read) {
        // An empty card alone would pass for an empty set, and the learner would not know that
        // the set's file needs looking after.
        app.ui.requesters().message(
            dialogParent(app), app.texts.text(MainText::LoadSet),
            app.texts.text(MessageText::SetUnread)
                .arg(setFilePath(app), fileErrorText(app.texts, read.error())));
    }
}

namespace {

// Writes the set to its file; what went wrong, in the words of a message, when it failed.
std::optional<QString> writeOpenSet(App& app) {
    // Without a name there is no file to write to; the callers ask for one first.
    if (app.setName.isEmpty()) {
        return std::nullopt;
    }
    mergeSetChangedOnDisk(app);
    const QString path = setFilePath(app);
    if (app.setNotRead) {
        // The file that could not be read is neither replaced nor, when missing, created by a
        // set holding nothing of the learner's.
        if (!holdsWork(app.kanjiSet)) {
            return std::nullopt;
        }
        // A file that could not be read is kept before anything replaces it.
        if (app.setFileUnreadable) {
            if (const auto kept = keepBackupOf(path); !kept) {
                return app.texts.text(MessageText::BackupFailed)
                    .arg(path, fileErrorText(app.texts, kept.error()));
            }
        }
    }
    if (const auto saved = saveFileAtomically(path, writeSetFile(app.kanjiSet.records)); !saved) {
        return app.texts.text(MessageText::SaveFailed)
            .arg(path, fileErrorText(app.texts, saved.error()));
    }
    noteSetSaved(app);
    app.setFileUnreadable = false;
    app.setNotRead = false;
    return std::nullopt;
}

// A failure asks whether to go on all the same (the question names what would go on); only an
// explicit Yes gives the learner's work up.
bool askToGoOnAfter(App& app, const QString& failure, MessageText goOnQuestion) {
    return app.ui.requesters().yesNo(
        dialogParent(app), app.texts.text(MainText::SaveSet),
        failure + QStringLiteral("\n\n") + app.texts.text(goOnQuestion), ui::YesNoDefault::No);
}

}  // namespace

bool saveSet(App& app) {
    // Work in a set without a name is saved under the name the user gives now, or not at all.
    if (needsName(app) && !nameOpenSet(app)) {
        return false;
    }
    const std::optional<QString> failure = writeOpenSet(app);
    if (failure) {
        app.ui.requesters().message(dialogParent(app), app.texts.text(MainText::SaveSet), *failure);
    }
    return !failure;
}

bool saveSetOrGiveUp(App& app, MessageText goOnQuestion) {
    std::optional<QString> failure;
    if (needsName(app) && !nameOpenSet(app)) {
        failure = app.texts.text(MessageText::SetUnnamed);
    } else {
        failure = writeOpenSet(app);
    }
    return !failure || askToGoOnAfter(app, *failure, goOnQuestion);
}

void newSet(App& app) {
    // The open set and its learner's answers are not given up for a new set, as for "Set laden".
    if (!saveSetOrGiveUp(app, MessageText::NewSetAnyway) || !saveProfile(app)) {
        return;
    }
    // Cancelled, empty, refused or the existing set kept: the open set stays.
    const std::optional<QString> name = askNewSetName(app);
    if (!name) {
        return;
    }
    app.setName = *name;
    app.setFileUnreadable = false;
    app.setNotRead = false;
    removeKanji(app.kanjiSet, -1);
    app.kanjiSet.records.emplace_back();
    app.kanjiSet.current = 0;
    if (!saveSet(app)) {
        return;
    }
    makeSetFolders(app);
    loadSet(app, false);
    if (!app.profile.profileName.isEmpty()) {
        loadProfile(app);
    }
}

bool nameSetBeforeEnd(App& app) {
    return !needsName(app) || nameOpenSet(app) ||
           askToGoOnAfter(app, app.texts.text(MessageText::SetUnnamed), MessageText::EndAnyway);
}

bool saveSetBeforeEnd(App& app) {
    const std::optional<QString> failure = writeOpenSet(app);
    return !failure || askToGoOnAfter(app, *failure, MessageText::EndAnyway);
}

void refreshSet(App& app) {
    // Where no record is current, the first one becomes current.
    sortSetKeepingCurrent(app.kanjiSet, app.kanjiSet.current);
    const int count = app.kanjiSet.size();
    if (app.mainWindow) {
        // The range comes first, or the spinner would clamp the position shown next. A minimum
        // of 1 lets it reach every kanji, also those before the current one.
        app.mainWindow->setSpinRange(NumberSpin, std::min(1, count), count);
    }
    if (app.kanjiSet.empty()) {
        clearCard(app);
    } else {
        showKanji(app, app.kanjiSet.current);
    }
    // Grid cells follow positions in the set: after a re-sort or new kanji they would show
    // kanji other than the ones a click on them chooses.
    fillGrid(app);
    if (app.mainWindow) {
        app.mainWindow->setStatusText(
            0, app.texts.text(MessageText::KanjiCount) + QString::number(count));
    }
}
