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

// Pixels as indices into a table of 0xAARRGGBB colours, row after row: how a PNG with a palette
// stores them, in a quarter of the bytes of their colours.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;
    std::vector<std::uint32_t> colours;
};

// Pixels as red, green and blue bytes, row after row: a picture without transparency in three
// quarters of the bytes of 0xAARRGGBB.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
};

// nullopt for anything that is not a PNG we are willing to decode, including images so large
// that a small hostile file would make us allocate gigabytes.
std::optional<RgbaImage> decodePng(const QByteArray& bytes);
// The same for a PNG with a palette, kept as indices; nullopt also for a PNG without one.
std::optional<IndexedImage> decodePalettePng(const QByteArray& bytes);
// The same for a PNG in colour or grey without a palette or transparency; nullopt also for others.
std::optional<RgbImage> decodeOpaquePng(const QByteArray& bytes);
