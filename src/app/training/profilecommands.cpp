// Loading, creating, choosing, saving and deleting the learning profile of the open set.
#include "app/training/profilecommands.h"

#include "app/shell/app.h"
#include "app/shell/cardview.h"
#include "app/shell/mainids.h"
#include "base/files.h"
#include "core/training/profilefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QWidget* dialogParent(const App& app) {
    return app.mainWindow ? app.mainWindow->top() : nullptr;
}

void showProfileName(App& app) {
    if (app.mainWindow) {
        app.mainWindow->setText(ProfileField, app.profile.profileName);
    }
}

// A profile that starts without a file: one free record, which syncing hands to a kanji.
void startEmptyProfile(App& app) {
    app.profile.profileList.records.assign(1, ProfileRecord{});
    syncProfile(app.profile.profileList, app.kanjiSet);
    app.profile.fileDamaged = false;
}

}  // namespace

QString profileFilePath(const App& app) {
    return app.paths.mediaDir + app.setName + QLatin1Char('/') + app.profile.profileName +
           QStringLiteral(".rkpr");
}

ProfileRead readProfile(const QString& path) {
    if (auto bytes = readWholeFile(path)) {
        return {parseProfileFile(*bytes), false};
    }
    // A file that is there but cannot be read must survive the next save.
    return {std::nullopt, QFileInfo::exists(path)};
}

void loadProfile(App& app) {
    loadProfile(app, readProfile(profileFilePath(app)));
}

void loadProfile(App& app, ProfileRead read) {
    Profile& profile = app.profile;
    profile.profileList = {};
    // Synced against a set that is not there, the profile would keep none of its records.
    profile.onHold = app.setNotRead;
    if (profile.onHold) {
        profile.fileDamaged = false;
        showProfileName(app);
        return;
    }
    profile.fileDamaged = read.unreadable;
    if (read.content) {
        profile.profileList.records = std::move(read.content->records);
        profile.fileDamaged = !read.content->whole;
        showProfileName(app);
        mergeDuplicateRecords(profile.profileList);
    } else {
        profile.profileList.records.assign(1, ProfileRecord{});
    }
    syncProfile(profile.profileList, app.kanjiSet);
    showProfileCounters(app);
}

bool saveProfile(App& app) {
    // A profile on hold was never read, so its file still holds all there is.
    if (app.profile.profileName.isEmpty() || app.profile.onHold) {
        return true;
    }
    const QString path = profileFilePath(app);
    QDir().mkpath(QFileInfo(path).path());
    QString failure;
    if (app.profile.fileDamaged) {
        if (const auto kept = keepBackupOf(path); !kept) {
            failure = app.texts.text(MessageText::ProfileBackupFailed)
                          .arg(path, fileErrorText(app.texts, kept.error()));
        }
    }
    if (failure.isEmpty()) {
        const auto saved =
            saveFileAtomically(path, writeProfileFile(app.profile.profileList.records));
        if (saved) {
            app.profile.fileDamaged = false;
            return true;
        }
        failure = app.texts.text(MessageText::ProfileSaveFailed)
                      .arg(path, fileErrorText(app.texts, saved.error()));
    }
    app.ui.requesters().message(dialogParent(app), app.texts.text(MainText::Profile), failure);
    return false;
}

void createProfile(App& app) {
    const std::optional<QString> answer =
        app.ui.requesters().inputLine(dialogParent(app), app.texts.text(MainText::CreateProfile),
                                      app.texts.text(MessageText::ProfileNamePrompt));
    if (!answer || answer->isEmpty()) {
        return;
    }
    if (!isUsableProfileInput(*answer)) {
        app.ui.requesters().message(dialogParent(app), app.texts.text(MainText::CreateProfile),
                                    app.texts.text(MessageText::ProfileNameRefused).arg(*answer));
        return;
    }
    // The profile in use keeps its answers; one that cannot be saved is not given up.
    if (!saveProfile(app)) {
        return;
    }
    const QString previous = app.profile.profileName;
    app.profile.profileName = profileNameOf(*answer);
    // A learner's history is not wiped by a name typed twice.
    if (QFileInfo::exists(profileFilePath(app)) &&
        !app.ui.requesters().yesNo(
            dialogParent(app), app.texts.text(MainText::CreateProfile),
            app.texts.text(MessageText::ProfileExists).arg(app.profile.profileName),
            ui::YesNoDefault::No)) {
        app.profile.profileName = previous;
        return;
    }
    startEmptyProfile(app);
    saveProfile(app);
    showProfileName(app);
    showProfileCounters(app);
}

void chooseProfile(App& app) {
    const std::optional<QString> chosen = app.ui.requesters().openFile(
        dialogParent(app), app.texts.text(ImportText::CsvImport), app.paths.importPath,
        app.texts.text(MessageText::ProfileFileFilter));
    if (!chosen) {
        return;
    }
    // Only the name counts: the profile is always read from the open set's folder.
    const QString name = profileNameOf(*chosen);
    if (!isUsableProfileInput(name) || !saveProfile(app)) {
        return;
    }
    app.profile.profileName = name;
    showProfileName(app);
    loadProfile(app);
}

void deleteProfile(App& app) {
    Profile& profile = app.profile;
    if (profile.profileName.isEmpty()) {
        return;
    }
    if (!app.ui.requesters().yesNo(
            dialogParent(app), app.texts.text(MainText::DeleteProfile),
            app.texts.text(MessageText::DeleteProfileQuestion).arg(profile.profileName),
            ui::YesNoDefault::No)) {
        return;
    }
    // Kept as a backup, so a slip of the hand can be undone in the folder.
    const QString path = profileFilePath(app);
    if (QFileInfo::exists(path)) {
        const QString backup = path + QStringLiteral(".bak");
        QFile::remove(backup);
        QFile::rename(path, backup);
    }
    profile.profileName.clear();
    profile.profileList = {};
    profile.fileDamaged = false;
    showProfileName(app);
    if (app.mainWindow) {
        for (int field = 2; field <= 5; ++field) {
            app.mainWindow->setStatusText(field, QString());
        }
    }
}
