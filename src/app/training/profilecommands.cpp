// Loading, creating, choosing, saving and deleting the learning profile of the open set.
#include "app/training/profilecommands.h"

#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/training/dailyreview.h"
#include "app/training/profilecounters.h"
#include "base/files.h"
#include "core/training/profilefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>

namespace {

void showProfileName(App& app) {
    if (app.mainWindow) {
        app.mainWindow->setText(ProfileField, app.profile.profileName);
    }
}

// A profile that starts without a file: one free record, which syncing hands to a kanji. It
// starts a history of its own: a log left under its name (a profile replaced) goes aside as .bak,
// or the answers it holds would come back into the new profile's counters.
void startEmptyProfile(App& app) {
    const QString log = learnerFilePath(app, ReviewLogSuffix);
    if (QFileInfo::exists(log)) {
        QFile::remove(log + QStringLiteral(".bak"));
        QFile::rename(log, log + QStringLiteral(".bak"));
    }
    ProfileList records;
    records.records.assign(1, ProfileRecord{});
    syncProfile(records, app.kanjiSet);
    app.profile.fileDamaged = false;
    loadLearner(app, std::move(records));
}

// The files of a profile, and where they are kept once the profile is deleted: beside them,
// under names no other file of the program takes, until the learner restores or replaces them.
struct KeptFile {
    QString file;
    QString kept;
};

// The profile, its review log and its training choices, each with the backup a damaged file
// left.
std::array<KeptFile, 6> keptFilesOf(const App& app) {
    std::array<KeptFile, 6> files;
    const std::array<QString, 3> paths{profileFilePath(app), learnerFilePath(app, ReviewLogSuffix),
                                       learnerFilePath(app, TrainingChoicesSuffix)};
    for (size_t i = 0; i < paths.size(); ++i) {
        const QString backup = paths[i] + QStringLiteral(".bak");
        files[2 * i] = {paths[i], paths[i] + QStringLiteral(".deleted")};
        files[2 * i + 1] = {backup, backup + QStringLiteral(".deleted")};
    }
    return files;
}

bool hasDeletedCopy(const App& app) {
    return QFileInfo::exists(keptFilesOf(app)[0].kept);
}

void removeDeletedCopy(const App& app) {
    for (const KeptFile& file : keptFilesOf(app)) {
        QFile::remove(file.kept);
    }
}

// Moves a file, telling the learner when it cannot be done.
bool moveProfileFile(App& app, const QString& from, const QString& to) {
    QFile file(from);
    if (file.rename(to)) {
        return true;
    }
    app.ui.requesters().message(
        dialogParent(app), app.texts.text(MainText::Profile),
        app.texts.text(MessageText::DeleteProfileFailed)
            .arg(to,
                 fileErrorText(app.texts, FileError{FileErrorKind::Other, file.errorString()})));
    return false;
}

// Puts the deleted profile's files back under their names; false when one could not be moved.
bool restoreDeletedCopy(App& app) {
    for (const KeptFile& file : keptFilesOf(app)) {
        if (QFileInfo::exists(file.kept) && !moveProfileFile(app, file.kept, file.file)) {
            return false;
        }
    }
    return true;
}

}  // namespace

QString profileFilePath(const App& app) {
    return learnerFilePath(app, ".rkpr");
}

ProfileRead readProfile(const QString& path) {
    if (!QFileInfo::exists(path)) {
        return unexpected(FileError{FileErrorKind::NotFound, {}});
    }
    const FileResult<QByteArray> bytes = readWholeFile(path);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    return parseProfileFile(*bytes);
}

void loadProfile(App& app) {
    loadProfile(app, readProfile(profileFilePath(app)));
}

void loadProfile(App& app, ProfileRead read, std::optional<LearnerReading> reading) {
    Profile& profile = app.profile;
    // Synced against a set that is not there, the profile would keep none of its records.
    profile.onHold = app.setNotRead;
    if (profile.onHold) {
        profile.fileDamaged = false;
        showProfileName(app);
        loadLearner(app, {}, std::move(reading));
        return;
    }
    // A file that is there but cannot be read must survive the next save.
    profile.fileDamaged = !read && read.error().kind != FileErrorKind::NotFound;
    ProfileList records;
    if (read) {
        records.records = std::move(read->records);
        profile.fileDamaged = !read->whole;
        showProfileName(app);
        mergeDuplicateRecords(records);
    } else {
        records.records.assign(1, ProfileRecord{});
    }
    syncProfile(records, app.kanjiSet);
    // The learner replays the log here, never inside an answer, and brings counters the log is
    // ahead of (a run a crash cut short) up to date before they are shown.
    loadLearner(app, std::move(records), std::move(reading));
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
            saveFileAtomically(path, writeProfileFile(app.learner.profile().records));
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
    const QString path = profileFilePath(app);
    // A learner's history is not wiped by a name typed twice.
    if (QFileInfo::exists(path) &&
        !app.ui.requesters().yesNo(
            dialogParent(app), app.texts.text(MainText::CreateProfile),
            app.texts.text(MessageText::ProfileExists).arg(app.profile.profileName),
            ui::YesNoDefault::No)) {
        app.profile.profileName = previous;
        return;
    }
    // The name of a deleted profile brings it back, unless the learner wants a fresh start.
    bool replacesDeleted = false;
    if (!QFileInfo::exists(path) && hasDeletedCopy(app)) {
        if (app.ui.requesters().yesNo(
                dialogParent(app), app.texts.text(MainText::CreateProfile),
                app.texts.text(MessageText::RestoreProfileQuestion).arg(app.profile.profileName),
                ui::YesNoDefault::Yes)) {
            if (!restoreDeletedCopy(app)) {
                app.profile.profileName = previous;
                return;
            }
            showProfileName(app);
            loadProfile(app);
            return;
        }
        replacesDeleted = true;
    }
    startEmptyProfile(app);
    // The deleted copy goes only once the fresh profile that replaces it is on disk.
    if (saveProfile(app) && replacesDeleted) {
        removeDeletedCopy(app);
    }
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
    // Put aside with every answer up to now, so "Profil erstellen" with its name can bring it
    // back. A copy kept from an earlier deletion of the same name gives way to this one.
    if (!saveProfile(app)) {
        return;
    }
    // The log is let go of before it moves; a profile that cannot move stays in use.
    ProfileList records = app.learner.profile();
    closeLearner(app);
    removeDeletedCopy(app);
    for (const KeptFile& file : keptFilesOf(app)) {
        if (QFileInfo::exists(file.file) && !moveProfileFile(app, file.file, file.kept)) {
            loadLearner(app, std::move(records));
            return;
        }
    }
    profile.profileName.clear();
    profile.fileDamaged = false;
    showProfileName(app);
    if (app.mainWindow) {
        for (int field = 2; field <= 5; ++field) {
            app.mainWindow->setStatusText(field, QString());
        }
    }
}
