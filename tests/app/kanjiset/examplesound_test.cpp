// The card's sound buttons: enabled by what their example has to play, playing a file or speech,
// and going on quietly on a machine without sound; and speaking along in the recording frame.
#include "app/kanjiset/examplesound.h"
#include "app/shell/appfixture.h"
#include "app/shell/soundrecorder.h"
#include "app/state/cardids.h"
#include "app/state/menuids.h"
#include "ui/widgets.h"

#include <QDir>
#include <QImage>
#include <QMenu>

#include <optional>

using namespace Qt::StringLiterals;

class ExampleSound : public AppFixture {
protected:
    void SetUp() override {
        KanjiRecord sun = makeKanji(1, 0x65E5, u"ニチ"_s, 4);
        sun.Beispiel = {u"日本 (にほん) Japan"_s, u"日曜日 (にちようび) Sunday"_s, u"本日 today"_s,
                        QString()};
        sun.SoundFile = {u"nihon.wav"_s, u"nichiyoubi.wav"_s, u"honjitsu.wav"_s, QString()};
        KanjiRecord moon = makeKanji(2, 0x6708, u"ゲツ"_s, 4);
        writeSet(u"Klang"_s, {sun, moon});
        writePreferences(u"Klang"_s);
        // Only the first example's file is there.
        writeFile(u"Media/Klang/Sounds/nihon.wav"_s, "RIFF");
        start();
    }

    std::vector<bool> enabledButtons() {
        std::vector<bool> enabled;
        for (int i = 0; i < 4; ++i) {
            enabled.push_back(window().isEnabled(SoundButton1 + i));
        }
        return enabled;
    }
};

TEST_F(ExampleSound, ButtonsPlayTheFileOrSpeakTheReadingAndFollowTheKanji) {
    PlayedSounds played;
    app.sound.useOutput(std::make_unique<SoundRecorder>(played));
    ASSERT_EQ(app.kanjiSet.current, 0);
    // A file, a reading whose file is missing, a text without a reading, nothing.
    EXPECT_EQ(enabledButtons(), (std::vector<bool>{true, true, false, false}));

    click(SoundButton1);
    click(SoundButton2);
    EXPECT_EQ(played.files, (std::vector<QString>{mediaDir() + u"Klang/Sounds/nihon.wav"_s}));
    ASSERT_EQ(played.speech.size(), 1u) << "the missing file falls back to speech";
    EXPECT_GT(played.speech[0], 1000u);
    EXPECT_EQ(window().statusText(2), QString());

    click(NextButton);
    EXPECT_EQ(enabledButtons(), (std::vector<bool>{false, false, false, false}));
    click(PreviousButton);
    EXPECT_EQ(enabledButtons(), (std::vector<bool>{true, true, false, false}));
}

TEST_F(ExampleSound, WithoutADeviceAClickFailsQuietly) {
    class NoDevice : public SoundOutput {
    public:
        Expected<void, QString> playFile(const QString&) override {
            return unexpected(u"kein Gerät"_s);
        }
        Expected<void, QString> playSamples(const SpeechSamples&) override {
            return unexpected(u"kein Gerät"_s);
        }
    };
    app.sound.useOutput(std::make_unique<NoDevice>());
    click(SoundButton2);
    EXPECT_EQ(window().statusText(2), u"Kein Ton: kein Gerät"_s);
    EXPECT_TRUE(app.ui.requesters().shown().empty()) << "no requester interrupts the learner";
    EXPECT_TRUE(window().isEnabled(SoundButton2));

    // The real output on this machine: it plays, or it names the missing device; it never blocks.
    app.sound.useOutput(makeDeviceSoundOutput(u"keine Tonausgabe"_s));
    window().setStatusText(2, QString());
    click(SoundButton1);
    click(SoundButton2);
    EXPECT_TRUE(window().statusText(2).isEmpty() ||
                window().statusText(2) == u"Kein Ton: keine Tonausgabe"_s)
        << window().statusText(2).toStdString();
    // The real input likewise: it records, or it names the missing device.
    app.sound.useInput(makeDeviceSoundInput(u"keine Toneingabe"_s));
    window().setStatusText(2, QString());
    click(RecordStartButton);
    click(RecordStopButton);
    EXPECT_TRUE(window().statusText(2).isEmpty() ||
                window().statusText(2) == u"Kein Ton: keine Toneingabe"_s)
        << window().statusText(2).toStdString();
    EXPECT_FALSE(window().isEnabled(RecordStopButton));
    click(NextButton);
    EXPECT_EQ(app.kanjiSet.current, 1);
}

namespace {

// A microphone that hands back a fixed recording, or has none to offer.
class ScriptedInput : public SoundInput {
public:
    explicit ScriptedInput(std::optional<std::vector<qint16>> recording)
        : recording_(std::move(recording)) {}

    Expected<void, QString> start(int sampleRate, qsizetype) override {
        if (!recording_) {
            return unexpected(u"kein Mikrofon"_s);
        }
        sampleRate_ = sampleRate;
        return {};
    }
    SpeechSamples stop() override {
        return {recording_.value_or(std::vector<qint16>{}), sampleRate_};
    }

private:
    std::optional<std::vector<qint16>> recording_;
    int sampleRate_ = 0;
};

// Columns of the picture with anything drawn in them.
int inkedColumns(const QImage& image, int from, int to) {
    int inked = 0;
    for (int x = from; x < to; ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y) != QColor(Qt::white)) {
                ++inked;
                break;
            }
        }
    }
    return inked;
}

}  // namespace

