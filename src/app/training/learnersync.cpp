// The files beside a profile after two machines changed them apart.
#include "app/training/learnersync.h"

#include "app/state/app.h"
#include "app/training/dailyreview.h"
#include "app/training/profilecommands.h"
#include "app/training/profilecounters.h"
#include "core/shell/mergedcopies.h"
#include "core/training/trainingchoices.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

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

QString logPath(const App& app) {
    return learnerFilePath(app, ReviewLogSuffix);
}

void setAside(App& app, const std::vector<QString>& copies) {
    const QDate today = app.ui.localNow().date();
    for (const QString& copy : copies) {
        if (const FileResult<QString> aside = setMergedCopyAside(copy, today); !aside) {
            tellNotMerged(app, copy, aside.error());
        }
    }
}

// Training choices are settings, not history: the ones chosen last count.
void takeLatestChoices(App& app) {
    const QString path = learnerFilePath(app, TrainingChoicesSuffix);
    const std::vector<QString> copies = copiesOf(path);
    if (copies.empty()) {
        return;
    }
    const FileResult<std::optional<QByteArray>> latest = latestCopyContent(
        path, copies,
        [](const QByteArray& bytes) { return parseTrainingChoices(bytes).has_value(); });
    if (!latest) {
        tellNotMerged(app, path, latest.error());
        return;
    }
    if (*latest) {
        if (const FileResult<void> kept =
                app.learner.keepChoices(parseTrainingChoices(**latest).value_or(TrainingChoices{}));
            !kept) {
            tellNotMerged(app, path, kept.error());
            return;
        }
    }
    setAside(app, copies);
}

// The merged log is the whole truth of both machines' counters: counters of either profile file
// would count their answers twice.
void forgetCounters(ProfileList& profile) {
    for (ProfileRecord& record : profile.records) {
        record = ProfileRecord{record.Code, {}, {}, {}, {}};
    }
}

// Unites the log with the copies of log and profile and with what this program appended to a
// log that was replaced; the copies are set aside once the united log and the rebuilt profile
// are saved.
void mergeIntoLog(App& app, bool logReplaced) {
    const std::vector<QString> logCopies = copiesOf(logPath(app));
    const std::vector<QString> profileCopies = copiesOf(profileFilePath(app));
    if (logCopies.empty() && profileCopies.empty() && !logReplaced) {
        return;
    }
    std::vector<ReviewEntry> batch = std::move(app.sync.appended);
    app.sync.appended.clear();
    std::vector<QString> merged;
    for (const QString& copy : logCopies) {
        FileResult<std::vector<ReviewEntry>> history = readReviewHistory(copy);
        if (!history) {
            tellNotMerged(app, copy, history.error());
            continue;
        }
        batch.insert(batch.end(), history->begin(), history->end());
        merged.push_back(copy);
    }
    // Without any log the profile's counters come from no history to rebuild them from: the
    // file's own stay, as the engine chose them.
    if (batch.empty() && !QFileInfo::exists(logPath(app))) {
        setAside(app, profileCopies);
        return;
    }
    forgetCounters(app.learner.profile());
    const FileResult<MergeOutcome> united = app.learner.merge(std::move(batch));
    app.sync.log = fileIdentityOf(logPath(app));
    if (!united) {
        tellNotMerged(app, logPath(app), united.error());
        return;
    }
    showProfileCounters(app);
    // The united log holds every answer; a profile that cannot be saved is rebuilt from it at
    // the next merge, and its copies stay.
    if (saveProfile(app)) {
        setAside(app, merged);
        setAside(app, profileCopies);
    }
}

}  // namespace

FileIdentity fileIdentityOf(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return {};
    }
    return {quint64(status.st_dev), quint64(status.st_ino), true};
}

void mergeLearnerConflictCopies(App& app) {
    app.sync.appended.clear();
    app.sync.log = fileIdentityOf(logPath(app));
    if (!app.learner.active() || app.setName.isEmpty()) {
        return;
    }
    takeLatestChoices(app);
    if (!app.learner.logBroken()) {
        mergeIntoLog(app, false);
    }
    removeExpiredMergedCopies(app.paths.mediaDir + app.setName + QLatin1Char('/'),
                              app.ui.localNow().date());
}

void followReplacedLog(App& app) {
    if (!app.learner.active() || app.learner.logBroken()) {
        return;
    }
    const FileIdentity now = fileIdentityOf(logPath(app));
    if (now == app.sync.log) {
        return;
    }
    // A log the learner began itself since this program last looked is its own.
    if (!app.sync.log.exists && app.sync.appended.empty()) {
        app.sync.log = now;
        return;
    }
    syncLearner(app);
    mergeIntoLog(app, true);
}

void noteAppended(App& app, const GradedQuestion& question) {
    if (!app.learner.active()) {
        return;
    }
    if (!app.sync.log.exists) {
        app.sync.log = fileIdentityOf(logPath(app));
    }
    for (const GradedAnswer& answer : question.answers) {
        app.sync.appended.push_back(answerEntry(question.time, question.code, answer.kind,
                                                answer.grade, question.durationMs));
    }
}

void mergeLearnerWhileOpen(App& app) {
    if (!app.learner.active() || app.learner.logBroken()) {
        return;
    }
    bool logReplaced = fileIdentityOf(logPath(app)) != app.sync.log;
    if (logReplaced && !app.sync.log.exists && app.sync.appended.empty()) {
        // The first log of a learner who has given no answer here came from the other machine:
        // read, not merged, as the learner holds nothing of its own to add.
        ProfileList records = app.learner.profile();
        loadLearner(app, std::move(records));
        app.sync.log = fileIdentityOf(logPath(app));
        showProfileCounters(app);
        logReplaced = false;
    }
    if (!logReplaced && copiesOf(logPath(app)).empty() && copiesOf(profileFilePath(app)).empty() &&
        copiesOf(learnerFilePath(app, TrainingChoicesSuffix)).empty()) {
        return;
    }
    syncLearner(app);
    takeLatestChoices(app);
    mergeIntoLog(app, logReplaced);
}
