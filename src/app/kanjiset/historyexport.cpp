// The review log of the profile in use written as FSRS's CSV.
#include "app/kanjiset/historyexport.h"

#include "app/state/app.h"
#include "app/training/dailyreview.h"
#include "base/files.h"
#include "core/review/fsrsexport.h"
#include "core/training/reviewlog.h"
#include "core/training/trainingchoices.h"

#include <QFileInfo>

void exportReviewHistory(App& app) {
    const QString title = app.texts.text(MessageText::FsrsExportTitle);
    if (!app.learner.active()) {
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
    // The log with undone answers left out; a profile whose log has not begun has no single
    // answers yet.
    const FileResult<std::vector<ReviewEntry>> history = app.learner.history();
    if (!history) {
        app.ui.requesters().message(dialogParent(app), title,
                                    app.texts.text(MessageText::ImportUnreadable)
                                        .arg(learnerFilePath(app, ReviewLogSuffix),
                                             fileErrorText(app.texts, history.error())));
        return;
    }
    const QByteArray csv = fsrsReviewCsv(*history);
    if (const auto saved = saveFileAtomically(path, csv); !saved) {
        app.ui.requesters().message(dialogParent(app), title,
                                    app.texts.text(MessageText::ExportFailed)
                                        .arg(path, fileErrorText(app.texts, saved.error())));
    }
}
