// A recording as a WAV file: 16-bit mono PCM after the 44-byte RIFF header.
#pragma once

#include "core/kanjiset/speech.h"

#include <QByteArray>

QByteArray wavFile(const SpeechSamples& sound);
