// Japanese kana spoken by espeak-ng into memory: 16-bit mono samples, nothing written to disk.
#pragma once

#include "base/expected.h"

#include <QString>

#include <vector>

struct SpeechSamples {
    std::vector<qint16> samples;
    int sampleRate = 0;  // samples per second
};

// Speaks the text with espeak-ng's Japanese voice "ja". The voice's data is loaded on the first
// call; that one takes longer. Kanji are not read: give kana. An empty text gives no samples.
// Fails with espeak-ng's reason when its data or the voice is missing, and with the loader's when
// the speech module is.
Expected<SpeechSamples, QString> synthesizeSpeech(const QString& kana);
