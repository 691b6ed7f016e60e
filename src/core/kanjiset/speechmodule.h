// What the speech module (src/modules/speechmodule.cpp, espeak-ng) hands out; loaded at the first
// spoken reading, so that neither espeak-ng nor its audio libraries load with the program.
#pragma once

#include "core/kanjiset/speech.h"

struct SpeechModule {
    static constexpr const char* Library = "renkari_speech";
    static constexpr const char* Entry = "renkari_speech_module";
    static constexpr int Version = 1;

    int version;
    Expected<SpeechSamples, QString> (*synthesize)(const QString& kana);
};
