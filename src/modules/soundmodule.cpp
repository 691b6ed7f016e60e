// Sound through Qt Multimedia: files by a media player, speech as raw samples to an audio sink.
// A module of its own (see app/state/soundmodule.h); it links Qt Multimedia and Qt Core only.
#include "app/state/soundmodule.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioOutput>
#include <QAudioSink>
#include <QAudioSource>
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

class DeviceSoundInput : public SoundInput {
public:
    explicit DeviceSoundInput(QString noInputText) : noInputText_(std::move(noInputText)) {}

    Expected<void, QString> start(int sampleRate, qsizetype maxSamples) override {
        stop();
        const QAudioDevice device = QMediaDevices::defaultAudioInput();
        if (device.isNull()) {
            return unexpected(noInputText_);
        }
        QAudioFormat format;
        format.setSampleRate(sampleRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        if (!device.isFormatSupported(format)) {
            return unexpected(device.description());
        }
        recorded_ = {{}, sampleRate};
        maxSamples_ = maxSamples;
        source_ = std::make_unique<QAudioSource>(device, format);
        QIODevice* stream = source_->start();
        if (stream == nullptr) {
            source_.reset();
            return unexpected(noInputText_);
        }
        QObject::connect(stream, &QIODevice::readyRead, stream, [this, stream] { take(*stream); });
        return {};
    }

    SpeechSamples stop() override {
        if (source_) {
            source_->stop();
            source_.reset();
        }
        return std::exchange(recorded_, {});
    }

private:
    // Keeps whole samples up to the limit; the rest of a long recording is let go.
    void take(QIODevice& stream) {
        const QByteArray bytes = stream.readAll();
        const qsizetype room = maxSamples_ - static_cast<qsizetype>(recorded_.samples.size());
        const qsizetype count =
            std::min(room, bytes.size() / static_cast<qsizetype>(sizeof(qint16)));
        const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
        if (count > 0) {
            recorded_.samples.insert(recorded_.samples.end(), samples, samples + count);
        }
    }

    QString noInputText_;
    SpeechSamples recorded_;
    qsizetype maxSamples_ = 0;
    std::unique_ptr<QAudioSource> source_;
};

std::unique_ptr<SoundOutput> makeOutput(const QString& noOutputText) {
    return std::make_unique<DeviceSoundOutput>(noOutputText);
}

std::unique_ptr<SoundInput> makeInput(const QString& noInputText) {
    return std::make_unique<DeviceSoundInput>(noInputText);
}

const SoundModule Table{SoundModule::Version, makeOutput, makeInput};

}  // namespace

extern "C" Q_DECL_EXPORT const SoundModule* renkari_sound_module() {
    return &Table;
}
