// A sound output that keeps what it was asked to play instead of playing it.
#pragma once

#include "app/state/sound.h"

#include <QString>

#include <vector>

struct PlayedSounds {
    std::vector<QString> files;
    // The number of samples of each text spoken.
    std::vector<size_t> speech;
};

class SoundRecorder : public SoundOutput {
public:
    explicit SoundRecorder(PlayedSounds& played) : played_(played) {}

    Expected<void, QString> playFile(const QString& path) override {
        played_.files.push_back(path);
        return {};
    }
    Expected<void, QString> playSamples(const SpeechSamples& speech) override {
        played_.speech.push_back(speech.samples.size());
        return {};
    }

private:
    PlayedSounds& played_;
};
