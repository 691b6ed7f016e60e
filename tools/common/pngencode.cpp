// libpng's simplified writer: it keeps its error jumps inside libpng, away from C++ frames.
#include "pngencode.h"

#include <png.h>

#include <cstring>

std::optional<QByteArray> encodeStripPng(const StripImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height) {
        return std::nullopt;
    }
    const StripPalette palette = stripPalette();
    static_assert(sizeof(StripRgb) == 3, "libpng reads the palette as packed RGB triples");

    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGB_COLORMAP;
    png.colormap_entries = static_cast<png_uint_32>(palette.size());

    QByteArray out(static_cast<qsizetype>(PNG_IMAGE_PNG_SIZE_MAX(png)), Qt::Uninitialized);
    png_alloc_size_t size = static_cast<png_alloc_size_t>(out.size());
    const bool written = png_image_write_to_memory(&png, out.data(), &size, 0, image.pixels.data(),
                                                   image.width, palette.data()) != 0;
    png_image_free(&png);
    if (!written) {
        return std::nullopt;
    }
    out.truncate(static_cast<qsizetype>(size));
    return out;
}
