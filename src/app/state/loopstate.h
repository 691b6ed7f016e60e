// What the main window shows and what the main loop keeps between its passes.
#pragma once

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
