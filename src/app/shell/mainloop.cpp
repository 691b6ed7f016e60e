// The main event loop: one pass serves one event of the main window, the pen on the writing
// canvas and the stroke-order animation; and the view mode, which only the loop's commands change.
#include "app/shell/mainloop.h"

#include "app/kanjiset/editing.h"
#include "app/kanjiset/setcommands.h"
#include "app/shell/app.h"
#include "app/shell/cardview.h"
#include "app/shell/maincommands.h"
#include "app/shell/mainids.h"
#include "app/training/trainingpage.h"
#include "app/training/trainingrun.h"
#include "app/training/trainingsettings.h"

#include <array>

namespace {

constexpr int LoopPauseMilliseconds = 5;
// Disabled while editing, so the kanji being edited stays on the card.
constexpr std::array NavigationControls{FirstButton, PreviousButton, NextButton,
                                        LastButton,  NumberSpin,     EndButton};
// What editing commits; outside editing typing into them would be lost, so they are read-only.
constexpr std::array CardTextControls{IndexField,    JlptField,     OnEditor,
                                      KunEditor,     NoteEditor,    ExampleField1,
                                      ExampleField2, ExampleField3, ExampleField4};

void setCardEditable(ui::Window& w, bool editable) {
    for (int control : CardTextControls) {
        w.setReadOnly(control, !editable);
    }
}

}  // namespace

void showPage(App& app, ViewMode page) {
    app.mainWindow->get<ui::TabPanel>(Panel)->showPage(pageIndex(page));
}

void setViewMode(App& app, ViewMode mode) {
    ui::Window& w = *app.mainWindow;
    if (app.viewMode == ViewMode::Editing) {
        commitEdit(app);
        refreshSet(app);
    }
    setCardEditable(w, mode == ViewMode::Editing);
    w.setVisible(EditButton, false);
    for (int control : NavigationControls) {
        w.setEnabled(control, true);
    }
    w.setText(EditButton, app.texts.text(MainText::EditKanji));
    switch (mode) {
        case ViewMode::Overview:
            app.viewMode = ViewMode::Overview;
            w.setVisible(EditButton, true);
            break;
        case ViewMode::Training:
            app.animation.animState = AnimState::Stopping;
            app.viewMode = ViewMode::Training;
            // A run in progress keeps what it asks and what was typed; the defaults are for
            // the next run.
            if (app.training.trainingPos == -1) {
                resetTrainingSettings(app);
            } else {
                resumeTraining(app);
            }
            break;
        case ViewMode::Lists:
            app.viewMode = ViewMode::Lists;
            break;
        case ViewMode::Editing:
            app.animation.animState = AnimState::Stopping;
            w.setVisible(EditButton, true);
            for (int control : NavigationControls) {
                w.setEnabled(control, false);
            }
            w.setText(EditButton, app.texts.text(MainText::EndEdit));
            app.viewMode = ViewMode::Editing;
            showPage(app, ViewMode::Overview);
            break;
        default:
            break;
    }
}

bool mainLoopPass(App& app) {
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
