// The card's sound buttons: enabled by what their example has to play, playing a file or speech,
// and going on quietly on a machine without sound.
#include "app/kanjiset/examplesound.h"
#include "app/shell/appfixture.h"
#include "app/shell/soundrecorder.h"
#include "app/state/cardids.h"

#include <QDir>

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
    click(NextButton);
    EXPECT_EQ(app.kanjiSet.current, 1);
}
