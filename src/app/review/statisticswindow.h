// The statistics window: the profile's results kanji by kanji, coloured by quota band, and summed
// up beside them.
#pragma once

struct App;

// Modal; ends with OK or the close box. The profile list is left sorted by code, its counters
// untouched; a row the user selects shows its kanji on the main window's card.
void openStatistics(App& app);
