// What a sound button plays: an example's sound file, or the kana of a reading spoken aloud.
#pragma once

#include "core/kanjiset/kanjirecord.h"

#include <QString>

struct SoundToPlay {
    enum class Kind { Nothing, File, Speech };
    Kind kind = Kind::Nothing;
    QString path;  // Kind::File: the sound file
    QString kana;  // Kind::Speech: the text to speak

    bool playable() const { return kind != Kind::Nothing; }
};

// The reading of an example written "日本 (にほん) Japan": the kana in its first brackets
// (half- or full-width), without KANJIDIC's "." and "-" markers; empty when the brackets hold
// no kana, since the Japanese voice cannot read kanji.
QString exampleReading(const QString& example);

// The kanji's On- and Kun-readings as one text to speak, each once, in the order written,
// separated so that the voice pauses between them; empty when there are none.
QString readingsToSpeak(const KanjiRecord& record);

// What example i (0 to 3) of the record plays: its SoundFile when it names a regular file in
// soundsDir (the set's "Sounds" folder, ending in "/"), otherwise its reading spoken.
SoundToPlay exampleSound(const KanjiRecord& record, int i, const QString& soundsDir);
