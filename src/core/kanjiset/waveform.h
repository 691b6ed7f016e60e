// A recording's outline for drawing: the loudest sample of each slice of time.
#pragma once

#include <QtGlobal>

#include <vector>

// The loudest sample of each of `columns` equal slices of the first `span` samples, as a share of
// full scale (0 to 1). Slices past the end of `samples` are 0, so two recordings drawn with one
// span share one time scale. No columns or no span give an empty outline.
std::vector<float> waveformPeaks(const std::vector<qint16>& samples, qsizetype span, int columns);
