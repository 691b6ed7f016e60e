// Start-up and shutdown in their fixed order.
#include "app/shell/startup.h"

#include "app/kanjiset/cardview.h"
#include "app/kanjiset/setcommands.h"
#include "app/shell/germanset.h"
#include "app/shell/mainloop.h"
#include "app/shell/mainwindow.h"
#include "app/shell/setreadahead.h"
#include "app/state/app.h"
#include "app/training/dailyreview.h"
#include "app/training/profilecommands.h"
#include "core/kanjiset/genshilist.h"
#include "core/kanjiset/setname.h"
#include "core/shell/preferences.h"
#include "ui/images.h"
#include "ui/quickstyle.h"

#include <future>
#include <optional>
#include <vector>

namespace {

const char* const ControlIconFiles[ControlIconCount] = {
    "Sound.ico", "2left.ico", "1left.ico", "1right.ico", "2right.ico", "Start.ico",
    "stop.ico",  "pause.ico", "Wrong.ico", "Partly.ico", "ok.ico"};

QString preferencePath(const App& app) {
    return app.paths.workDir + QStringLiteral("Renkari.pref");
}

// The pictures a worker drew go into the cache the card draws from.
void keepPicturesDrawnAhead(App& app, FirstCard card) {
    const qint32 code = card.record.Unicode;
    if (!card.kanji.isNull()) {
        app.pictures.keepKanji(code, std::move(card.kanji));
    }
    if (!card.strip.image.isNull()) {
        app.pictures.keepStrip(code, std::move(card.strip));
    }
}

// The card shows the first kanji of a set still being read as the one kanji of a set; the whole
// set takes its place when it comes.
void showAheadOfItsSet(App& app, FirstCard first) {
    app.kanjiSet.records.assign(1, first.record);
    keepPicturesDrawnAhead(app, std::move(first));
    showKanji(app, 0);
}

// Thousands of records take milliseconds to free: a worker frees them while the window is torn
// down.
void closeWindowAndSet(App& app) {
    auto freed = std::async(std::launch::async | std::launch::deferred,
                            [records = std::move(app.kanjiSet.records)]() mutable {
                                std::vector<KanjiRecord>().swap(records);
                            });
    app.kanjiSet = {};
    app.mainWindow.reset();
    freed.wait();
}

}  // namespace

void initialiseApp(App& app, const QString& workDir) {
    app.paths.workDir = workDir.endsWith(QLatin1Char('/')) ? workDir : workDir + QLatin1Char('/');
    app.paths.mediaDir = app.paths.workDir + QStringLiteral("Media/");
    app.handwriting.setStrokeFile(app.paths.mediaDir + QStringLiteral("Strokes/KanjiVG.strokes"));
    app.windowTitle = QStringLiteral("Renkari");
    app.paths.importPath = app.paths.workDir;
    app.paths.exportPath = app.paths.workDir;

    app.viewMode = ViewMode::Overview;
    app.animation.animFrameDelay = 1000;
    app.training.trainingPos = -1;
    app.resources.quoteColours = {QColor(0xFF, 0xC4, 0xC4), QColor(0xFF, 0xE4, 0xCA),
                                  QColor(0xFF, 0xFF, 0xC1), QColor(0xFF, 0xFF, 0xFF),
                                  QColor(0xE1, 0xFF, 0xE1), QColor(0xB7, 0xFF, 0xB7)};

    ui::registerFontSubstitutions();
    ui::useCompactInterfaceFont();
    ui::useQuickStyle();
    app.resources.kanjiFont = ui::fontByPoints(QStringLiteral("MS Mincho"), 100);
    app.resources.genshiFont = ui::fontByPixels(QStringLiteral("HDZB_27"), 20);
    // Proportional, as the same fields hold romaji and German words.
    app.resources.kanaFont = ui::fontByPixels(QStringLiteral("IPAPGothic"), 18);
    app.resources.listKanjiFont = ui::fontByPixels(QStringLiteral("IPAGothic"), 22);
    app.resources.listTextFont = ui::fontByPixels(QStringLiteral("IPAPGothic"), 22);
}

