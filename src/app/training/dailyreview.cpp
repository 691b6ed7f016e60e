// The daily review of the profile in use: its answers logged as they are given, the memory of
// each kanji and kind replayed from the log, what is due, and the learner's training choices.
#include "app/training/dailyreview.h"

#include "app/state/app.h"
#include "app/state/trainingids.h"
#include "app/training/trainingsettings.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int RunStatusField = 4;

qint64 utcNow(const App& app) {
    return app.ui.localNow().toSecsSinceEpoch();
}

QTimeZone localZone(const App& app) {
    return app.ui.localNow().timeZone();
}

void tell(App& app, const QString& text) {
    app.ui.requesters().message(dialogParent(app), app.texts.text(MainText::Profile), text);
}

// A log that cannot be read is never written over: the learner is told, and this run keeps its
// answers in memory only.
void logUnusable(App& app, const QString& path, const FileError& error) {
    app.memory.log.reset();
    app.memory.logBroken = true;
    tell(app,
         app.texts.text(MessageText::ReviewLogFailed).arg(path, fileErrorText(app.texts, error)));
}

// The damaged log goes aside under ".bak", replacing an older one, so the next answer starts a
// new log without losing what the damaged one holds.
bool putDamagedLogAside(App& app, const QString& path) {
    const QString backup = path + QStringLiteral(".bak");
    QFile::remove(backup);
    QFile file(path);
    if (!file.rename(backup)) {
        logUnusable(app, path, FileError{FileErrorKind::Other, file.errorString()});
        return false;
    }
    tell(app, app.texts.text(MessageText::ReviewLogDamaged).arg(path, backup));
    return true;
}

void readChoices(App& app) {
    LearnerMemory& memory = app.memory;
    const QString path = learnerFilePath(app, TrainingChoicesSuffix);
    FileResult<TrainingChoices> read = readTrainingChoices(path);
    if (read) {
        memory.choices = std::move(*read);
        memory.choicesKept = true;
        return;
    }
    memory.choices = {};
    // A damaged file is kept for a look; the learner's next choices make a new one.
    memory.choicesKept = false;
    if (read.error().kind == FileErrorKind::Malformed) {
        QFile::remove(path + QStringLiteral(".bak"));
        QFile::rename(path, path + QStringLiteral(".bak"));
    }
}

void replay(LearnerMemory& memory) {
    memory.model = MemoryModel(memory.choices.parameters.value_or(DefaultMemoryParameters));
    memory.states = replayReviews(memory.entries, memory.model);
}

// The log file itself, opened on the first answer so that a profile nobody trains writes
// nothing; a new log starts with the seeds of the profile's counters.
bool ensureLogOpen(App& app) {
    LearnerMemory& memory = app.memory;
    if (memory.log) {
        return true;
    }
    if (memory.logBroken) {
        return false;
    }
    const QString path = learnerFilePath(app, ReviewLogSuffix);
    FileResult<ReviewLogWriter> opened = ReviewLogWriter::open(path);
    if (!opened) {
        logUnusable(app, path, opened.error());
        return false;
    }
    memory.log = std::move(*opened);
    if (memory.seedsUnwritten) {
        if (const FileResult<void> seeded = memory.log->append(memory.entries); !seeded) {
            logUnusable(app, path, seeded.error());
            return false;
        }
        memory.seedsUnwritten = false;
    }
    return true;
}

QString nextReviewText(const App& app, qint64 due) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(due, localZone(app));
    return app.texts.text(MessageText::NextReviewAt)
        .arg(local.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
}

}  // namespace

QString learnerFilePath(const App& app, const char* suffix) {
    return app.paths.mediaDir + app.setName + QLatin1Char('/') + app.profile.profileName +
           QLatin1String(suffix);
}

void openLearnerMemory(App& app) {
    closeLearnerMemory(app);
    app.memory.active = !app.profile.profileName.isEmpty() && !app.profile.onHold;
}

void prepareLearnerMemory(App& app) {
    LearnerMemory& memory = app.memory;
    if (!memory.active || memory.opened) {
        return;
    }
    memory.opened = true;
    readChoices(app);
    const QString path = learnerFilePath(app, ReviewLogSuffix);
    FileResult<ReviewLogContent> read = readReviewLog(path);
    if (read) {
        memory.entries = std::move(read->entries);
    } else if (read.error().kind == FileErrorKind::NotFound ||
               (read.error().kind == FileErrorKind::Malformed && putDamagedLogAside(app, path))) {
        // The counters of a profile kept before its log began are where the replay starts.
        memory.entries = seedEntries(app.profile.profileList, localZone(app));
        memory.seedsUnwritten = !memory.entries.empty();
    } else if (!memory.logBroken) {
        logUnusable(app, path, read.error());
    }
    replay(memory);
}

