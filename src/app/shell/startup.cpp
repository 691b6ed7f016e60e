// Start-up and shutdown in their fixed order.
#include "app/shell/startup.h"

#include "app/kanjiset/kanjiimage.h"
#include "app/kanjiset/setcommands.h"
#include "app/shell/app.h"
#include "app/shell/cardview.h"
#include "app/shell/mainloop.h"
#include "app/shell/mainwindow.h"
#include "app/training/profilecommands.h"
#include "core/kanjiset/genshilist.h"
#include "core/kanjiset/setname.h"
#include "core/shell/preferences.h"
#include "ui/framestyle.h"
#include "ui/images.h"

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <optional>

namespace {

const char* const ControlIconFiles[ControlIconCount] = {
    "Sound.ico", "2left.ico", "1left.ico", "1right.ico", "2right.ico", "Start.ico",
    "stop.ico",  "pause.ico", "Wrong.ico", "Partly.ico", "ok.ico"};

QString preferencePath(const App& app) {
    return app.paths.workDir + QStringLiteral("Renkari.pref");
}

// What a worker needs to draw the pictures of the kanji a set opens with, as plain values: a
// font object must not be shared between threads.
struct FirstCardSource {
    QString stripFolder;
    QString kanjiFamily;
    int kanjiPixelSize = 0;
};

// The card opens at the set's first record, wherever sorting moves it.
void drawFirstCardPictures(std::vector<KanjiRecord>& records, const FirstCardSource& source) {
    if (records.empty()) {
        return;
    }
    KanjiRecord& first = records.front();
    QFont font(source.kanjiFamily);
    font.setPixelSize(source.kanjiPixelSize);
    kanjiImageOf(first, font);
    // A strip drawn from reference strokes needs the stroke library, which the window loads.
    if (!first.Anim.isEmpty()) {
        QImage strip = ui::loadPng(source.stripFolder + first.Anim);
        if (!strip.isNull()) {
            first.StrokeImage = std::make_shared<QImage>(std::move(strip));
        }
    }
}

// A large set takes longer to read than the window takes to build: both happen at once. A
// worker done before the window waits for it also draws the first card's pictures; once the
// window waits, the window draws them. Where no thread can be started, the set is read when it
// is needed.
class SetReadAhead {
public:
    void start(const QString& path, FirstCardSource source) {
        auto firstSeen = std::make_shared<std::promise<std::optional<KanjiRecord>>>();
        first_ = firstSeen->get_future();
        records_ = std::async(std::launch::async | std::launch::deferred,
                              [path, source = std::move(source), awaited = awaited_, firstSeen] {
                                  bool told = false;
                                  SetFileRead read = readSetFile(
                                      path, [&told, &firstSeen](const KanjiRecord& first) {
                                          told = true;
                                          firstSeen->set_value(first);
                                      });
                                  if (!told) {
                                      firstSeen->set_value(std::nullopt);
                                  }
                                  if (read && !awaited->load()) {
                                      drawFirstCardPictures(*read, source);
                                  }
                                  return read;
                              });
    }
    bool started() const { return records_.valid(); }
    // A worker is still reading the set.
    bool reading() const {
        return started() &&
               records_.wait_for(std::chrono::seconds(0)) == std::future_status::timeout;
    }
    // The set's first record as soon as the worker has read it, for the window to show it and
    // draw its pictures; nothing for a set too small to be told ahead or one that is unreadable.
    std::optional<KanjiRecord> takeFirstRecord() {
        awaited_->store(true);
        return first_.get();
    }
    SetFileRead take() {
        awaited_->store(true);
        return records_.get();
    }

private:
    std::shared_ptr<std::atomic<bool>> awaited_ = std::make_shared<std::atomic<bool>>(false);
    std::future<std::optional<KanjiRecord>> first_;
    std::future<SetFileRead> records_;
};

// The card shows the first kanji of a set still being read as the one kanji of a set; the whole
// set takes its place when it comes.
void showAheadOfItsSet(App& app, KanjiRecord first) {
    app.kanjiSet.records.assign(1, std::move(first));
    showKanji(app, 0);
}

// The pictures drawn for the kanji shown ahead of its set go into the set with it.
void keepPicturesShownAhead(KanjiSet& ahead, SetFileRead& read) {
    if (!read || read->empty() || ahead.size() != 1) {
        return;
    }
    KanjiRecord& shown = ahead.records.front();
    KanjiRecord& first = (*read).front();
    if (shown.Unicode == first.Unicode && shown.Anim == first.Anim) {
        first.KanjiImage = std::move(shown.KanjiImage);
        first.StrokeImage = std::move(shown.StrokeImage);
    }
}

}  // namespace

