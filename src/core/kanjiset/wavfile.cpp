// The RIFF header is little-endian whatever the machine; the samples are written as such too.
#include "core/kanjiset/wavfile.h"

#include <QtEndian>

namespace {

void append32(QByteArray& out, quint32 value) {
    const quint32 little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), 4);
}

void append16(QByteArray& out, quint16 value) {
    const quint16 little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), 2);
}

}  // namespace

QByteArray wavFile(const SpeechSamples& sound) {
    const auto dataBytes = static_cast<quint32>(sound.samples.size() * sizeof(qint16));
    const auto rate = static_cast<quint32>(sound.sampleRate);
    QByteArray out;
    out.reserve(44 + static_cast<qsizetype>(dataBytes));
    out.append("RIFF");
    append32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    append32(out, 16);        // size of the format chunk
    append16(out, 1);         // PCM
    append16(out, 1);         // mono
    append32(out, rate);      // samples per second
    append32(out, rate * 2);  // bytes per second
    append16(out, 2);         // bytes per sample frame
    append16(out, 16);        // bits per sample
    out.append("data");
    append32(out, dataBytes);
    for (const qint16 sample : sound.samples) {
        append16(out, static_cast<quint16>(sample));
    }
    return out;
}
