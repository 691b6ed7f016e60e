// Commands on single kanji of the open set: a new one, deleting one, and while editing, entering
// its character and choosing its stroke-order picture.
#pragma once

struct App;

// A new empty kanji at the head of the set, shown on the card for editing.
void newKanji(App& app);
// Asks, then removes the current kanji; a running training drops its questions.
void deleteKanji(App& app);
// The first character the learner types becomes the kanji's character.
void enterKanjiCharacter(App& app);
// Copies a chosen picture into the set's folder of stroke-order strips.
void chooseStrokeImage(App& app);
