// What the sound buttons play, and espeak-ng's Japanese voice speaking into memory.
#include "core/kanjiset/soundchoice.h"
#include "core/kanjiset/speech.h"

#include "base/files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

using namespace Qt::StringLiterals;

TEST(SoundChoice, ReadingsCleanedForTheVoice) {
    EXPECT_EQ(exampleReading(u"日本 (にほん) Japan"_s), u"にほん"_s);
    EXPECT_EQ(exampleReading(u"一つ（ひと.つ）eins"_s), u"ひとつ"_s) << "full-width brackets";
    EXPECT_EQ(exampleReading(u"日帰り (ひ-がえ.り)"_s), u"ひがえり"_s);
    EXPECT_EQ(exampleReading(u"テレビ (テレビ) TV"_s), u"テレビ"_s);
    // Brackets that hold no reading, none at all, or one left open give nothing to speak.
    EXPECT_EQ(exampleReading(u"日当たり (someone's) exposure"_s), QString());
    EXPECT_EQ(exampleReading(u"本日 (本日) heute"_s), QString());
    EXPECT_EQ(exampleReading(u"Beispiel 1"_s), QString());
    EXPECT_EQ(exampleReading(u"日本 (にほん"_s), QString());
    EXPECT_EQ(exampleReading(QString()), QString());

    KanjiRecord sun;
    sun.OnYomi = u"ニチ、ジツ"_s;
    sun.KunYomi = u"ひ、-び、-か, ひ"_s;
    EXPECT_EQ(readingsToSpeak(sun), u"ニチ、ジツ、ひ、び、か"_s);
    EXPECT_EQ(readingsToSpeak(KanjiRecord{}), QString());
}

TEST(SoundChoice, ASoundFileInTheSetsFolderElseTheReadingSpoken) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sounds = dir.path() + u"/Sounds/"_s;
    ASSERT_TRUE(QDir().mkpath(sounds + u"folder.wav"_s));
    ASSERT_TRUE(saveFileAtomically(sounds + u"nihon.wav"_s, "RIFF"));
    ASSERT_TRUE(saveFileAtomically(dir.path() + u"/outside.wav"_s, "RIFF"));

    KanjiRecord record;
    record.Beispiel = {u"日本 (にほん) Japan"_s, u"本日 (ほんじつ) heute"_s,
                       u"日曜日 (にちようび)"_s, u"ohne Lesung"_s};
    record.SoundFile = {u"nihon.wav"_s, u"missing.wav"_s, u"../outside.wav"_s, u"folder.wav"_s};

    const SoundToPlay file = exampleSound(record, 0, sounds);
    EXPECT_EQ(file.kind, SoundToPlay::Kind::File);
    EXPECT_EQ(file.path, sounds + u"nihon.wav"_s);
    // A missing file, a path out of the folder: the reading is spoken instead.
    const SoundToPlay missing = exampleSound(record, 1, sounds);
    EXPECT_EQ(missing.kind, SoundToPlay::Kind::Speech);
    EXPECT_EQ(missing.kana, u"ほんじつ"_s);
    const SoundToPlay outside = exampleSound(record, 2, sounds);
    EXPECT_EQ(outside.kind, SoundToPlay::Kind::Speech);
    EXPECT_EQ(outside.kana, u"にちようび"_s);
    // A folder is no sound, and an example without a reading has nothing to play.
    EXPECT_FALSE(exampleSound(record, 3, sounds).playable());
    EXPECT_FALSE(exampleSound(record, 4, sounds).playable());
    EXPECT_FALSE(exampleSound(record, -1, sounds).playable());
}

TEST(Speech, JapaneseWordGivesAudibleSamplesOfAPlausibleLength) {
    const Expected<SpeechSamples, QString> nihon = synthesizeSpeech(u"にほん"_s);
    ASSERT_TRUE(nihon.has_value())
        << nihon.error().toStdString() << " (scripts/setup installs espeak-ng-data)";
    ASSERT_GT(nihon->sampleRate, 8000);
    // Three morae take a few tenths of a second, not a moment and not several seconds.
    const double seconds = double(nihon->samples.size()) / nihon->sampleRate;
    EXPECT_GT(seconds, 0.2);
    EXPECT_LT(seconds, 2.0);
    const auto loudest =
        std::max_element(nihon->samples.begin(), nihon->samples.end(),
                         [](qint16 a, qint16 b) { return std::abs(int(a)) < std::abs(int(b)); });
    EXPECT_GT(std::abs(int(*loudest)), 1000) << "not silence";

    // A longer text takes longer; nothing to say gives nothing.
    const Expected<SpeechSamples, QString> longer = synthesizeSpeech(u"にほんごのべんきょう"_s);
    ASSERT_TRUE(longer.has_value());
    EXPECT_GT(longer->samples.size(), nihon->samples.size() * 2);
    const Expected<SpeechSamples, QString> empty = synthesizeSpeech(u"  "_s);
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->samples.empty());
}