void closeLearnerMemory(App& app) {
    syncLearnerMemory(app);
    app.memory = {};
}

void recordReview(App& app, qint32 code, AnswerKind kind, Grade result) {
    prepareLearnerMemory(app);
    LearnerMemory& memory = app.memory;
    if (!memory.active) {
        return;
    }
    const ReviewEntry entry = answerEntry(utcNow(app), code, kind, result);
    if (ensureLogOpen(app)) {
        if (const FileResult<void> appended = memory.log->append(entry); appended) {
            memory.unsynced = true;
        } else {
            logUnusable(app, learnerFilePath(app, ReviewLogSuffix), appended.error());
        }
    }
    memory.entries.push_back(entry);
    const Rating rating = ratingOf(entry.verdict);
    if (MemoryState* known = memory.states.find(code, kind)) {
        *known = memory.model.review(*known, rating, std::max(entry.time, known->lastReview));
    } else {
        memory.states.emplace(code, kind, memory.model.first(rating, entry.time));
    }
}

void syncLearnerMemory(App& app) {
    LearnerMemory& memory = app.memory;
    if (!memory.log || !memory.unsynced) {
        return;
    }
    memory.unsynced = false;
    if (const FileResult<void> synced = memory.log->sync(); !synced) {
        logUnusable(app, learnerFilePath(app, ReviewLogSuffix), synced.error());
    }
}

DueList dueListNow(App& app, AskedKinds asked) {
    prepareLearnerMemory(app);
    const LearnerMemory& memory = app.memory;
    const qint64 now = utcNow(app);
    DueOptions options;
    options.asked = asked;
    options.retention = memory.choices.retention;
    options.now = now;
    options.dayStart = learnerDayStart(now, localZone(app));
    options.newPerDay = memory.choices.newPerDay;
    return dueList(app.kanjiSet, memory.states, memory.model, options);
}

void showDueCounts(App& app, AskedKinds asked) {
    if (!app.mainWindow) {
        return;
    }
    ui::Window& w = *app.mainWindow;
    if (!app.memory.active) {
        w.setText(DueLabel, QString());
        return;
    }
    const DueList due = dueListNow(app, asked);
    const QString counts =
        app.texts.text(MessageText::DueCounts)
            .arg(QString::number(due.dueCount()), QString::number(due.newCount()));
    QString text = counts;
    if (due.dueCount() == 0 && due.nextDue) {
        text += QLatin1Char('\n') + nextReviewText(app, *due.nextDue);
    }
    w.setText(DueLabel, text);
    if (app.training.running()) {
        w.setStatusText(RunStatusField, counts);
    }
}

void keepTrainingChoices(App& app, const TrainingSettings& settings) {
    prepareLearnerMemory(app);
    LearnerMemory& memory = app.memory;
    if (!memory.active) {
        return;
    }
    memory.choices.settings = settings;
    memory.choicesKept = true;
    const QString path = learnerFilePath(app, TrainingChoicesSuffix);
    if (const FileResult<void> saved = saveTrainingChoices(path, memory.choices); !saved) {
        tell(app, app.texts.text(MessageText::TrainingChoicesSaveFailed)
                      .arg(path, fileErrorText(app.texts, saved.error())));
    }
}

void keepReviewChoices(App& app, double retention, qint32 newPerDay,
                       std::optional<MemoryParameters> parameters) {
    prepareLearnerMemory(app);
    LearnerMemory& memory = app.memory;
    if (!memory.active) {
        return;
    }
    if (!memory.choicesKept) {
        memory.choices.settings = defaultTrainingSettings(app);
    }
    memory.choices.retention = retention;
    memory.choices.newPerDay = newPerDay;
    memory.choices.parameters = parameters;
    replay(memory);
    keepTrainingChoices(app, memory.choices.settings);
}

void keepPrintChoice(App& app, const PrintChoice& choice) {
    prepareLearnerMemory(app);
    LearnerMemory& memory = app.memory;
    memory.choices.print = choice;
    if (!memory.active) {
        return;
    }
    if (!memory.choicesKept) {
        memory.choices.settings = defaultTrainingSettings(app);
    }
    keepTrainingChoices(app, memory.choices.settings);
}
