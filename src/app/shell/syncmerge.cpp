// The preference file after two machines saved it apart.
#include "app/shell/syncmerge.h"

#include "app/state/app.h"
#include "core/shell/mergedcopies.h"

#include <QFileInfo>

namespace {

// Told before the preferences name the learner's language, so in the built-in one.
void tellNotMerged(App& app, const QString& copy, const FileError& error) {
    const TextTables texts = builtInTexts();
    app.ui.requesters().message(
        dialogParent(app), texts.text(MainText::Settings),
        texts.text(MessageText::ConflictCopyNotMerged).arg(copy, fileErrorText(texts, error)));
}

}  // namespace

void takeLatestPreferences(App& app) {
    const QString name = QStringLiteral("Renkari.pref");
    const std::vector<QString> copies = conflictCopiesOf(app.paths.workDir, name);
    const QDate today = app.ui.localNow().date();
    if (!copies.empty()) {
        // Every preference file is readable: unknown lines are passed over.
        const QString path = app.paths.workDir + name;
        const FileResult<std::optional<QByteArray>> latest =
            latestCopyContent(path, copies, [](const QByteArray&) { return true; });
        if (!latest) {
            tellNotMerged(app, path, latest.error());
            return;
        }
        if (*latest) {
            if (const FileResult<void> saved = saveFileAtomically(path, **latest); !saved) {
                tellNotMerged(app, path, saved.error());
                return;
            }
        }
        for (const QString& copy : copies) {
            if (const FileResult<QString> aside = setMergedCopyAside(copy, today); !aside) {
                tellNotMerged(app, copy, aside.error());
            }
        }
    }
    removeExpiredMergedCopies(app.paths.workDir, today);
}

void useExistingFolders(Paths& paths) {
    for (QString* folder : {&paths.importPath, &paths.exportPath}) {
        if (!QFileInfo(*folder).isDir()) {
            *folder = paths.workDir;
        }
    }
}
