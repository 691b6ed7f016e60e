// Drawing a kanji's stroke-order strip: one 100 x 100 frame per stroke, side by side.
#pragma once

#include "strokedata.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kFrameSize = 100;

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Two anti-aliasing levels share one byte: index = 16 * black + red, each level 0-15. The
// palette colour lays black over white by its level and then the newest stroke's red over that.
constexpr int kLevels = 16;
using StripPalette = std::array<Rgb, kLevels * kLevels>;
StripPalette stripPalette();

// Palette indices, row by row, width = kFrameSize * number of strokes.
struct StripImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Frame k shows strokes 1 to k + 1: the earlier ones black, stroke k + 1 red with a dot where
// the pen starts. No strokes give an empty image.
StripImage renderStrip(const std::vector<StrokeSegment>& strokes);
