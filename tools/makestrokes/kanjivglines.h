// Reading KanjiVG's stroke table: a code point and the SVG path of each stroke per line.
#pragma once

#include "core/handwriting/strokes.h"

#include <QByteArray>
#include <QStringList>

#include <utility>
#include <vector>

struct KanjiVgStrokes {
    // In the order of the lines.
    std::vector<std::pair<char32_t, StrokeList>> characters;
    // Lines that were left out, each as "line <n>: <reason>".
    QStringList malformed;
};

// Lines are "<decimal code point>\t<path>\t<path>...", LF or CR LF ended; empty lines and lines
// starting with "#" are skipped. A line whose code point or any path cannot be read costs only
// that character. Curves become points within `tolerance` of them, in KanjiVG units.
KanjiVgStrokes readKanjiVgStrokes(const QByteArray& text, float tolerance);
