// Commands on single kanji of the open set: a new one, deleting one, and while editing, entering
// its character and choosing its stroke-order picture.
#include "app/kanjiset/kanjicommands.h"

#include "app/kanjiset/cardview.h"
#include "app/kanjiset/setcommands.h"
#include "app/kanjiset/viewmode.h"
#include "app/state/app.h"
#include "app/state/cardids.h"
#include "app/state/pictures.h"
#include "app/training/trainingrun.h"
#include "base/files.h"
#include "core/kanjiset/kanjisetops.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

void newKanji(App& app) {
    if (app.viewMode == ViewMode::Editing) {
        // The kanji being edited gets what was typed for it, never the new one.
        setViewMode(app, ViewMode::Overview);
    }
    // A new set holds one blank record in place of its first kanji; that kanji fills it.
    std::vector<KanjiRecord>& records = app.kanjiSet.records;
    const bool onlyBlank = !records.empty() && std::all_of(records.begin(), records.end(), isBlank);
    if (!onlyBlank) {
        records.insert(records.begin(), KanjiRecord{});
    }
    app.kanjiSet.current = 0;
    refreshSet(app);
    setViewMode(app, ViewMode::Editing);
    app.mainWindow->setText(IndexField, QString::number(app.kanjiSet.size()));
}

void deleteKanji(App& app) {
    const KanjiRecord* record = app.kanjiSet.currentRecord();
    if (record == nullptr) {
        return;
    }
    const QString question = app.texts.text(MessageText::DeleteKanjiQuestion)
                                 .arg(QString::number(record->Idx1), record->OnYomi);
    if (!app.ui.requesters().yesNo(dialogParent(app), app.texts.text(MainText::DeleteKanji),
                                   question)) {
        return;
    }
    // Left first, so that what was typed on the card is not committed to the next kanji.
    if (app.viewMode == ViewMode::Editing) {
        setViewMode(app, ViewMode::Overview);
    }
    const qint32 code = app.kanjiSet.currentRecord()->Unicode;
    removeKanji(app.kanjiSet, app.kanjiSet.current);
    refreshSet(app);
    dropQuestionsOf(app, code);
}

void enterKanjiCharacter(App& app) {
    KanjiRecord* record = app.kanjiSet.currentRecord();
    if (record == nullptr) {
        return;
    }
    const std::optional<QString> answer =
        app.ui.requesters().inputLine(dialogParent(app), app.texts.text(MainText::Kanji),
                                      app.texts.text(MessageText::KanjiPrompt));
    if (!answer || answer->isEmpty()) {
        return;
    }
    // The whole first character, also one beyond U+FFFF.
    const QList<uint> characters = answer->toUcs4();
    const qint32 code = characters.isEmpty() ? 0 : static_cast<qint32>(characters.front());
    record->Unicode = code;
    if (code > 0) {
        app.mainWindow->setImage(KanjiView, app.pictures.kanji(code, app.resources.kanjiFont));
        app.mainWindow->setText(UnicodeField, QString::number(code));
    }
}

void chooseStrokeImage(App& app) {
    KanjiRecord* record = app.kanjiSet.currentRecord();
    if (record == nullptr) {
        return;
    }
    const std::optional<QString> chosen = app.ui.requesters().openFile(
        dialogParent(app), app.texts.text(MessageText::StrokeImageTitle), app.paths.lastImageDir,
        app.texts.text(MessageText::StrokeImageFilter));
    if (!chosen) {
        return;
    }
    const QString name = QString::number(record->Unicode) + QStringLiteral(".png");
    const QString target = strokeStripFolder(app) + name;
    QDir().mkpath(strokeStripFolder(app));
    // Copied whole and atomically: a failed copy leaves no half picture and the kanji unchanged.
    const auto bytes = readWholeFile(*chosen);
    const FileResult<void> copied =
        bytes ? saveFileAtomically(target, *bytes) : FileResult<void>(unexpected(bytes.error()));
    if (!copied) {
        app.ui.requesters().message(dialogParent(app),
                                    app.texts.text(MessageText::StrokeImageTitle),
                                    app.texts.text(MessageText::StrokeImageCopyFailed)
                                        .arg(target, fileErrorText(app.texts, copied.error())));
        return;
    }
    record->Anim = name;
    // The same file name may now hold another picture.
    app.pictures.drop(record->Unicode);
    app.paths.lastImageDir = QFileInfo(*chosen).absolutePath() + QLatin1Char('/');
    animationFirstFrame(app);
}
