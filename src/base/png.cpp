// PNG decoding with libpng into a plain pixel buffer.
#include "base/png.h"

#include <png.h>

namespace {

// A stroke-order strip of 100 frames is 10,000 pixels wide; leave ample room beyond that.
constexpr png_uint_32 MaxSide = 1u << 15;
constexpr std::uint64_t MaxPixels = std::uint64_t(1) << 26;

}  // namespace

std::optional<RgbaImage> decodePng(const QByteArray& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, bytes.constData(),
                                         static_cast<size_t>(bytes.size())) == 0) {
        return std::nullopt;
    }
    if (image.width == 0 || image.height == 0 || image.width > MaxSide || image.height > MaxSide ||
        std::uint64_t(image.width) * image.height > MaxPixels) {
        png_image_free(&image);
        return std::nullopt;
    }
    // BGRA bytes in memory are 0xAARRGGBB words on the little-endian machines we build for.
    image.format = PNG_FORMAT_BGRA;
    RgbaImage result;
    result.width = static_cast<int>(image.width);
    result.height = static_cast<int>(image.height);
    result.pixels.resize(std::size_t(image.width) * image.height);
    if (png_image_finish_read(&image, nullptr, result.pixels.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return std::nullopt;
    }
    return result;
}
