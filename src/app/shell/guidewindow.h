// "Hilfe" → "Info": a short guide to learning with the program.
#pragma once

struct App;

// Modal: a scrollable, read-only text a screen reader reads; Enter, Escape, the button and the
// close box close it.
void showGuide(App& app);
