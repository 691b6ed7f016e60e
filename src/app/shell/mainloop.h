// The main event loop: dispatch of menu commands and control actions, the view mode,
// writing with the mouse and the stroke-order animation.
#pragma once

#include <QPoint>
#include <QRect>

struct App;

void runMainLoop(App& app);
// One pass of the loop; false once the loop is to end.
bool mainLoopPass(App& app);
// The only way the view mode changes.
void setViewMode(App& app, int mode);
// Whether the mouse at client position mouse lies inside a page control at control
// (position inside its page, and size).
bool mouseInsidePageControl(QPoint mouse, QRect control);
