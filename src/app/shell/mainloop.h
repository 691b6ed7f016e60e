// The main event loop: one pass serves one event of the main window, the pen on the writing
// canvas and the stroke-order animation.
#pragma once

struct App;

void runMainLoop(App& app);
// One pass of the loop; false once the loop is to end.
bool mainLoopPass(App& app);
