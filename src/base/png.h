// PNG decoding with libpng into a plain pixel buffer.
#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

// Pixels as 0xAARRGGBB, row after row.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// nullopt for anything that is not a PNG we are willing to decode, including images so large
// that a small hostile file would make us allocate gigabytes.
std::optional<RgbaImage> decodePng(const QByteArray& bytes);
