// The program's sound: example files and spoken readings, played without waiting for them.
#pragma once

#include "base/expected.h"
#include "core/kanjiset/soundchoice.h"
#include "core/kanjiset/speech.h"

#include <QString>

#include <memory>

// Where sound goes. The device output plays through Qt Multimedia; tests put a recorder here.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Both start playing and return at once; a failure says why (no device, a broken file).
    virtual Expected<void, QString> playFile(const QString& path) = 0;
    virtual Expected<void, QString> playSamples(const SpeechSamples& speech) = 0;
};

// Says when the machine has no sound output, or the program no sound module (see soundmodule.h);
// the reason reads `noOutputText`.
std::unique_ptr<SoundOutput> makeDeviceSoundOutput(const QString& noOutputText);

// Where recordings come from: the default input through Qt Multimedia, or a test's samples.
class SoundInput {
public:
    virtual ~SoundInput() = default;
    // Starts recording 16-bit mono samples; at most maxSamples are kept. Returns at once.
    virtual Expected<void, QString> start(int sampleRate, qsizetype maxSamples) = 0;
    // Ends the recording and hands over what was recorded.
    virtual SpeechSamples stop() = 0;
};

// Says when the machine has no sound input, or the program no sound module; the reason reads
// `noInputText`.
std::unique_ptr<SoundInput> makeDeviceSoundInput(const QString& noInputText);

// Speaking along on the card: the reading spoken and the learner's recording of it, in memory.
struct Shadowing {
    qint32 kanji = 0;  // whose reading the boxes hold
    // The example chosen by its sound button (-1: none): the play button speaks its reading, and
    // a recording is saved as its sound file.
    int example = -1;
    SpeechSamples spoken;
    SpeechSamples recorded;
    // The example whose reading the recording follows (-1: the kanji's reading); it alone may
    // take the recording as its sound file.
    int recordedExample = -1;
    bool recording = false;
};

// Owned by App. Neither Qt Multimedia nor the voice is touched before the first sound, so the
// start-up does not wait for them.
class SoundPlayer {
public:
    // Plays a file, or speaks kana; Nothing does nothing.
    Expected<void, QString> play(const SoundToPlay& sound, const QString& noOutputText);
    Expected<void, QString> playSamples(const SpeechSamples& sound, const QString& noOutputText);
    Expected<void, QString> startRecording(int sampleRate, qsizetype maxSamples,
                                           const QString& noInputText);
    SpeechSamples stopRecording();
    // Replace the devices (tests).
    void useOutput(std::unique_ptr<SoundOutput> output) { output_ = std::move(output); }
    void useInput(std::unique_ptr<SoundInput> input) { input_ = std::move(input); }

private:
    SoundOutput& output(const QString& noOutputText);

    std::unique_ptr<SoundOutput> output_;
    std::unique_ptr<SoundInput> input_;
};
