// Set files merged with the conflict copies a sync engine left beside them.
#include "app/kanjiset/setsync.h"

#include "app/kanjiset/setcommands.h"
#include "app/state/app.h"
#include "base/files.h"
#include "core/kanjiset/kanjisetops.h"
#include "core/kanjiset/setmerge.h"
#include "core/shell/mergedcopies.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

std::optional<std::vector<KanjiRecord>> readBase(const App& app) {
    const QString path = setBasePath(app);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    SetFileRead base = readSetFile(path);
    return base ? std::optional(std::move(*base)) : std::nullopt;
}

QString kanjiList(const std::vector<qint32>& codes) {
    QStringList texts;
    for (const qint32 code : codes) {
        texts.append(kanjiText(code));
    }
    return texts.join(QLatin1Char(' '));
}

// What tells this machine's own last save: its SHA-1, beside the base.
QString ownSavePath(const QString& basePath) {
    return basePath + QStringLiteral(".saved");
}

QByteArray fingerprint(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

void tellNotMerged(App& app, const QString& copyPath, const FileError& error) {
    app.ui.requesters().message(dialogParent(app), app.texts.text(MainText::LoadSet),
                                app.texts.text(MessageText::ConflictCopyNotMerged)
                                    .arg(copyPath, fileErrorText(app.texts, error)));
}

}  // namespace

QString setBasePath(const App& app) {
    const QString folder = QFileInfo(app.paths.mediaDir).canonicalFilePath();
    if (folder.isEmpty() || app.setName.isEmpty()) {
        return {};
    }
    const QByteArray name =
        QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha1).toHex();
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QStringLiteral("/setbases/") + QLatin1String(name) + QLatin1Char('/') + app.setName +
           QStringLiteral(".rki");
}

// Without a base or with an older one the next merge only tells more kanji as changed on both
// sides; nothing of the set is at stake, so failures to keep them are not told.
void noteSetLoaded(App& app) {
    const FileResult<QByteArray> set = readWholeFile(setFilePath(app));
    app.sync.setFile = set ? fingerprint(*set) : QByteArray();
    const QString path = setBasePath(app);
    if (path.isEmpty()) {
        return;
    }
    if (!set || readWholeFile(ownSavePath(path)).value_or(QByteArray()) == fingerprint(*set) ||
        readWholeFile(path).value_or(QByteArray()) == *set) {
        return;
    }
    QDir().mkpath(QFileInfo(path).path());
    (void)saveFileAtomically(path, *set);
}

void noteSetSaved(App& app) {
    const FileResult<QByteArray> set = readWholeFile(setFilePath(app));
    app.sync.setFile = set ? fingerprint(*set) : QByteArray();
    const QString path = setBasePath(app);
    if (path.isEmpty() || !set) {
        return;
    }
    QDir().mkpath(QFileInfo(path).path());
    (void)saveFileAtomically(ownSavePath(path), fingerprint(*set));
}

SetFileRead mergeSetConflictCopies(App& app, SetFileRead read) {
    if (!read || app.setName.isEmpty()) {
        return read;
    }
    const std::vector<QString> copies =
        conflictCopiesOf(app.paths.mediaDir, app.setName + QStringLiteral(".rki"));
    if (copies.empty()) {
        return read;
    }
    const QDate today = app.ui.localNow().date();
    // Every copy is merged against the version they all started from, not the one merged before.
    const std::optional<std::vector<KanjiRecord>> base = readBase(app);
    std::vector<KanjiRecord> records = std::move(*read);
    for (const QString& copy : copies) {
        const SetFileRead other = readSetFile(copy);
        if (!other) {
            tellNotMerged(app, copy, other.error());
            continue;
        }
        SetMerge merged = mergeSets(base, records, *other);
        if (const FileResult<void> saved =
                saveFileAtomically(setFilePath(app), writeSetFile(merged.records));
            !saved) {
            tellNotMerged(app, copy, saved.error());
            break;
        }
        records = std::move(merged.records);
        const FileResult<QString> aside = setMergedCopyAside(copy, today);
        if (!aside) {
            tellNotMerged(app, copy, aside.error());
            break;
        }
        if (!merged.conflicts.empty()) {
            app.ui.requesters().message(
                dialogParent(app), app.texts.text(MainText::LoadSet),
                app.texts.text(MessageText::SetChangedOnBothSides)
                    .arg(app.setName, kanjiList(merged.conflicts), QFileInfo(*aside).fileName()));
        }
    }
    removeExpiredMergedCopies(app.paths.mediaDir, today);
    return records;
}

void mergeSetChangedOnDisk(App& app) {
    if (app.setName.isEmpty() || app.setNotRead || app.sync.setFile.isEmpty()) {
        return;
    }
    const QString path = setFilePath(app);
    const FileResult<QByteArray> bytes = readWholeFile(path);
    if (!bytes || fingerprint(*bytes) == app.sync.setFile) {
        return;
    }
    const std::optional<std::vector<KanjiRecord>> theirs = parseSetFile(*bytes);
    if (!theirs) {
        return;
    }
    // The other machine's version is kept for the learner to look at before it is replaced.
    const QString aside =
        path + QStringLiteral(".merged-") + app.ui.localNow().date().toString(u"yyyy-MM-dd");
    if (const FileResult<void> kept = saveFileAtomically(aside, *bytes); !kept) {
        tellNotMerged(app, path, kept.error());
        return;
    }
    const KanjiRecord* current = app.kanjiSet.currentRecord();
    const qint32 currentCode = current ? current->Unicode : 0;
    SetMerge merged = mergeSets(readBase(app), app.kanjiSet.records, *theirs);
    app.kanjiSet.records = std::move(merged.records);
    app.kanjiSet.current = std::max(0, findByCode(app.kanjiSet, currentCode));
    refreshSet(app);
    // What the other machine saved is what both had before this machine's edits go in.
    if (const QString base = setBasePath(app); !base.isEmpty()) {
        (void)saveFileAtomically(base, *bytes);
    }
    app.sync.setFile = fingerprint(*bytes);
    if (!merged.conflicts.empty()) {
        app.ui.requesters().message(
            dialogParent(app), app.texts.text(MainText::SaveSet),
            app.texts.text(MessageText::SetChangedOnBothSides)
                .arg(app.setName, kanjiList(merged.conflicts), QFileInfo(aside).fileName()));
    }
}
