// Sound goes through a module loaded at the first sound; see soundmodule.h.
#include "app/state/sound.h"

#include "app/state/soundmodule.h"
#include "base/modulelibrary.h"

namespace {

// Without its module the program has no sound at all, which the learner reads as the machine's
// having no device: the click says so and nothing else changes.
class NoSoundOutput : public SoundOutput {
public:
    explicit NoSoundOutput(QString reason) : reason_(std::move(reason)) {}
    Expected<void, QString> playFile(const QString&) override { return unexpected(reason_); }
    Expected<void, QString> playSamples(const SpeechSamples&) override {
        return unexpected(reason_);
    }

private:
    QString reason_;
};

class NoSoundInput : public SoundInput {
public:
    explicit NoSoundInput(QString reason) : reason_(std::move(reason)) {}
    Expected<void, QString> start(int, qsizetype) override { return unexpected(reason_); }
    SpeechSamples stop() override { return {}; }

private:
    QString reason_;
};

}  // namespace

std::unique_ptr<SoundInput> makeDeviceSoundInput(const QString& noInputText) {
    const Expected<const SoundModule*, QString> module = moduleTable<SoundModule>();
    if (!module) {
        return std::make_unique<NoSoundInput>(noInputText);
    }
    return (*module)->makeInput(noInputText);
}

std::unique_ptr<SoundOutput> makeDeviceSoundOutput(const QString& noOutputText) {
    const Expected<const SoundModule*, QString> module = moduleTable<SoundModule>();
    if (!module) {
        return std::make_unique<NoSoundOutput>(noOutputText);
    }
    return (*module)->makeOutput(noOutputText);
}

Expected<void, QString> SoundPlayer::play(const SoundToPlay& sound, const QString& noOutputText) {
    if (!sound.playable()) {
        return {};
    }
    if (sound.kind == SoundToPlay::Kind::File) {
        return output(noOutputText).playFile(sound.path);
    }
    const Expected<SpeechSamples, QString> speech = synthesizeSpeech(sound.kana);
    if (!speech) {
        return unexpected(speech.error());
    }
    return output(noOutputText).playSamples(*speech);
}

Expected<void, QString> SoundPlayer::playSamples(const SpeechSamples& sound,
                                                 const QString& noOutputText) {
    return output(noOutputText).playSamples(sound);
}

Expected<void, QString> SoundPlayer::startRecording(int sampleRate, qsizetype maxSamples,
                                                    const QString& noInputText) {
    if (!input_) {
        input_ = makeDeviceSoundInput(noInputText);
    }
    return input_->start(sampleRate, maxSamples);
}

SpeechSamples SoundPlayer::stopRecording() {
    return input_ ? input_->stop() : SpeechSamples{};
}

SoundOutput& SoundPlayer::output(const QString& noOutputText) {
    if (!output_) {
        output_ = makeDeviceSoundOutput(noOutputText);
    }
    return *output_;
}
