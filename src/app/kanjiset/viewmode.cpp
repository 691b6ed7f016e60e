// The view mode, which only the main window's commands change: leaving editing commits what was
// typed, entering training restores its page.
#include "app/kanjiset/viewmode.h"

#include "app/kanjiset/editing.h"
#include "app/kanjiset/setcommands.h"
#include "app/state/app.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/training/dailyreview.h"
#include "app/training/trainingrun.h"
#include "app/training/trainingsettings.h"

#include <array>

namespace {

// Disabled while editing, so the kanji being edited stays on the card.
constexpr std::array<int, 6> NavigationControls{FirstButton, PreviousButton, NextButton,
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
            showDueCounts(app, trainingSettings(app).asked);
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
