// The application state: everything the program keeps for the whole run, owned by main. Its
// parts are plain data declared beside it; the floors above act on them.
#pragma once

#include "app/state/cardstate.h"
#include "app/state/handwritingaids.h"
#include "app/state/loopstate.h"
#include "app/state/paths.h"
#include "app/state/pictures.h"
#include "app/state/profile.h"
#include "app/state/resources.h"
#include "app/state/sound.h"
#include "app/state/writingpad.h"
#include "core/kanjiset/genshilist.h"
#include "core/kanjiset/kanjirecord.h"
#include "core/shell/texttables.h"
#include "core/training/learner.h"
#include "core/training/trainingsession.h"
#include "ui/toolkit.h"
#include "ui/window.h"

#include <QString>

#include <memory>
#include <vector>

class QMenu;

struct App {
    Paths paths;
    QString windowTitle = QStringLiteral("Renkari");
    QString setName;
    // The preference file named a set that cannot be used; it is rewritten only once the user
    // has chosen another set.
    bool lastSetRefused = false;
    QString language;

    ViewMode viewMode = ViewMode::Overview;

    KanjiSet kanjiSet;
    // The set file named by setName exists but could not be read: it must not be replaced by
    // an empty set, and is kept as a backup before anything else is saved under its name.
    bool setFileUnreadable = false;
    // The set named by setName could not be read (missing or unreadable): what is open is not
    // that set, so its file is never replaced or created by an empty one.
    bool setNotRead = false;
    std::vector<GenshiEntry> genshiList;
    Profile profile;
    // The learner of the profile in use: its records, review log, memory and training choices.
    Learner learner;

    PictureCache pictures;
    CardPictures cardPictures;
    Animation animation;
    WritingPad writingPad;
    HandwritingAids handwriting;
    TrainingSession training;
    SoundPlayer sound;
    Shadowing shadowing;

    Resources resources;
    TextTables texts;

    LoopState loop;
    ui::Toolkit ui;
    std::unique_ptr<ui::Window> mainWindow;
    QMenu* gridContextMenu = nullptr;
    QMenu* recordingContextMenu = nullptr;
};

// The window requesters are shown over: the main window, once there is one.
inline QWidget* dialogParent(const App& app) {
    return app.mainWindow ? app.mainWindow->top() : nullptr;
}
