// The learner of the profile in use as the app holds it: loaded with the profile, its failures
// told, its answers made durable; what is due, and the learner's training choices.
#include "app/training/dailyreview.h"

#include "app/state/app.h"
#include "app/state/trainingids.h"
#include "app/training/trainingsettings.h"

#include <QDateTime>

namespace {

constexpr int RunStatusField = 4;

QTimeZone localZone(const App& app) {
    return app.ui.localNow().timeZone();
}

void tell(App& app, const QString& text) {
    app.ui.requesters().message(dialogParent(app), app.texts.text(MainText::Profile), text);
}

void tellProblem(App& app, const LearnerProblem& problem) {
    switch (problem.kind) {
        case LearnerProblem::Kind::LogDamaged:
            tell(app,
                 app.texts.text(MessageText::ReviewLogDamaged).arg(problem.path, problem.backup));
            break;
        case LearnerProblem::Kind::LogUnusable:
            tell(app, app.texts.text(MessageText::ReviewLogFailed)
                          .arg(problem.path, fileErrorText(app.texts, problem.error)));
            break;
        case LearnerProblem::Kind::ChoicesDamaged:
            // Kept as .bak; the defaults serve until the learner's next choices make a new file.
            break;
    }
}

// Keeps the choices in the learner and, with a profile in use, in the file beside it.
void keepChoices(App& app, const TrainingChoices& choices) {
    if (const FileResult<void> saved = app.learner.keepChoices(choices); !saved) {
        tell(app, app.texts.text(MessageText::TrainingChoicesSaveFailed)
                      .arg(learnerFilePath(app, TrainingChoicesSuffix),
                           fileErrorText(app.texts, saved.error())));
    }
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

LearnerFiles learnerFiles(const App& app) {
    return {learnerFilePath(app, ReviewLogSuffix), learnerFilePath(app, TrainingChoicesSuffix)};
}

void loadLearner(App& app, ProfileList profile, std::optional<LearnerReading> reading) {
    closeLearner(app);
    if (app.profile.profileName.isEmpty() || app.profile.onHold) {
        app.learner.profile() = std::move(profile);
        // What a reading ahead met is told all the same: a damaged log went aside meanwhile.
        if (reading) {
            for (const LearnerProblem& problem : reading->problems) {
                tellProblem(app, problem);
            }
        }
        return;
    }
    if (!reading) {
        reading = Learner::read(learnerFiles(app));
    }
    LoadedLearner loaded = Learner::load(std::move(*reading), std::move(profile), localZone(app));
    app.learner = std::move(loaded.learner);
    for (const LearnerProblem& problem : loaded.report.problems) {
        tellProblem(app, problem);
    }
}

void closeLearner(App& app) {
    syncLearner(app);
    app.learner = Learner{};
}

void syncLearner(App& app) {
    if (const FileResult<void> synced = app.learner.sync(); !synced) {
        tellLogFailure(app, synced.error());
    }
}

void tellLogFailure(App& app, const FileError& error) {
    tell(app, app.texts.text(MessageText::ReviewLogFailed)
                  .arg(learnerFilePath(app, ReviewLogSuffix), fileErrorText(app.texts, error)));
}

DueList dueListNow(App& app, AskedKinds asked) {
    return learnerDueList(app.learner, app.kanjiSet, asked, app.ui.localNow());
}

void showDueCounts(App& app, AskedKinds asked) {
    paintDueCounts(app, app.learner.active()
                            ? dueCounts(app.learner, app.kanjiSet, asked, app.ui.localNow())
                            : DueCounts{});
}

void paintDueCounts(App& app, const DueCounts& due) {
    if (!app.mainWindow) {
        return;
    }
    ui::Window& w = *app.mainWindow;
    if (!app.learner.active()) {
        w.setText(DueLabel, QString());
        return;
    }
    const QString counts = app.texts.text(MessageText::DueCounts)
                               .arg(QString::number(due.due), QString::number(due.fresh));
    QString text = counts;
    if (due.due == 0 && due.nextDue) {
        text += QLatin1Char('\n') + nextReviewText(app, *due.nextDue);
    }
    w.setText(DueLabel, text);
    if (app.training.running()) {
        w.setStatusText(RunStatusField, counts);
    }
}

void keepTrainingChoices(App& app, const TrainingSettings& settings) {
    if (!app.learner.active()) {
        return;
    }
    TrainingChoices choices = app.learner.choices();
    choices.settings = settings;
    keepChoices(app, choices);
}

void keepReviewChoices(App& app, double retention, qint32 newPerDay,
                       std::optional<MemoryParameters> parameters, qint32 budget,
                       bool budgetInMinutes) {
    if (!app.learner.active()) {
        return;
    }
    TrainingChoices choices = app.learner.choices();
    if (!app.learner.choicesKept()) {
        choices.settings = defaultTrainingSettings(app);
    }
    choices.retention = retention;
    choices.newPerDay = newPerDay;
    choices.parameters = parameters;
    choices.budget = budget;
    choices.budgetInMinutes = budgetInMinutes;
    keepChoices(app, choices);
}

void keepPrintChoice(App& app, const PrintChoice& choice) {
    TrainingChoices choices = app.learner.choices();
    choices.print = choice;
    if (app.learner.active() && !app.learner.choicesKept()) {
        choices.settings = defaultTrainingSettings(app);
    }
    keepChoices(app, choices);
}

void keepLenientTypos(App& app, bool lenient) {
    TrainingChoices choices = app.learner.choices();
    choices.lenientTypos = lenient;
    if (app.learner.active() && !app.learner.choicesKept()) {
        choices.settings = defaultTrainingSettings(app);
    }
    keepChoices(app, choices);
}
