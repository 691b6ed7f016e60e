// The main event loop: one pass serves one event of the main window, the pen on the writing
// canvas and the stroke-order animation; and the view mode, which only the loop's commands change.
#pragma once

struct App;

// What the main window shows; a page's index on the panel is the mode that choosing it sets.
enum class ViewMode { Overview = 0, Training = 1, Lists = 2, Editing = 3 };

constexpr int pageIndex(ViewMode mode) {
    return static_cast<int>(mode);
}

struct LoopState {
    // The loop ends after the pass that sees this.
    bool endRequested = false;
    // The control of the last control action; a menu command clears it.
    int lastEventControl = -1;
};

void runMainLoop(App& app);
// One pass of the loop; false once the loop is to end.
bool mainLoopPass(App& app);
// The only way the view mode changes.
void setViewMode(App& app, ViewMode mode);
// Puts the page of a mode in front, as the program's own switch that reports no change.
void showPage(App& app, ViewMode page);
