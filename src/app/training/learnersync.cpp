// The files beside a profile after two machines changed them apart.
#include "app/training/learnersync.h"

#include "app/state/app.h"
#include "app/training/dailyreview.h"
#include "core/shell/mergedcopies.h"
#include "core/training/trainingchoices.h"

#include <QFileInfo>

namespace {

void tellNotMerged(App& app, const QString& copy, const FileError& error) {
    app.ui.requesters().message(dialogParent(app), app.texts.text(MainText::Profile),
                                app.texts.text(MessageText::ConflictCopyNotMerged)
                                    .arg(copy, fileErrorText(app.texts, error)));
}

// Training choices are settings, not history: the ones chosen last count.
void takeLatestChoices(App& app, const QDate& today) {
    const QString path = learnerFilePath(app, TrainingChoicesSuffix);
    const QFileInfo file(path);
    const std::vector<QString> copies =
        conflictCopiesOf(file.path() + QLatin1Char('/'), file.fileName());
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
    for (const QString& copy : copies) {
        if (const FileResult<QString> aside = setMergedCopyAside(copy, today); !aside) {
            tellNotMerged(app, copy, aside.error());
        }
    }
}

}  // namespace

void mergeLearnerConflictCopies(App& app) {
    if (app.profile.profileName.isEmpty() || app.setName.isEmpty()) {
        return;
    }
    const QDate today = app.ui.localNow().date();
    takeLatestChoices(app, today);
    removeExpiredMergedCopies(app.paths.mediaDir + app.setName + QLatin1Char('/'), today);
}
