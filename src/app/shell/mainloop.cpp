// The main event loop: one pass serves one event of the main window, the pen on the writing
// canvas and the stroke-order animation.
#include "app/shell/mainloop.h"

#include "app/kanjiset/cardview.h"
#include "app/kanjiset/editing.h"
#include "app/kanjiset/setcommands.h"
#include "app/kanjiset/viewmode.h"
#include "app/shell/maincommands.h"
#include "app/shell/syncwatch.h"
#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/state/trainingids.h"
#include "app/training/trainingpage.h"
#include "app/training/trainingrun.h"
#include "app/training/trainingsettings.h"

namespace {

constexpr int LoopPauseMilliseconds = 5;

}  // namespace

bool mainLoopPass(App& app) {
    showStripThatWaited(app);
    serveSyncChanges(app);
    const ui::Event event = app.ui.poll();
    const bool fromMainWindow = event.window == MainWindowId;
    if (event.kind == ui::EventKind::Menu && fromMainWindow) {
        app.loop.lastEventControl = -1;
        dispatchMenu(app, event.menuId);
    } else if (event.kind == ui::EventKind::Control && fromMainWindow) {
        app.loop.lastEventControl = event.control;
        dispatchControl(app, event);
    }
    serveMouseWriting(app);
    if (app.animation.animState != AnimState::Idle) {
        animationTick(app);
    }
    // Only the animation and the pen on the canvas need the loop while nothing happens; without
    // them it sleeps until the next input instead of waking 200 times a second.
    const bool writing = app.loop.lastEventControl == CanvasImage && app.ui.mouse().primaryDown;
    if (event.kind != ui::EventKind::None || app.animation.animState != AnimState::Idle ||
        writing || app.loop.endRequested) {
        app.ui.pause(LoopPauseMilliseconds);
    } else {
        app.ui.sleepUntilEvent();
    }
    if ((event.kind == ui::EventKind::Close && fromMainWindow) || app.loop.endRequested) {
        // What was typed while editing is the user's work: commit it so shutdown saves it.
        if (app.viewMode == ViewMode::Editing) {
            setViewMode(app, ViewMode::Overview);
        }
        return false;
    }
    return true;
}

void runMainLoop(App& app) {
    while (mainLoopPass(app)) {
    }
}
