// The program's sound: example files and spoken readings, played without waiting for them.
#pragma once

#include "base/expected.h"
#include "core/kanjiset/soundchoice.h"
#include "core/kanjiset/speech.h"

#include <QString>

#include <memory>

struct App;

// Where sound goes. The device output plays through Qt Multimedia; tests put a recorder here.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Both start playing and return at once; a failure says why (no device, a broken file).
    virtual Expected<void, QString> playFile(const QString& path) = 0;
    virtual Expected<void, QString> playSamples(const SpeechSamples& speech) = 0;
};

// Says when the machine has no sound output; the reason reads `noOutputText`.
std::unique_ptr<SoundOutput> makeDeviceSoundOutput(const QString& noOutputText);

// Owned by App. Neither Qt Multimedia nor the voice is touched before the first sound, so the
// start-up does not wait for them.
class SoundPlayer {
public:
    // Plays a file, or speaks kana; Nothing does nothing.
    Expected<void, QString> play(const SoundToPlay& sound, const QString& noOutputText);
    // Replaces the device output (tests).
    void useOutput(std::unique_ptr<SoundOutput> output) { output_ = std::move(output); }

private:
    std::unique_ptr<SoundOutput> output_;
};

// Plays the sound with App's player; a failure is named in the status bar, never asked about,
// so a machine without sound goes on as if it had played.
void playSound(App& app, const SoundToPlay& sound);