void initialiseApp(App& app, const QString& workDir) {
    app.paths.workDir = workDir.endsWith(QLatin1Char('/')) ? workDir : workDir + QLatin1Char('/');
    app.paths.mediaDir = app.paths.workDir + QStringLiteral("Media/");
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
    ui::useQuickGroupFrames();
    app.resources.kanjiFont = ui::fontByPoints(QStringLiteral("MS Mincho"), 100);
    app.resources.genshiFont = ui::fontByPoints(QStringLiteral("HDZB_27"), 11);
}

bool startUp(App& app) {
    const Preferences defaults{QString(), QString(), app.paths.importPath, app.paths.exportPath,
                               QString()};
    const Preferences prefs = readPreferencesFile(preferencePath(app), defaults);
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
        setRead.start(setFilePath(app), {strokeStripFolder(app), app.resources.kanjiFont.family(),
                                         app.resources.kanjiFont.pixelSize()});
    }

    app.texts = fillTextTables(app.paths.workDir, app.language);

    const QString controls = app.paths.workDir + QStringLiteral("Media/Controls/");
    for (int i = 0; i < ControlIconCount; ++i) {
        app.resources.controlIcons[static_cast<size_t>(i)] =
            ui::loadIco(controls + QLatin1String(ControlIconFiles[i]));
    }
    app.writingPad.writingCanvas = ui::createImage(160, 160);
    app.writingPad.writingCanvas.fill(Qt::white);

    app.resources.fontConfiguration.wait();
    if (!buildMainWindow(app)) {
        return false;
    }
    app.genshiList =
        readGenshiListFile(app.paths.workDir + QStringLiteral("Media/Genshi/Genshiliste.txt"));
    // The window is drawn as soon as it is built, while the set may still be read; its first
    // kanji is shown as soon as it is known, the rest of the set after. The kanji font is loaded
    // by whoever draws the first kanji: both cores are busy until then.
    app.ui.drawPending();
    const bool profileNamed = !app.profile.profileName.isEmpty();
    if (setRead.started()) {
        if (setRead.reading()) {
            if (std::optional<KanjiRecord> first = setRead.takeFirstRecord()) {
                showAheadOfItsSet(app, std::move(*first));
            }
        }
        // The profile file is read while the set may still be on its way; the two meet after.
        std::optional<ProfileRead> profile;
        if (profileNamed) {
            profile = readProfile(profileFilePath(app));
        }
        SetFileRead read = setRead.take();
        keepPicturesShownAhead(app.kanjiSet, read);
        openSet(app, std::move(read));
        if (profile) {
            loadProfile(app, std::move(*profile));
        }
    } else {
        loadSet(app, true);
        if (profileNamed) {
            loadProfile(app);
        }
    }
    showKanji(app, 0);
    return true;
}

bool shutDown(App& app) {
    // Without a set chosen instead, the refused name stays for the user to correct by hand.
    if (!(app.lastSetRefused && app.setName.isEmpty())) {
        writePreferencesFile(preferencePath(app),
                             {app.setName, app.profile.profileName, app.paths.importPath,
                              app.paths.exportPath, app.language});
    }
    if (!app.profile.profileName.isEmpty()) {
        saveProfile(app);
    }
    if (!saveSetBeforeEnd(app)) {
        app.loop.endRequested = false;
        return false;
    }
    app.mainWindow.reset();
    app.kanjiSet = {};
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
        return 0;
    }
    do {
        runMainLoop(app);
    } while (!shutDown(app));
    return 0;
}
