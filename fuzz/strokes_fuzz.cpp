// Fuzz target for the stroke file reader and the strip drawn from whatever strokes it accepts.
#include "core/handwriting/strokelibrary.h"
#include "core/handwriting/strokestrip.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Expected<StrokeLibrary, QString> library = StrokeLibrary::parse(bytes);
    if (!library) {
        if (library.error().isEmpty()) {
            std::abort();
        }
        return 0;
    }
    // The first character's code sits right after the header, in both versions. A file without
    // an index was read whole, so it must find it; in a file with an index only the last
    // character was checked, and a broken one is found without strokes.
    if (library->empty() || size < 14) {
        return 0;
    }
    std::uint32_t first = 0;
    for (int i = 3; i >= 0; --i) {
        first = first << 8 | data[10 + i];
    }
    const bool indexed = data[4] == 2;
    const StrokeList* strokes = library->find(first);
    if (strokes == nullptr && indexed) {
        return 0;
    }
    if (strokes == nullptr || strokes->empty()) {
        std::abort();
    }
    const StripImage strip = renderStrip(*strokes);
    if (strip.width != StripFrameSize * static_cast<int>(strokes->size()) ||
        strip.pixels.size() != static_cast<size_t>(strip.width) * strip.height) {
        std::abort();
    }
    return 0;
}
