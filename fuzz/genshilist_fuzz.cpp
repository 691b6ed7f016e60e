// Fuzz target for the Genshi list reader and the Genshi position lists of a kanji.
#include "core/kanjiset/genshilist.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::vector<GenshiEntry> entries = parseGenshiList(bytes);
    for (const GenshiEntry& entry : entries) {
        if (entry.Nr == 0) {
            std::abort();
        }
    }
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(data),
                                            static_cast<qsizetype>(size / 2));
    for (qint32 position : genshiPositions(text)) {
        genshiEntryAt(entries, position);
    }
    return 0;
}