bool startUp(App& app) {
    const Preferences defaults{QString(), QString(), app.paths.importPath, app.paths.exportPath,
                               QString()};
    const Preferences prefs = readPreferencesFile(preferencePath(app), defaults).value_or(defaults);
    // A name that would reach outside the media folder is not followed; the user picks a set.
    app.setName = isUsableSetName(prefs.LastSet) ? prefs.LastSet : QString();
    app.lastSetRefused = app.setName != prefs.LastSet;
    app.profile.profileName =
        isUsableProfileInput(prefs.LastProfile) ? prefs.LastProfile : QString();
    app.paths.importPath = prefs.ImportPath;
    app.paths.exportPath = prefs.ExportPath;
    app.language = prefs.Language;
    SetReadAhead setRead;
    if (!app.setName.isEmpty()) {
        setRead.start(setFilePath(app),
                      {strokeStripFolder(app), app.resources.kanjiFont.family(),
                       app.resources.kanjiFont.pixelSize(), app.resources.fontConfiguration});
    }

    app.texts = fillTextTables(app.paths.workDir, app.language);
    // The built-in texts are German; a catalog names its language.
    app.resources.qtTranslation.use(app.language.isEmpty() ? QStringLiteral("de")
                                                           : ui::languageCodeOf(app.language));

    const QString controls = app.paths.workDir + QStringLiteral("Media/Controls/");
    for (int i = 0; i < ControlIconCount; ++i) {
        app.resources.controlIcons[static_cast<size_t>(i)] =
            ui::loadIco(controls + QLatin1String(ControlIconFiles[i])).value_or(QImage());
    }
    app.writingPad.writingCanvas = ui::createImage(160, 160);
    app.writingPad.writingCanvas.fill(Qt::white);
    app.genshiList =
        readGenshiListFile(app.paths.workDir + QStringLiteral("Media/Genshi/Genshiliste.txt"))
            .value_or({});

    // Until the font configuration is read nothing can be measured or drawn; the profile file
    // needs no fonts and is read meanwhile. It meets the set once that is read.
    const bool profileNamed = !app.profile.profileName.isEmpty();
    std::optional<ProfileRead> profile;
    // The learner's log is replayed on a worker meanwhile: a long history costs the start nothing.
    std::future<LearnerReading> learnerRead;
    if (setRead.started() && profileNamed) {
        profile = readProfile(profileFilePath(app));
        learnerRead = std::async(std::launch::async,
                                 [files = learnerFiles(app)] { return Learner::read(files); });
    }
    app.resources.fontConfiguration.wait();

    if (!buildMainWindow(app)) {
        return false;
    }
    // A set without strips of its own has them drawn from the stroke file, which is read first:
    // the learner sees the kanji at once and its strip with the main loop's first pass.
    app.animation.drawnStripWaits = true;
    // The window is drawn as soon as it is built, while the set may still be read. The set's
    // first kanji is shown as soon as it is known, the rest of the set after; known before the
    // window is drawn, it is in the window's first drawing. Readings and examples are in kana
    // and kanji, in a font of their own and, on the rest of the card, in the interface font,
    // which lacks them: the fonts that have them are found while the set may still be read.
    ui::prepareFontsFor(app.mainWindow->top()->font(), QStringLiteral("\u30AB\u304B\u6F22"));
    ui::prepareFontsFor(app.resources.kanaFont, QStringLiteral("\u30AB\u304B\u6F22"));
    using enum SetReadAhead::FirstRecordWait;
    std::optional<FirstCard> first = setRead.takeFirstRecord(IfAlreadyTold);
    if (first) {
        showAheadOfItsSet(app, std::move(*first));
    }
    app.ui.drawPending();
    if (setRead.started()) {
        if (!first) {
            first = setRead.takeFirstRecord(UntilTold);
            if (first) {
                showAheadOfItsSet(app, std::move(*first));
            }
        }
        ReadAhead read = setRead.take();
        if (read.first) {
            keepPicturesDrawnAhead(app, std::move(*read.first));
        }
        openSet(app, std::move(read.records));
        if (profile) {
            loadProfile(app, std::move(*profile), learnerRead.get());
        }
    } else {
        loadSet(app, true);
        if (profileNamed) {
            loadProfile(app);
        }
    }
    offerGermanSet(app);
    showKanji(app, 0);
    return true;
}

bool shutDown(App& app) {
    // The name comes first: the preferences remember it and the profile is saved in its folder.
    if (!nameSetBeforeEnd(app)) {
        app.loop.endRequested = false;
        return false;
    }
    // Without a set chosen instead, the refused name stays for the user to correct by hand.
    if (!(app.lastSetRefused && app.setName.isEmpty())) {
        const QString path = preferencePath(app);
        const FileResult<void> written =
            writePreferencesFile(path, {app.setName, app.profile.profileName, app.paths.importPath,
                                        app.paths.exportPath, app.language});
        if (!written) {
            app.ui.requesters().message(app.mainWindow ? app.mainWindow->top() : nullptr,
                                        app.texts.text(MainText::Settings),
                                        app.texts.text(MessageText::PreferencesSaveFailed)
                                            .arg(path, fileErrorText(app.texts, written.error())));
        }
    }
    if (!app.profile.profileName.isEmpty()) {
        saveProfile(app);
    }
    syncLearner(app);
    if (!saveSetBeforeEnd(app)) {
        app.loop.endRequested = false;
        return false;
    }
    closeWindowAndSet(app);
    return true;
}

int runRenkari(App& app, bool quitAfterStart) {
    if (!startUp(app)) {
        return 0;
    }
    if (quitAfterStart) {
        // The first kanji is drawn, then the program ends. Nobody has worked in it, so there is
        // nothing to save.
        app.ui.drawPending();
        closeWindowAndSet(app);
        return 0;
    }
    do {
        runMainLoop(app);
    } while (!shutDown(app));
    return 0;
}
