// The three-way merge of set files, record by record.
#include "core/kanjiset/setmerge.h"

#include <algorithm>
#include <map>
#include <utility>

namespace {

// A kanji's record, told apart from other records of the same code by their order.
using RecordKey = std::pair<qint32, int>;

struct KeyedRecords {
    std::vector<RecordKey> order;
    std::map<RecordKey, const KanjiRecord*> byKey;
};

KeyedRecords keyed(const std::vector<KanjiRecord>& records) {
    KeyedRecords result;
    std::map<qint32, int> seen;
    for (const KanjiRecord& record : records) {
        const RecordKey key{record.Unicode, seen[record.Unicode]++};
        result.order.push_back(key);
        result.byKey.emplace(key, &record);
    }
    return result;
}

const KanjiRecord* find(const KeyedRecords& records, const RecordKey& key) {
    const auto found = records.byKey.find(key);
    return found == records.byKey.end() ? nullptr : found->second;
}

// The fields a set file keeps: GenshiMeaning is looked up, not stored, so it differs between a
// record read and one being edited without either side having changed the kanji.
bool sameStored(const KanjiRecord& a, const KanjiRecord& b) {
    return a.Idx1 == b.Idx1 && a.Idx2 == b.Idx2 && a.Unicode == b.Unicode && a.Anim == b.Anim &&
           a.OnYomi == b.OnYomi && a.KunYomi == b.KunYomi && a.Bemerkung == b.Bemerkung &&
           a.Genshi == b.Genshi && a.SoundFile == b.SoundFile && a.Beispiel == b.Beispiel;
}

bool same(const KanjiRecord* a, const KanjiRecord* b) {
    return a == b || (a && b && sameStored(*a, *b));
}

// The record the merge keeps of one key (nullptr: none), and whether the sides conflict.
struct Decision {
    const KanjiRecord* kept = nullptr;
    bool conflict = false;
};

Decision decide(const KanjiRecord* base, bool hasBase, const KanjiRecord* main,
                const KanjiRecord* other) {
    if (same(main, other)) {
        return {main, false};
    }
    if (!hasBase) {
        return {main ? main : other, true};
    }
    if (!base) {
        // Added on one side, or on both to different records.
        return {main ? main : other, main && other};
    }
    const bool mainChanged = !same(main, base);
    const bool otherChanged = !same(other, base);
    if (mainChanged && otherChanged) {
        return {main, true};
    }
    return {mainChanged ? main : other, false};
}

}  // namespace

SetMerge mergeSets(const std::optional<std::vector<KanjiRecord>>& base,
                   const std::vector<KanjiRecord>& main, const std::vector<KanjiRecord>& other) {
    const KeyedRecords baseRecords = base ? keyed(*base) : KeyedRecords{};
    const KeyedRecords mainRecords = keyed(main);
    const KeyedRecords otherRecords = keyed(other);

    std::vector<RecordKey> keys = mainRecords.order;
    for (const RecordKey& key : otherRecords.order) {
        if (!mainRecords.byKey.contains(key)) {
            keys.push_back(key);
        }
    }

    SetMerge merged;
    for (const RecordKey& key : keys) {
        const Decision decision = decide(find(baseRecords, key), base.has_value(),
                                         find(mainRecords, key), find(otherRecords, key));
        if (decision.kept) {
            merged.records.push_back(*decision.kept);
        }
        if (decision.conflict) {
            merged.conflicts.push_back(key.first);
        }
    }
    std::stable_sort(merged.records.begin(), merged.records.end(),
                     [](const KanjiRecord& a, const KanjiRecord& b) {
                         return std::pair(a.Idx1, a.Unicode) < std::pair(b.Idx1, b.Unicode);
                     });
    std::sort(merged.conflicts.begin(), merged.conflicts.end());
    merged.conflicts.erase(std::unique(merged.conflicts.begin(), merged.conflicts.end()),
                           merged.conflicts.end());
    return merged;
}
