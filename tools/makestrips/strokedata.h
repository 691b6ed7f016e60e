// Stroke data of the kanjidraw package: every stroke of a kanji as one straight segment.
#pragma once

#include <QByteArray>

#include <optional>
#include <unordered_map>
#include <vector>

// One stroke from its start point to its end point, in the data's box of about 0-255.
struct StrokeSegment {
    float x1 = 0;
    float y1 = 0;
    float x2 = 0;
    float y2 = 0;
};

// Strokes in writing order, keyed by the kanji's code point.
using StrokeTable = std::unordered_map<char32_t, std::vector<StrokeSegment>>;

// Reads {"<stroke count>": {"<kanji>": [[x1, y1, x2, y2], ...]}}. A kanji whose key is not a
// single character or whose strokes are not four numbers each is left out, so one broken entry
// costs only that kanji. nullopt when the text is not a JSON object of that shape at all.
std::optional<StrokeTable> parseStrokeData(const QByteArray& json);
