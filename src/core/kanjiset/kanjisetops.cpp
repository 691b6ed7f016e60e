// Removing, sorting, finding and stepping through the records of a set.
#include "core/kanjiset/kanjisetops.h"

#include <algorithm>
#include <numeric>

void removeKanji(KanjiSet& set, int index) {
    if (index == -1) {
        set.records.clear();
        set.current = -1;
        return;
    }
    if (index < 0 || index >= set.size()) {
        return;
    }
    // Erasing the record releases its image handles along with it.
    set.records.erase(set.records.begin() + index);
    set.current = index - 1;
}

int sortSetKeepingCurrent(KanjiSet& set, int currentIndex) {
    const int size = set.size();
    if (size == 0) {
        set.current = -1;
        return -1;
    }
    const int remembered =
        set.currentRecord() ? set.current : std::clamp(currentIndex, 0, size - 1);
    // Sets are saved sorted, so after loading and most edits there is nothing to move.
    const auto byIndex = [](const KanjiRecord& a, const KanjiRecord& b) { return a.Idx1 < b.Idx1; };
    if (std::is_sorted(set.records.begin(), set.records.end(), byIndex)) {
        set.current = remembered;
        return remembered;
    }

    // Sorting positions and moving each record once keeps a 13,000-kanji set quick.
    std::vector<int> order(set.records.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return set.records[a].Idx1 < set.records[b].Idx1; });
    std::vector<KanjiRecord> sorted;
    sorted.reserve(set.records.size());
    int current = -1;
    for (int position = 0; position < size; ++position) {
        if (order[position] == remembered) {
            current = position;
        }
        sorted.push_back(std::move(set.records[order[position]]));
    }
    set.records = std::move(sorted);
    set.current = current;
    return current;
}

int findByCode(const KanjiSet& set, qint32 code) {
    const auto found =
        std::find_if(set.records.begin(), set.records.end(),
                     [code](const KanjiRecord& record) { return record.Unicode == code; });
    if (found == set.records.end()) {
        return set.size() - 1;
    }
    return int(found - set.records.begin());
}

int stepFrom(const KanjiSet& set, int from, int n) {
    if (set.empty()) {
        return -1;
    }
    // Widened so that extreme step counts cannot overflow.
    const qint64 target = qint64(std::clamp(from, 0, set.size() - 1)) + n;
    return int(std::clamp<qint64>(target, 0, set.size() - 1));
}
