// Building the main window: menus, status bar, the three pages and the right-hand column.
#pragma once

struct App;

// False when the window could not be built; nothing else has been loaded then.
bool buildMainWindow(App& app);
