// The German JLPT set offered in place of an unchanged English one.
#include "app/shell/germanset.h"

#include "app/kanjiset/setcommands.h"
#include "app/state/app.h"
#include "app/training/profilecommands.h"
#include "base/files.h"
#include "core/kanjiset/setfile.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QStringList>

namespace {

// The shipped set is about 2 MB; a learner's own set named JLPT may be larger and is then
// simply not the shipped one.
constexpr qint64 MaxSetBytes = qint64(64) << 20;
constexpr qint64 MaxChecksumBytes = qint64(64) << 10;

bool isShippedEnglishSet(const QByteArray& set, const QByteArray& checksums) {
    const QByteArray digest = QCryptographicHash::hash(set, QCryptographicHash::Sha256).toHex();
    for (const QByteArray& line : checksums.split('\n')) {
        if (line.trimmed().split(' ').value(0) == digest) {
            return true;
        }
    }
    return false;
}

}  // namespace

void offerGermanSet(App& app) {
    const QString media = app.paths.mediaDir;
    const QString target = media + QStringLiteral("JLPT.rki");
    if (QFileInfo::exists(media + GermanSetOffered)) {
        return;
    }
    const FileResult<QByteArray> shipped = readWholeFile(media + ShippedJlptSet, MaxSetBytes);
    const FileResult<QByteArray> checksums =
        readWholeFile(media + EnglishJlptChecksums, MaxChecksumBytes);
    const FileResult<QByteArray> current = readWholeFile(target, MaxSetBytes);
    if (!shipped || !checksums || !current || *current == *shipped ||
        !isShippedEnglishSet(*current, *checksums)) {
        return;
    }
    const bool take = app.ui.requesters().yesNo(dialogParent(app), app.windowTitle,
                                                app.texts.text(MessageText::GermanSetQuestion));
    // Asked once: a learner who keeps the English set is not asked at every start. Should the
    // mark not be written, the worst is the same question at the next start.
    (void)saveFileAtomically(media + GermanSetOffered, QByteArray("asked\n"));
    if (!take) {
        return;
    }
    if (const FileResult<void> saved = saveFileAtomically(target, *shipped); !saved) {
        app.ui.requesters().message(dialogParent(app), app.windowTitle,
                                    app.texts.text(MessageText::SaveFailed)
                                        .arg(target, fileErrorText(app.texts, saved.error())));
        return;
    }
    if (app.setName == QStringLiteral("JLPT")) {
        // The profile is keyed by kanji, so it fits the German set as it fitted the English one.
        openSet(app, readSetFile(setFilePath(app)));
        if (!app.profile.profileName.isEmpty()) {
            loadProfile(app);
        }
    }
}
