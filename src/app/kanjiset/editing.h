// Committing what was typed on the card into the kanji being edited.
#pragma once

struct App;

// Copies the card's edit fields into the current kanji.
void commitEdit(App& app);
