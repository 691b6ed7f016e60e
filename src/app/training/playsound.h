// Playing a sound for the learner with the program's player.
#pragma once

#include "app/state/sound.h"

struct App;

// Plays the sound with App's player; a failure is named in the status bar, never asked about,
// so a machine without sound goes on as if it had played.
void playSound(App& app, const SoundToPlay& sound);
void playSamples(App& app, const SpeechSamples& sound);
