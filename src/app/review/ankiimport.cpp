// "Importiere CSV" given an Anki package: the package read, the wizard, the kanji added and
// filled, the sounds and the history brought along, the outcome told.
#include "app/review/ankiwizard.h"

#include "app/kanjiset/examplesound.h"
#include "app/kanjiset/setcommands.h"
#include "app/state/app.h"
#include "app/training/dailyreview.h"
#include "core/review/ankihistory.h"
#include "core/review/ankinotes.h"
#include "core/training/profilerecord.h"
#include "core/training/trainingchoices.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>

namespace {

// The main window's status field the outcome goes to, and its width.
constexpr int OutcomeField = 2;
constexpr int OutcomeFieldWidth = 240;

QString reasonText(const TextTables& t, const AnkiError& error) {
    const auto with = [&](MessageText id) { return t.text(id).arg(error.detail); };
    switch (error.problem) {
        case AnkiProblem::File:
            return fileErrorText(t, error.file);
        case AnkiProblem::NotZip:
            return t.text(MessageText::AnkiNotZip);
        case AnkiProblem::MemberNamedLikePath:
            return with(MessageText::AnkiMemberNamedLikePath);
        case AnkiProblem::NoCollection:
            return with(MessageText::AnkiNoCollection);
        case AnkiProblem::NotSqlite:
            return with(MessageText::AnkiNotSqlite);
        case AnkiProblem::BadCollection:
            return with(MessageText::AnkiBadCollection);
        case AnkiProblem::BadStream:
            return with(MessageText::AnkiBadStream);
        case AnkiProblem::TooLarge:
            return with(MessageText::AnkiTooLarge);
        case AnkiProblem::NoRoom:
            return with(MessageText::AnkiNoRoom) +
                   (error.file.kind == FileErrorKind::NoSpace
                        ? QString()
                        : QStringLiteral(": ") + fileErrorText(t, error.file));
        case AnkiProblem::MediaNamedLikePath:
            return with(MessageText::AnkiMediaNamedLikePath);
        case AnkiProblem::TooManyFields:
            return with(MessageText::AnkiTooManyFields);
    }
    return t.text(MessageText::ReasonOther);
}

void tell(App& app, const QString& path, const QString& reason) {
    app.ui.requesters().message(
        dialogParent(app), app.texts.text(MessageText::AnkiTitle),
        app.texts.text(MessageText::AnkiUnreadable).arg(QDir::toNativeSeparators(path), reason));
}

// The sounds the new examples name, from the package into the set's Sounds folder; a file of
// that name already there is kept, as it may be the learner's own recording.
void copySounds(App& app, const AnkiPackage& package, const QStringList& names) {
    const QString folder = soundsFolder(app);
    for (const QString& name : names) {
        const AnkiMediaFile* media = package.mediaNamed(name);
        if (media == nullptr || QFileInfo::exists(folder + name)) {
            continue;
        }
        const AnkiResult<QByteArray> bytes = readAnkiMedia(package, *media);
        if (!bytes) {
            continue;
        }
        QDir().mkpath(folder);
        if (const FileResult<void> saved = saveFileAtomically(folder + name, *bytes); !saved) {
            app.ui.requesters().message(dialogParent(app), app.texts.text(MessageText::AnkiTitle),
                                        app.texts.text(MessageText::AnkiSoundNotSaved)
                                            .arg(name, fileErrorText(app.texts, saved.error())));
            return;
        }
    }
}

// The deck's answers go into the profile's log through the learner's merge, which leaves out
// what the log holds already and rebuilds the counters and the memory from it. The answers the
// log did not hold before, or nothing when the log could not take them (the learner is told why).
std::optional<qint32> takeHistory(App& app, std::vector<ReviewEntry> batch) {
    if (batch.empty()) {
        return 0;
    }
    const FileResult<MergeOutcome> merged = app.learner.merge(std::move(batch));
    if (!merged) {
        app.ui.requesters().message(dialogParent(app), app.texts.text(MessageText::AnkiTitle),
                                    app.texts.text(MessageText::AnkiHistoryFailed)
                                        .arg(learnerFilePath(app, ReviewLogSuffix),
                                             fileErrorText(app.texts, merged.error())));
        return std::nullopt;
    }
    return merged->added;
}

void tellOutcome(App& app, const QString& text) {
    if (!app.mainWindow) {
        return;
    }
    const QFontMetrics metrics(app.mainWindow->top()->font());
    if (metrics.horizontalAdvance(text) + 8 <= OutcomeFieldWidth) {
        app.mainWindow->setStatusText(OutcomeField, text);
        return;
    }
    app.mainWindow->setStatusText(OutcomeField, {});
    app.ui.requesters().message(dialogParent(app), app.texts.text(MessageText::AnkiTitle), text);
}

}  // namespace

void importAnkiPackage(App& app, const QString& path) {
    const AnkiResult<AnkiPackage> package = readAnkiPackage(path, QDir::tempPath());
    if (!package) {
        tell(app, path, reasonText(app.texts, package.error()));
        return;
    }
    if (package->collection.notes.empty() || package->collection.noteTypes.empty()) {
        tell(app, path, app.texts.text(MessageText::AnkiNoNotes));
        return;
    }
    const std::optional<AnkiChoice> choice = runAnkiWizard(app, *package);
    if (!choice) {
        return;
    }
    AnkiNoteRecords notes = ankiNoteRecords(package->collection, choice->noteType, choice->map);
    const int skipped = notes.skipped;
    const QHash<qint64, qint32> codeOfNote = std::move(notes.codeOfNote);
    const AnkiMergeOutcome outcome = addAnkiRecords(app.kanjiSet, std::move(notes.records));
    copySounds(app, *package, outcome.sounds);
    QString text = app.texts.text(MessageText::AnkiOutcome)
                       .arg(QString::number(outcome.added), QString::number(outcome.filled),
                            QString::number(skipped));
    if (app.learner.active()) {
        // The new kanji get their records first, so the history finds them.
        syncProfile(app.learner.profile(), app.kanjiSet);
        const AnkiNoteType* type = nullptr;
        for (const AnkiNoteType& t : package->collection.noteTypes) {
            type = t.id == choice->noteType ? &t : type;
        }
        const std::vector<TimedAnswer> answers =
            type ? ankiAnswers(package->collection, codeOfNote, type->templates, choice->kinds)
                 : std::vector<TimedAnswer>{};
        std::vector<ReviewEntry> batch;
        batch.reserve(answers.size());
        for (const TimedAnswer& answer : answers) {
            batch.push_back(reviewEntryOf(answer));
        }
        if (const std::optional<qint32> taken = takeHistory(app, std::move(batch))) {
            text += QStringLiteral("; ") +
                    app.texts.text(MessageText::AnkiAnswers).arg(QString::number(*taken));
        }
    }
    refreshSet(app);
    tellOutcome(app, text);
}
