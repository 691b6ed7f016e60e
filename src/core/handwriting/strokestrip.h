// A stroke-order strip: one 100 x 100 frame per stroke, side by side, drawn from stroke points in
// KanjiVG's box, which fills the frame but for a margin of 3 pixels. Frame k shows strokes 1 to
// k + 1: the earlier ones black, the newest red with a dot where the pen starts.
#pragma once

#include "core/handwriting/strokes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int StripFrameSize = 100;

struct StripRgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(const StripRgb&, const StripRgb&) = default;
};

// Two anti-aliasing levels share one byte: index = 16 * black + red, each level 0-15.
constexpr int StripLevels = 16;
using StripPalette = std::array<StripRgb, StripLevels * StripLevels>;
StripPalette stripPalette();

// Palette indices, row by row; width = StripFrameSize * number of strokes.
struct StripImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// No strokes give an empty image.
StripImage renderStrip(const StrokeList& strokes);
