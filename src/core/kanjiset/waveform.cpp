// Peaks per column, taken over every sample so that a short click is not missed between columns.
#include "core/kanjiset/waveform.h"

#include <algorithm>
#include <cstdlib>

std::vector<float> waveformPeaks(const std::vector<qint16>& samples, qsizetype span, int columns) {
    if (columns <= 0 || span <= 0) {
        return {};
    }
    std::vector<float> peaks(static_cast<size_t>(columns), 0.0F);
    const qsizetype available = std::min(span, static_cast<qsizetype>(samples.size()));
    for (qsizetype i = 0; i < available; ++i) {
        const auto column = static_cast<size_t>(i * columns / span);
        const float level =
            static_cast<float>(std::abs(int(samples[static_cast<size_t>(i)]))) / 32768.0F;
        peaks[column] = std::max(peaks[column], level);
    }
    return peaks;
}
