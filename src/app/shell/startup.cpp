// Start-up and shutdown in their fixed order.
#include "app/shell/startup.h"

#include "app/kanjiset/setcommands.h"
#include "app/shell/app.h"
#include "app/shell/cardview.h"
#include "app/shell/mainloop.h"
#include "app/shell/mainwindow.h"
#include "app/training/profilecommands.h"
#include "core/kanjiset/genshilist.h"
#include "core/shell/preferences.h"
#include "ui/images.h"

namespace {

const char* const ControlIconFiles[ControlIconCount] = {
    "Sound.ico", "2left.ico", "1left.ico", "1right.ico", "2right.ico", "Start.ico",
    "stop.ico",  "pause.ico", "Wrong.ico", "Partly.ico", "ok.ico"};

QString preferencePath(const App& app) {
    return app.WorkDir + QStringLiteral("Renkari.pref");
}

}  // namespace

void initialiseApp(App& app, const QString& workDir) {
    app.WorkDir = workDir.endsWith(QLatin1Char('/')) ? workDir : workDir + QLatin1Char('/');
    app.MediaDir = app.WorkDir + QStringLiteral("Media/");
    app.WindowTitle = QStringLiteral("Renkari");
    app.ImportPath = app.WorkDir;
    app.ExportPath = app.WorkDir;

    app.ViewMode = 0;
    app.AnimFrameDelay = 1000;
    app.ProfileRecordPending = 1;
    app.TrainingPos = -1;
    app.QuoteColours = {QColor(0xFF, 0xC4, 0xC4), QColor(0xFF, 0xE4, 0xCA),
                        QColor(0xFF, 0xFF, 0xC1), QColor(0xFF, 0xFF, 0xFF),
                        QColor(0xE1, 0xFF, 0xE1), QColor(0xB7, 0xFF, 0xB7)};

    ui::registerFontSubstitutions();
    ui::useCompactInterfaceFont();
    app.KanjiFont = ui::fontByPoints(QStringLiteral("MS Mincho"), 100);
    app.GenshiFont = ui::fontByPoints(QStringLiteral("HDZB_27"), 11);
}

bool startUp(App& app) {
    const Preferences defaults{QString(), QString(), app.ImportPath, app.ExportPath, QString()};
    const Preferences prefs = readPreferencesFile(preferencePath(app), defaults);
    app.SetName = prefs.LastSet;
    app.ProfileName = prefs.LastProfile;
    app.ImportPath = prefs.ImportPath;
    app.ExportPath = prefs.ExportPath;
    app.Language = prefs.Language;

    app.texts = fillTextTables(app.WorkDir, app.Language);

    const QString controls = app.WorkDir + QStringLiteral("Media/Controls/");
    for (int i = 0; i < ControlIconCount; ++i) {
        app.ControlIcons[static_cast<size_t>(i)] =
            ui::loadIco(controls + QLatin1String(ControlIconFiles[i]));
    }
    app.WritingCanvas = ui::createImage(160, 160);
    app.WritingCanvas.fill(Qt::white);

    if (!buildMainWindow(app)) {
        return false;
    }
    app.genshiList =
        readGenshiListFile(app.WorkDir + QStringLiteral("Media/Genshi/Genshiliste.txt"));
    loadSet(app, app.SetName.isEmpty());
    if (!app.ProfileName.isEmpty()) {
        loadProfile(app);
    }
    showKanji(app, 0);
    return true;
}

void shutDown(App& app) {
    writePreferencesFile(preferencePath(app), {app.SetName, app.ProfileName, app.ImportPath,
                                               app.ExportPath, app.Language});
    if (!app.ProfileName.isEmpty()) {
        saveProfile(app);
    }
    saveSet(app);
    app.mainWindow.reset();
    app.kanjiSet = {};
}

int runRenkari(App& app) {
    if (!startUp(app)) {
        return 0;
    }
    runMainLoop(app);
    shutDown(app);
    return 0;
}
