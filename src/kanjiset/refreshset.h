// Re-sorting the set and refreshing what shows it.
#pragma once

struct App;

// Sorts by Idx1, keeps the current kanji current and shown, updates the count displays.
void refreshSet(App& app);
