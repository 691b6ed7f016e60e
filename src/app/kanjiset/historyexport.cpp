// The review log of the profile in use written as FSRS's CSV.
#include "app/kanjiset/historyexport.h"

#include "app/state/app.h"
#include "app/training/dailyreview.h"
#include "base/files.h"
#include "core/review/fsrsexport.h"

#include <QFileInfo>

void exportReviewHistory(App& app) {
    const QString title = app.texts.text(MessageText::FsrsExportTitle);
    if (app.profile.profileName.isEmpty()) {
        app.ui.requesters().message(dialogParent(app), title,
                                    app.texts.text(MessageText::FsrsNoHistory));
        return;
    }
    const std::optional<QString> chosen =
        app.ui.requesters().saveFile(dialogParent(app), title, app.paths.exportPath,
                                     app.texts.text(MessageText::FsrsFileFilter));
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    QString path = *chosen;
    const QFileInfo file(path);
    if (file.suffix().isEmpty()) {
        path += QStringLiteral(".csv");
    }
    app.paths.exportPath = file.absolutePath() + u'/';
    // The log as read and answered so far in this run, seeds of an older profile included.
    prepareLearnerMemory(app);
    if (const auto saved = saveFileAtomically(path, fsrsReviewCsv(app.memory.entries)); !saved) {
        app.ui.requesters().message(dialogParent(app), title,
                                    app.texts.text(MessageText::ExportFailed)
                                        .arg(path, fileErrorText(app.texts, saved.error())));
    }
}
