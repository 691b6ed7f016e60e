// The main event loop: one pass serves one event of the main window, then sleeps until the next;
// the stroke-order animation runs on a timer of the toolkit.
#include "app/shell/mainloop.h"

#include "app/kanjiset/cardview.h"
#include "app/kanjiset/editing.h"
#include "app/kanjiset/setcommands.h"
#include "app/kanjiset/viewmode.h"
#include "app/shell/maincommands.h"
#include "app/state/app.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/training/peninput.h"

#include <algorithm>

namespace {

// Steps the stroke-order animation if a frame is due and sets the timer for the next one. Runs
// after every event, as any of them may have played, paused or stopped it or shown another
// kanji; the timer's own event is one of them.
void keepAnimating(App& app) {
    const Animation& anim = app.animation;
    if (anim.animState != AnimState::Idle) {
        animationTick(app);
    }
    if (anim.animState == AnimState::Idle) {
        app.ui.cancelTimer(MainWindowId, StrokeView);
        return;
    }
    const qint64 due = anim.nextFrameDue();
    const qint64 now = app.ui.ticks();
    // A tick that could not step (no kanji to animate) waits a delay rather than spin.
    app.ui.setTimer(MainWindowId, StrokeView,
                    due > now ? due : now + std::max<qint64>(1, anim.animFrameDelay));
}

}  // namespace

bool mainLoopPass(App& app) {
    showStripThatWaited(app);
    const ui::Event event = app.ui.poll();
    const bool fromMainWindow = event.window == MainWindowId;
    if (event.kind == ui::EventKind::Menu && fromMainWindow) {
        app.loop.lastEventControl = -1;
        // A key pressed while a stroke is written: the command sees the stroke so far.
        endStrokeInProgress(app);
        dispatchMenu(app, event.menuId);
    } else if (event.kind == ui::EventKind::Control && fromMainWindow) {
        app.loop.lastEventControl = event.control;
        dispatchControl(app, event);
    }
    if (event.kind != ui::EventKind::None) {
        keepAnimating(app);
    }
    if ((event.kind == ui::EventKind::Close && fromMainWindow) || app.loop.endRequested) {
        // What was typed while editing is the user's work: commit it so shutdown saves it.
        if (app.viewMode == ViewMode::Editing) {
            setViewMode(app, ViewMode::Overview);
        }
        return false;
    }
    // Writing and the animation come as events too: nothing needs the loop until one does.
    app.ui.sleepUntilEvent();
    return true;
}

void runMainLoop(App& app) {
    while (mainLoopPass(app)) {
    }
}
