// Editing the set on the main window: new set, new kanji, deleting, and committing the card.
#pragma once

struct App;

// Copies the card's edit fields into the current kanji.
void commitEdit(App& app);

// Not built yet: these leave the set as it is.
void newSet(App& app);
void newKanji(App& app);
void deleteKanji(App& app);
void enterKanjiCharacter(App& app);
void chooseStrokeImage(App& app);
void openGenshiWindow(App& app);
