// Fuzz target for the profile file reader and the rules run on what it reads: nothing may crash,
// whole files come back byte for byte, and merging and syncing leave one record per kanji.
#include "core/training/profilefile.h"
#include "core/training/profilerecord.h"

#include "fuzzinput.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    ProfileFileContent content = parseProfileFile(bytes);
    require(qsizetype(content.records.size()) * ProfileRecordBytes <= bytes.size());
    if (content.whole) {
        require(writeProfileFile(content.records) == bytes);
    }
    ProfileList list;
    list.records = std::move(content.records);
    mergeDuplicateRecords(list);
    // A set made of the first codes the file names, so syncing meets matches and misses.
    KanjiSet set;
    for (size_t i = 0; i < list.records.size() && i < 8; i += 2) {
        KanjiRecord kanji;
        kanji.Unicode = i % 4 == 0 ? list.records[i].Code : list.records[i].Code / 2;
        set.records.push_back(kanji);
    }
    syncProfile(list, set);
    for (size_t i = 1; i < list.records.size(); ++i) {
        require(list.records[i - 1].Code < list.records[i].Code);
    }
    for (const KanjiRecord& kanji : set.records) {
        require(findProfileRecord(list, kanji.Unicode));
    }
    return 0;
}