TEST_F(ExampleSound, SpeakingAlongDrawsReadingAndRecordingOnOneScaleAndPlaysThemAgain) {
    PlayedSounds played;
    app.sound.useOutput(std::make_unique<SoundRecorder>(played));
    const Expected<SpeechSamples, QString> reading = synthesizeSpeech(u"ニチ"_s);
    ASSERT_TRUE(reading.has_value());
    // The learner speaks twice as long as the voice, loudly all through.
    const size_t learnerLength = 2 * reading->samples.size();
    std::vector<qint16> learner(learnerLength);
    for (size_t i = 0; i < learner.size(); ++i) {
        learner[i] = i % 2 == 0 ? 20000 : -20000;
    }
    app.sound.useInput(std::make_unique<ScriptedInput>(learner));
    const auto box = [&](int id) { return control<ui::ImageView>(id)->image(); };

    EXPECT_TRUE(window().isEnabled(RecordStartButton));
    EXPECT_FALSE(window().isEnabled(RecordStopButton));
    click(RecordStartButton);
    // The first reading, ニチ, is spoken (the voice varies its length by a few samples).
    ASSERT_EQ(played.speech.size(), 1u);
    const size_t spokenLength = played.speech[0];
    EXPECT_NEAR(double(spokenLength), double(reading->samples.size()), 0.05 * spokenLength);
    EXPECT_TRUE(window().isEnabled(RecordStopButton));
    EXPECT_GT(inkedColumns(box(RecordingImage1), 0, 350), 100);
    EXPECT_TRUE(box(RecordingImage2).isNull());

    click(RecordStopButton);
    EXPECT_FALSE(window().isEnabled(RecordStopButton));
    chooseMenu(MenuSaveRecording);  // the kanji's reading belongs to no example: nothing saved
    const QImage spoken = box(RecordingImage1);
    const QImage recorded = box(RecordingImage2);
    ASSERT_EQ(spoken.size(), QSize(350, 50));
    ASSERT_EQ(recorded.size(), QSize(350, 50));
    // On one scale the reading fills the left half at most; the recording every column.
    EXPECT_EQ(inkedColumns(spoken, 176, 350), 0);
    EXPECT_GT(inkedColumns(spoken, 0, 175), 50);
    EXPECT_EQ(inkedColumns(recorded, 0, 350), 350);

    clickAt(control<ui::ImageView>(RecordingImage2), QPoint(10, 10));
    pass();
    clickAt(control<ui::ImageView>(RecordingImage1), QPoint(10, 10));
    pass();
    EXPECT_EQ(played.speech, (std::vector<size_t>{spokenLength, learnerLength, spokenLength}));

    // Without a microphone: said in the status bar, the last recording kept.
    app.sound.useInput(std::make_unique<ScriptedInput>(std::nullopt));
    click(RecordStartButton);
    EXPECT_EQ(window().statusText(2), u"Kein Ton: kein Mikrofon"_s);
    EXPECT_FALSE(window().isEnabled(RecordStopButton));
    EXPECT_EQ(box(RecordingImage2), recorded);

    // Chosen by its button, the second example is spoken along, and its recording saved as its
    // sound: a WAV file in the set's folder, which the button plays from then on.
    app.sound.useInput(std::make_unique<ScriptedInput>(learner));
    click(SoundButton2);
    ASSERT_EQ(played.speech.size(), 5u) << "the reading was heard without a microphone too";
    const size_t exampleLength = played.speech.back();
    EXPECT_GT(exampleLength, spokenLength) << "にちようび is longer than ニチ";
    click(RecordStartButton);
    EXPECT_NEAR(double(played.speech.back()), double(exampleLength), 0.05 * exampleLength);
    click(RecordStopButton);
    // Listening to another example afterwards does not make the recording its sound.
    click(SoundButton1);
    clickAt(control<ui::ImageView>(RecordingImage2), QPoint(10, 10), Qt::RightButton);
    pass();
    ASSERT_NE(app.recordingContextMenu, nullptr);
    EXPECT_TRUE(app.recordingContextMenu->isVisible());
    app.recordingContextMenu->hide();
    chooseMenu(MenuSaveRecording);
    const std::optional<QByteArray> wav = readFile(u"Media/Klang/Sounds/26085_2.wav"_s);
    ASSERT_TRUE(wav.has_value());
    EXPECT_EQ(wav->left(4), QByteArray("RIFF"));
    EXPECT_EQ(wav->mid(8, 8), QByteArray("WAVEfmt "));
    EXPECT_EQ(static_cast<size_t>(wav->size()), 44 + 2 * learnerLength);
    EXPECT_EQ(app.kanjiSet.currentRecord()->SoundFile[1], u"26085_2.wav"_s);
    click(SoundButton2);
    EXPECT_EQ(played.files.back(), mediaDir() + u"Klang/Sounds/26085_2.wav"_s);

    // Another kanji starts with empty boxes; only the saved recording reached the set's folder.
    click(NextButton);
    EXPECT_TRUE(box(RecordingImage1).isNull());
    EXPECT_TRUE(box(RecordingImage2).isNull());
    EXPECT_EQ(QDir(mediaDir() + u"Klang/Sounds"_s).entryList(QDir::Files),
              (QStringList{u"26085_2.wav"_s, u"nihon.wav"_s}));
}
