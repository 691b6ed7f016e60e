// The files beside a profile after two machines changed them apart.
#include "app/training/learnersync.h"

#include "app/state/app.h"
#include "app/training/dailyreview.h"
#include "app/training/profilecounters.h"
#include "core/shell/mergedcopies.h"
#include "core/training/learner.h"
#include "core/training/profilefile.h"
#include "core/training/trainingchoices.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <optional>
#include <vector>

namespace {

void tellNotMerged(App& app, const QString& copy, const FileError& error) {
    app.ui.requesters().message(dialogParent(app), app.texts.text(MainText::Profile),
                                app.texts.text(MessageText::ConflictCopyNotMerged)
                                    .arg(copy, fileErrorText(app.texts, error)));
}

std::vector<QString> copiesOf(const QString& path) {
    const QFileInfo file(path);
    return conflictCopiesOf(file.path() + QLatin1Char('/'), file.fileName());
}

void setAside(App& app, const std::vector<QString>& copies, const QDate& today) {
    for (const QString& copy : copies) {
        if (const FileResult<QString> aside = setMergedCopyAside(copy, today); !aside) {
            tellNotMerged(app, copy, aside.error());
        }
    }
}

// Training choices are settings, not history: the ones chosen last count.
void takeLatestChoices(App& app, const QDate& today) {
    const QString path = learnerFilePath(app, TrainingChoicesSuffix);
    const std::vector<QString> copies = copiesOf(path);
    if (copies.empty()) {
        return;
    }
    const FileResult<bool> taken = takeLatestCopy(path, copies, [](const QByteArray& bytes) {
        return parseTrainingChoices(bytes).has_value();
    });
    if (!taken) {
        tellNotMerged(app, path, taken.error());
        return;
    }
    setAside(app, copies, today);
}

// The profile's kanji with no answers counted: the merged log is the whole truth of both
// machines' counters, and counters of either file would count its answers twice.
ProfileList uncountedProfile(const App& app, const std::vector<ProfileRecord>& records) {
    ProfileList profile;
    for (const ProfileRecord& record : records) {
        profile.records.push_back(ProfileRecord{record.Code, {}, {}, {}, {}});
    }
    mergeDuplicateRecords(profile);
    syncProfile(profile, app.kanjiSet);
    return profile;
}

// The copies' histories, undos included, added to batch; the copies read are added to merged.
void readCopies(App& app, const std::vector<QString>& copies, std::vector<ReviewEntry>& batch,
                std::vector<QString>& merged) {
    for (const QString& copy : copies) {
        FileResult<std::vector<ReviewEntry>> history = readReviewHistory(copy);
        if (!history) {
            tellNotMerged(app, copy, history.error());
            continue;
        }
        batch.insert(batch.end(), history->begin(), history->end());
        merged.push_back(copy);
    }
}

// The log united with batch and the profile's counters rebuilt from it and saved; nothing when
// that failed (told).
std::optional<std::vector<ProfileRecord>> uniteLog(App& app,
                                                   const std::vector<ProfileRecord>& profile,
                                                   std::vector<ReviewEntry> batch) {
    const QString log = learnerFilePath(app, ReviewLogSuffix);
    LoadedLearner loaded =
        Learner::load({log, learnerFilePath(app, TrainingChoicesSuffix)},
                      uncountedProfile(app, profile), app.ui.localNow().timeZone());
    if (loaded.learner.logBroken()) {
        tellNotMerged(app, log, loaded.report.problems.back().error);
        return std::nullopt;
    }
    if (const FileResult<MergeOutcome> united = loaded.learner.merge(std::move(batch)); !united) {
        tellNotMerged(app, log, united.error());
        return std::nullopt;
    }
    app.sync.log = fileIdentityOf(log);
    const QString profilePath = profileFilePath(app);
    std::vector<ProfileRecord> records = loaded.learner.profile().records;
    if (const FileResult<void> saved = saveFileAtomically(profilePath, writeProfileFile(records));
        !saved) {
        // The united log holds every answer; the profile is rebuilt from it at the next merge.
        tellNotMerged(app, profilePath, saved.error());
        return std::nullopt;
    }
    return records;
}

// Unites the log with the copies of log and profile and with ownEntries, and sets the copies
// aside; the rebuilt profile, or nothing when there was nothing to merge or it failed.
std::optional<std::vector<ProfileRecord>> mergeCopies(App& app,
                                                      const std::vector<ProfileRecord>& profile,
                                                      std::vector<ReviewEntry> ownEntries,
                                                      bool logReplaced) {
    const QDate today = app.ui.localNow().date();
    const std::vector<QString> logCopies = copiesOf(learnerFilePath(app, ReviewLogSuffix));
    const std::vector<QString> profileCopies = copiesOf(profileFilePath(app));
    if (logCopies.empty() && profileCopies.empty() && !logReplaced) {
        return std::nullopt;
    }
    // Without any log the counters of the profile and its copies come from no history: the
    // file's own stay, as the engine chose them.
    if (logCopies.empty() && ownEntries.empty() &&
        !QFileInfo::exists(learnerFilePath(app, ReviewLogSuffix))) {
        setAside(app, profileCopies, today);
        return std::nullopt;
    }
    std::vector<QString> merged;
    readCopies(app, logCopies, ownEntries, merged);
    std::optional<std::vector<ProfileRecord>> rebuilt =
        uniteLog(app, profile, std::move(ownEntries));
    if (rebuilt) {
        setAside(app, merged, today);
        setAside(app, profileCopies, today);
    }
    return rebuilt;
}

}  // namespace

