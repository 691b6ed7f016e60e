// Fuzz target for the set file reader: nothing may crash, reading in halves gives nothing or what
// one pass gives, a first record told ahead is the set's first, and whatever parses must come back
// unchanged from a write and a second parse.
#include "core/kanjiset/setfile.h"

#include "fuzzinput.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

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
    const QByteArray bytes = fuzzBytes(data, size);
    const auto parsed = parseSetFile(bytes);
    // The first record told ahead is the first record of the set, and told once.
    int told = 0;
    KanjiRecord first;
    const auto halves = parseSetFileInHalves(bytes, [&told, &first](const KanjiRecord& record) {
        ++told;
        first = record;
    });
    require(told <= 1);
    require(!halves || (parsed && sameRecords(*halves, *parsed)));
    require(!halves || told == 0 || sameStoredFields(first, halves->front()));
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
