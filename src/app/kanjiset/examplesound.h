// The card's four sound buttons: what each example plays, and playing it.
#pragma once

#include "core/kanjiset/soundchoice.h"

#include <QString>

struct App;

// The open set's folder of example sound files, ending in "/".
QString soundsFolder(const App& app);
// What example i (0 to 3) of the current kanji plays.
SoundToPlay currentExampleSound(const App& app, int i);
// Enables each sound button whose example has something to play.
void enableSoundButtons(App& app);
// Plays example i and chooses it for speaking along.
void playExample(App& app, int i);
