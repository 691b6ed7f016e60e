// PNG decoding with libpng into a plain pixel buffer.
#include "base/png.h"

#include <png.h>

namespace {

// A stroke-order strip of 100 frames is 10,000 pixels wide; leave ample room beyond that.
constexpr png_uint_32 MaxSide = 1u << 15;
constexpr std::uint64_t MaxPixels = std::uint64_t(1) << 26;

// The header read into image, with the image's size checked; false where reading stops there.
// libpng keeps the image's address for reading the rest, so the image must not move.
bool beginRead(png_image& image, const QByteArray& bytes) {
    image = png_image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, bytes.constData(),
                                         static_cast<size_t>(bytes.size())) == 0) {
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > MaxSide || image.height > MaxSide ||
        std::uint64_t(image.width) * image.height > MaxPixels) {
        png_image_free(&image);
        return false;
    }
    return true;
}

// The pixels of an image begun with beginRead, in format, into pixels (and colours for a format
// with a palette); false where the file is damaged.
bool finishRead(png_image& image, png_uint_32 format, void* pixels, void* colours = nullptr) {
    image.format = format;
    if (png_image_finish_read(&image, nullptr, pixels, 0, colours) == 0) {
        png_image_free(&image);
        return false;
    }
    return true;
}

}  // namespace

std::optional<RgbaImage> decodePng(const QByteArray& bytes) {
    png_image image{};
    if (!beginRead(image, bytes)) {
        return std::nullopt;
    }
    RgbaImage result;
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    result.pixels.resize(std::size_t(image.width) * image.height);
    // BGRA bytes in memory are 0xAARRGGBB words on the little-endian machines we build for.
    if (!finishRead(image, PNG_FORMAT_BGRA, result.pixels.data())) {
        return std::nullopt;
    }
    return result;
}

std::optional<IndexedImage> decodePalettePng(const QByteArray& bytes) {
    png_image image{};
    if (!beginRead(image, bytes)) {
        return std::nullopt;
    }
    // Asked for indices, libpng would make a palette up for a picture without one, at a loss.
    if ((image.format & PNG_FORMAT_FLAG_COLORMAP) == 0) {
        png_image_free(&image);
        return std::nullopt;
    }
    IndexedImage result;
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    result.indices.resize(std::size_t(image.width) * image.height);
    result.colours.resize(PNG_IMAGE_MAXIMUM_COLORMAP_COMPONENTS(PNG_FORMAT_BGRA_COLORMAP) / 4);
    if (!finishRead(image, PNG_FORMAT_BGRA_COLORMAP, result.indices.data(),
                    result.colours.data())) {
        return std::nullopt;
    }
    result.colours.resize(image.colormap_entries);
    return result;
}

std::optional<RgbImage> decodeOpaquePng(const QByteArray& bytes) {
    png_image image{};
    if (!beginRead(image, bytes)) {
        return std::nullopt;
    }
    if ((image.format & (PNG_FORMAT_FLAG_COLORMAP | PNG_FORMAT_FLAG_ALPHA)) != 0) {
        png_image_free(&image);
        return std::nullopt;
    }
    RgbImage result;
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    result.bytes.resize(std::size_t(image.width) * image.height * 3);
    if (!finishRead(image, PNG_FORMAT_RGB, result.bytes.data())) {
        return std::nullopt;
    }
    return result;
}
