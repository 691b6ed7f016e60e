// Fuzz target for the set file reader: nothing may crash, reading in halves gives nothing or what
// one pass gives, and whatever parses must come back unchanged from a write and a second parse.
#include "core/kanjiset/setfile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool sameStoredFields(const KanjiRecord& a, const KanjiRecord& b) {
    return a.Idx1 == b.Idx1 && a.Idx2 == b.Idx2 && a.Unicode == b.Unicode && a.Anim == b.Anim &&
           a.OnYomi == b.OnYomi && a.KunYomi == b.KunYomi && a.Bemerkung == b.Bemerkung &&
           a.Genshi == b.Genshi && a.Beispiel == b.Beispiel && a.SoundFile == b.SoundFile;
}

bool sameRecords(const std::vector<KanjiRecord>& a, const std::vector<KanjiRecord>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameStoredFields);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto parsed = parseSetFile(bytes);
    const auto halves = parseSetFileInHalves(bytes);
    require(!halves || (parsed && sameRecords(*halves, *parsed)));
    if (!parsed) {
        return 0;
    }
    const QByteArray written = writeSetFile(*parsed);
    const auto again = parseSetFile(written);
    require(again.has_value());
    require(sameRecords(*parsed, *again));
    require(writeSetFile(*again) == written);
    return 0;
}