FileIdentity fileIdentityOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return {};
    }
    return {quint64(status.st_dev), quint64(status.st_ino), true};
}

void mergeLearnerConflictCopies(App& app, ProfileRead& read) {
    if (app.profile.profileName.isEmpty() || app.setName.isEmpty()) {
        return;
    }
    const QDate today = app.ui.localNow().date();
    takeLatestChoices(app, today);
    // A profile file that is there but cannot be read is kept for the learner to look at.
    if (read || read.error().kind == FileErrorKind::NotFound) {
        const std::vector<ProfileRecord> none;
        if (std::optional<std::vector<ProfileRecord>> rebuilt =
                mergeCopies(app, read ? read->records : none, {}, false)) {
            read = ProfileFileContent{std::move(*rebuilt), true};
        }
    }
    removeExpiredMergedCopies(app.paths.mediaDir + app.setName + QLatin1Char('/'), today);
    app.sync.log = fileIdentityOf(learnerFilePath(app, ReviewLogSuffix));
    app.sync.logReplaced = false;
}

void noticeReplacedLog(App& app) {
    if (!app.memory.active) {
        return;
    }
    const FileIdentity now = fileIdentityOf(learnerFilePath(app, ReviewLogSuffix));
    if (now == app.sync.log) {
        return;
    }
    // A log this program began itself since it last looked is its own.
    if (app.sync.log.exists || !app.memory.log) {
        app.sync.logReplaced = true;
        // The next answers go to the new file, which the writer opens again.
        syncLearnerMemory(app);
        app.memory.log.reset();
    }
    app.sync.log = now;
}

void mergeLearnerWhileOpen(App& app) {
    if (!app.memory.active || app.profile.onHold) {
        return;
    }
    if (fileIdentityOf(learnerFilePath(app, ReviewLogSuffix)) != app.sync.log) {
        app.sync.logReplaced = true;
    }
    const bool logReplaced = std::exchange(app.sync.logReplaced, false);
    if (!logReplaced && copiesOf(learnerFilePath(app, ReviewLogSuffix)).empty() &&
        copiesOf(profileFilePath(app)).empty() &&
        copiesOf(learnerFilePath(app, TrainingChoicesSuffix)).empty()) {
        return;
    }
    takeLatestChoices(app, app.ui.localNow().date());
    syncLearnerMemory(app);
    // Everything this machine's log held and what was appended since, seeds of a log not yet
    // begun left out: they are made again from the rebuilt counters.
    std::vector<ReviewEntry> own;
    if (app.memory.opened && !app.memory.seedsUnwritten && !app.memory.logBroken) {
        own = app.memory.entries;
    }
    closeLearnerMemory(app);
    std::optional<std::vector<ProfileRecord>> rebuilt =
        mergeCopies(app, app.profile.profileList.records, std::move(own), logReplaced);
    if (rebuilt) {
        const ProfileRecord* current = app.profile.profileList.currentRecord();
        const qint32 currentCode = current ? current->Code : 0;
        app.profile.profileList.records = std::move(*rebuilt);
        if (!findProfileRecord(app.profile.profileList, currentCode)) {
            app.profile.profileList.current = -1;
        }
        showProfileCounters(app);
    }
    openLearnerMemory(app);
}
