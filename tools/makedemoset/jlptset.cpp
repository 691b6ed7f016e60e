// The JLPT demo set's order and the mapping of KANJIDIC2 fields onto kanji records.
#include "jlptset.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr int kRadicalCount = 214;

bool hasJlptLevel(const KanjidicEntry& entry) {
    return entry.jlptLevel >= 1 && entry.jlptLevel <= 4;
}

// The Genshi list holds the radicals in their traditional order, so radical n sits at n - 1.
QString genshiOf(const KanjidicEntry& entry) {
    if (entry.classicalRadical < 1 || entry.classicalRadical > kRadicalCount) {
        return {};
    }
    return QString::number(entry.classicalRadical - 1) + u',';
}

KanjiRecord recordOf(const KanjidicEntry& entry, qint32 index, const HasStrip& hasStrip,
                     const ExamplesOf& examplesOf, const BemerkungOf& bemerkungOf) {
    KanjiRecord record;
    record.Idx1 = index;
    record.Idx2 = entry.jlptLevel;
    record.Unicode = static_cast<qint32>(entry.codePoint);
    record.OnYomi = entry.onReadings.join(u'、');
    record.KunYomi = entry.kunReadings.join(u'、');
    record.Bemerkung = bemerkungOf ? bemerkungOf(entry) : entry.meanings.join(u", "_qs);
    record.Genshi = genshiOf(entry);
    if (hasStrip(entry.codePoint)) {
        record.Anim = stripFileName(entry.codePoint);
    }
    if (examplesOf) {
        record.Beispiel = examplesOf(entry.codePoint);
    }
    return record;
}

}  // namespace

QString stripFileName(char32_t codePoint) {
    return QString::number(static_cast<quint32>(codePoint)) + u".png"_qs;
}

bool comesBefore(const KanjidicEntry& a, const KanjidicEntry& b) {
    const auto key = [](const KanjidicEntry& entry) {
        const bool unranked = entry.frequencyRank <= 0;
        return std::make_tuple(-entry.jlptLevel, unranked, entry.frequencyRank, entry.codePoint);
    };
    return key(a) < key(b);
}

std::vector<KanjiRecord> buildJlptSet(const std::vector<KanjidicEntry>& entries,
                                      const HasStrip& hasStrip, const ExamplesOf& examplesOf,
                                      const BemerkungOf& bemerkungOf) {
    std::vector<const KanjidicEntry*> chosen;
    for (const KanjidicEntry& entry : entries) {
        if (hasJlptLevel(entry) && entry.codePoint != 0) {
            chosen.push_back(&entry);
        }
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const KanjidicEntry* a, const KanjidicEntry* b) { return comesBefore(*a, *b); });

    std::vector<KanjiRecord> records;
    records.reserve(chosen.size());
    for (const KanjidicEntry* entry : chosen) {
        records.push_back(recordOf(*entry, static_cast<qint32>(records.size() + 1), hasStrip,
                                   examplesOf, bemerkungOf));
    }
    return records;
}
