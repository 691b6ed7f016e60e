// The main event loop: one pass serves one event of the main window, then sleeps until the next;
// the stroke-order animation runs on a timer of the toolkit.
#pragma once

struct App;

void runMainLoop(App& app);
// One pass of the loop; false once the loop is to end.
bool mainLoopPass(App& app);
