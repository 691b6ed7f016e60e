// The view mode, which only the main window's commands change: leaving editing commits what was
// typed, entering training restores its page.
#pragma once

#include "app/state/loopstate.h"

struct App;

// The only way the view mode changes.
void setViewMode(App& app, ViewMode mode);
// Puts the page of a mode in front, as the program's own switch that reports no change.
void showPage(App& app, ViewMode page);
