// Tidying a set after imports: one record per kanji, no records without content.
#include "core/review/optimiselist.h"

#include <QHash>

#include <utility>

namespace {

template <class T>
void fill(T& kept, T& later, const T& empty) {
    if (kept == empty && later != empty) {
        kept = std::move(later);
    }
}

void fillText(QString& kept, QString& later) {
    if (kept.isEmpty() && !later.isEmpty()) {
        kept = std::move(later);
    }
}

void fillImage(ImageHandle& kept, ImageHandle& later) {
    if (!kept && later) {
        kept = std::move(later);
    }
}

void mergeInto(KanjiRecord& kept, KanjiRecord& later) {
    fill(kept.Idx1, later.Idx1, 0);
    fill(kept.Idx2, later.Idx2, 0);
    fillText(kept.Anim, later.Anim);
    fillImage(kept.KanjiImage, later.KanjiImage);
    fillImage(kept.StrokeImage, later.StrokeImage);
    fillText(kept.OnYomi, later.OnYomi);
    fillText(kept.KunYomi, later.KunYomi);
    fillText(kept.Bemerkung, later.Bemerkung);
    fillText(kept.GenshiMeaning, later.GenshiMeaning);
    fillText(kept.Genshi, later.Genshi);
    for (size_t i = 0; i < 4; ++i) {
        fillImage(kept.ExampleMedia[i], later.ExampleMedia[i]);
        fillText(kept.SoundFile[i], later.SoundFile[i]);
        fillText(kept.Beispiel[i], later.Beispiel[i]);
    }
}

bool hasNoContent(const KanjiRecord& record) {
    if (record.Unicode != 0) {
        return false;
    }
    for (const QString* text : {&record.Anim, &record.OnYomi, &record.KunYomi, &record.Bemerkung,
                                &record.GenshiMeaning, &record.Genshi}) {
        if (!text->isEmpty()) {
            return false;
        }
    }
    for (size_t i = 0; i < 4; ++i) {
        if (!record.SoundFile[i].isEmpty() || !record.Beispiel[i].isEmpty()) {
            return false;
        }
    }
    return true;
}

}  // namespace

OptimiseResult optimiseList(KanjiSet& set) {
    OptimiseResult result;
    std::vector<KanjiRecord>& records = set.records;
    // Where each kept record goes in the new order, by code.
    QHash<qint32, int> keptByCode;
    keptByCode.reserve(static_cast<qsizetype>(records.size()));
    std::vector<KanjiRecord> kept;
    kept.reserve(records.size());
    int current = -1;
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
        KanjiRecord& record = records[static_cast<size_t>(i)];
        const bool wasCurrent = i == set.current;
        if (record.Unicode != 0) {
            const auto found = keptByCode.constFind(record.Unicode);
            if (found != keptByCode.constEnd()) {
                mergeInto(kept[static_cast<size_t>(*found)], record);
                ++result.merged;
                if (wasCurrent) {
                    current = *found;
                }
                continue;
            }
            keptByCode.insert(record.Unicode, static_cast<int>(kept.size()));
        } else if (hasNoContent(record)) {
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
    }
    records = std::move(kept);
    set.current = current;
    return result;
}
