// Tidying a set after imports: records of one kanji merged where they agree, no blank records.
#include "core/review/optimiselist.h"

#include <QHash>

#include <algorithm>
#include <utility>

namespace {

bool numbersConflict(qint32 first, qint32 second) {
    return first != 0 && second != 0 && first != second;
}

bool textsConflict(const QString& first, const QString& second) {
    return holdsValue(first) && holdsValue(second) && first != second;
}

bool exampleHoldsValue(const KanjiRecord& record, size_t i) {
    return holdsValue(record.SoundFile[i]) || holdsValue(record.Beispiel[i]);
}

// Every value of example i of part is also the value of whole's.
bool exampleWithin(const KanjiRecord& part, const KanjiRecord& whole, size_t i) {
    return (!holdsValue(part.SoundFile[i]) || part.SoundFile[i] == whole.SoundFile[i]) &&
           (!holdsValue(part.Beispiel[i]) || part.Beispiel[i] == whole.Beispiel[i]);
}

bool examplesConflict(const KanjiRecord& first, const KanjiRecord& second, size_t i) {
    return exampleHoldsValue(first, i) && exampleHoldsValue(second, i) &&
           !exampleWithin(first, second, i) && !exampleWithin(second, first, i);
}

void takeNumber(qint32& kept, qint32 later) {
    if (kept == 0) {
        kept = later;
    }
}

void takeText(QString& kept, QString& later) {
    if (!holdsValue(kept) && holdsValue(later)) {
        kept = std::move(later);
    }
}

// Only for records of one kanji that do not conflict.
void mergeInto(KanjiRecord& kept, KanjiRecord& later) {
    takeNumber(kept.Idx1, later.Idx1);
    takeNumber(kept.Idx2, later.Idx2);
    takeText(kept.Anim, later.Anim);
    takeText(kept.OnYomi, later.OnYomi);
    takeText(kept.KunYomi, later.KunYomi);
    takeText(kept.Bemerkung, later.Bemerkung);
    takeText(kept.GenshiMeaning, later.GenshiMeaning);
    takeText(kept.Genshi, later.Genshi);
    for (size_t i = 0; i < 4; ++i) {
        takeText(kept.SoundFile[i], later.SoundFile[i]);
        takeText(kept.Beispiel[i], later.Beispiel[i]);
    }
}

// Blank records, and those an import made of an empty line, whose texts are blanks.
bool holdsNoValue(const KanjiRecord& record) {
    if (record.Unicode != 0) {
        return false;
    }
    for (const QString* text : {&record.Anim, &record.OnYomi, &record.KunYomi, &record.Bemerkung,
                                &record.GenshiMeaning, &record.Genshi}) {
        if (holdsValue(*text)) {
            return false;
        }
    }
    for (size_t i = 0; i < 4; ++i) {
        if (holdsValue(record.SoundFile[i]) || holdsValue(record.Beispiel[i])) {
            return false;
        }
    }
    return true;
}

// The kept records of one code, linked in set order through optimisePass's nextOfCode.
struct CodeChain {
    int first = -1;
    int last = -1;
};

}  // namespace

bool holdsValue(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); });
}

bool recordsConflict(const KanjiRecord& first, const KanjiRecord& second) {
    if (numbersConflict(first.Idx1, second.Idx1) || numbersConflict(first.Idx2, second.Idx2)) {
        return true;
    }
    for (const auto field :
         {&KanjiRecord::Anim, &KanjiRecord::OnYomi, &KanjiRecord::KunYomi, &KanjiRecord::Bemerkung,
          &KanjiRecord::GenshiMeaning, &KanjiRecord::Genshi}) {
        if (textsConflict(first.*field, second.*field)) {
            return true;
        }
    }
    for (size_t i = 0; i < 4; ++i) {
        if (examplesConflict(first, second, i)) {
            return true;
        }
    }
    return false;
}

namespace {

kanjilist::OptimiseResult optimisePass(KanjiSet& set) {
    kanjilist::OptimiseResult result;
    std::vector<KanjiRecord>& records = set.records;
    QHash<qint32, CodeChain> chains;
    chains.reserve(static_cast<qsizetype>(records.size()));
    std::vector<KanjiRecord> kept;
    kept.reserve(records.size());
    // For each kept record, the next kept record of its code (-1 for none).
    std::vector<int> nextOfCode;
    nextOfCode.reserve(records.size());
    int current = -1;
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
        KanjiRecord& record = records[static_cast<size_t>(i)];
        const bool wasCurrent = i == set.current;
        if (record.Unicode != 0) {
            CodeChain& chain = chains[record.Unicode];
            int joined = -1;
            for (int k = chain.first; k >= 0; k = nextOfCode[static_cast<size_t>(k)]) {
                if (!recordsConflict(kept[static_cast<size_t>(k)], record)) {
                    joined = k;
                    break;
                }
            }
            if (joined >= 0) {
                mergeInto(kept[static_cast<size_t>(joined)], record);
                ++result.merged;
                if (wasCurrent) {
                    current = joined;
                }
                continue;
            }
            const int index = static_cast<int>(kept.size());
            if (chain.last >= 0) {
                nextOfCode[static_cast<size_t>(chain.last)] = index;
            } else {
                chain.first = index;
            }
            chain.last = index;
        } else if (holdsNoValue(record)) {
            ++result.removed;
            if (wasCurrent) {
                current = static_cast<int>(kept.size()) - 1;
            }
            continue;
        }
        if (wasCurrent) {
            current = static_cast<int>(kept.size());
        }
        kept.push_back(std::move(record));
        nextOfCode.push_back(-1);
    }
    for (const CodeChain& chain : std::as_const(chains)) {
        if (chain.first != chain.last) {
            ++result.keptTwice;
        }
    }
    records = std::move(kept);
    set.current = current;
    return result;
}

}  // namespace

kanjilist::OptimiseResult optimiseList(KanjiSet& set) {
    kanjilist::OptimiseResult result = optimisePass(set);
    // A record filled by a merge may now hold all that a record kept beside it holds (an
    // example's text joined its sound file), so the kept ones are looked at again until no
    // two of one kanji could become one.
    int merged = result.merged;
    while (merged > 0 && result.keptTwice > 0) {
        const kanjilist::OptimiseResult again = optimisePass(set);
        merged = again.merged;
        result.merged += again.merged;
        result.keptTwice = again.keptTwice;
    }
    return result;
}
