// The first picture of an ICO file, read without an image plugin.
#include "base/ico.h"

#include <QtEndian>

#include <cstring>

namespace {

constexpr qsizetype DirectoryBytes = 6;
constexpr qsizetype EntryBytes = 16;
constexpr qsizetype BitmapHeaderBytes = 40;
constexpr int MaxSide = 256;

quint16 read16(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 read32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// Rows bottom-up as B, G, R, A bytes; the AND mask after them is not needed, as the alpha
// channel says the same.
std::optional<RgbaImage> decodeBitmap(const QByteArray& bytes, qsizetype at, qsizetype size) {
    if (size < BitmapHeaderBytes || read32(bytes, at) != BitmapHeaderBytes) {
        return std::nullopt;
    }
    const auto width = static_cast<qint32>(read32(bytes, at + 4));
    const auto doubledHeight = static_cast<qint32>(read32(bytes, at + 8));
    const quint16 bitsPerPixel = read16(bytes, at + 14);
    const quint32 compression = read32(bytes, at + 16);
    const qint32 height = doubledHeight / 2;
    if (bitsPerPixel != 32 || compression != 0 || width <= 0 || width > MaxSide || height <= 0 ||
        height > MaxSide || doubledHeight != 2 * height) {
        return std::nullopt;
    }
    const qsizetype rowBytes = qsizetype(width) * 4;
    if (size < BitmapHeaderBytes + rowBytes * height) {
        return std::nullopt;
    }
    RgbaImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t(width) * std::size_t(height));
    const char* rows = bytes.constData() + at + BitmapHeaderBytes;
    for (int y = 0; y < height; ++y) {
        // B, G, R, A bytes are 0xAARRGGBB words on the little-endian machines we build for.
        std::memcpy(image.pixels.data() + std::size_t(height - 1 - y) * std::size_t(width),
                    rows + rowBytes * y, std::size_t(rowBytes));
    }
    return image;
}

}  // namespace

std::optional<RgbaImage> decodeIco(const QByteArray& bytes) {
    if (bytes.size() < DirectoryBytes + EntryBytes || read16(bytes, 0) != 0 ||
        read16(bytes, 2) != 1 || read16(bytes, 4) == 0) {
        return std::nullopt;
    }
    const quint32 size = read32(bytes, DirectoryBytes + 8);
    const quint32 offset = read32(bytes, DirectoryBytes + 12);
    if (offset > quint32(bytes.size()) || size > quint32(bytes.size()) - offset) {
        return std::nullopt;
    }
    return decodeBitmap(bytes, offset, size);
}
