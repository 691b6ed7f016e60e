// Editing the set on the main window: new set, new kanji, deleting, and committing the card.
#pragma once

struct App;

// Copies the card's edit fields into the current kanji.
void commitEdit(App& app);

// Not built yet: this leaves the set as it is.
void exportSet(App& app, bool asPdf);
