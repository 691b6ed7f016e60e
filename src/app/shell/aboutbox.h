// The About box with the program's credits.
#pragma once

struct App;

// Modal: returns when the user closes it.
void showAboutBox(App& app);
