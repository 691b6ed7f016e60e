// Fuzz target for the PNG decoder that reads stroke-order strips.
#include "base/png.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const std::optional<RgbaImage> image = decodePng(bytes)) {
        if (image->pixels.size() != size_t(image->width) * size_t(image->height)) {
            std::abort();
        }
    }
    return 0;
}
