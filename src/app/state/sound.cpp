// Sound through Qt Multimedia: files by a media player, speech as raw samples to an audio sink.
#include "app/state/sound.h"

#include "app/state/app.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>

namespace {

class DeviceSoundOutput : public SoundOutput {
public:
    explicit DeviceSoundOutput(QString noOutputText) : noOutputText_(std::move(noOutputText)) {}

    Expected<void, QString> playFile(const QString& path) override {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) {
            return unexpected(noOutputText_);
        }
        stop();
        if (!player_) {
            player_ = std::make_unique<QMediaPlayer>();
            audioOutput_ = std::make_unique<QAudioOutput>();
            player_->setAudioOutput(audioOutput_.get());
        }
        audioOutput_->setDevice(device);
        player_->setSource(QUrl::fromLocalFile(path));
        if (player_->error() != QMediaPlayer::NoError) {
            return unexpected(player_->errorString());
        }
        player_->play();
        return {};
    }

    Expected<void, QString> playSamples(const SpeechSamples& speech) override {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) {
            return unexpected(noOutputText_);
        }
        stop();
        QAudioFormat format;
        format.setSampleRate(speech.sampleRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(format)) {
            return unexpected(device.description());
        }
        bytes_ = QByteArray(reinterpret_cast<const char*>(speech.samples.data()),
                            static_cast<qsizetype>(speech.samples.size() * sizeof(qint16)));
        buffer_ = std::make_unique<QBuffer>(&bytes_);
        buffer_->open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->start(buffer_.get());
        if (sink_->error() != QAudio::NoError && sink_->error() != QAudio::UnderrunError) {
            sink_.reset();
            return unexpected(noOutputText_);
        }
        return {};
    }

private:
    // A new sound cuts the one still playing short.
    void stop() {
        if (player_) {
            player_->stop();
        }
        if (sink_) {
            sink_->stop();
            sink_.reset();
        }
        buffer_.reset();
    }

    QString noOutputText_;
    std::unique_ptr<QMediaPlayer> player_;
    std::unique_ptr<QAudioOutput> audioOutput_;
    QByteArray bytes_;
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QAudioSink> sink_;
};

}  // namespace

std::unique_ptr<SoundOutput> makeDeviceSoundOutput(const QString& noOutputText) {
    return std::make_unique<DeviceSoundOutput>(noOutputText);
}

Expected<void, QString> SoundPlayer::play(const SoundToPlay& sound, const QString& noOutputText) {
    if (!sound.playable()) {
        return {};
    }
    if (!output_) {
        output_ = makeDeviceSoundOutput(noOutputText);
    }
    if (sound.kind == SoundToPlay::Kind::File) {
        return output_->playFile(sound.path);
    }
    const Expected<SpeechSamples, QString> speech = synthesizeSpeech(sound.kana);
    if (!speech) {
        return unexpected(speech.error());
    }
    return output_->playSamples(*speech);
}

void playSound(App& app, const SoundToPlay& sound) {
    const Expected<void, QString> played =
        app.sound.play(sound, app.texts.text(MessageText::NoSoundOutput));
    if (!played && app.mainWindow) {
        app.mainWindow->setStatusText(2,
                                      app.texts.text(MessageText::SoundFailed).arg(played.error()));
    }
}
