// Which kanji a practice sheet holds.
#include "core/training/practicechoice.h"

#include "core/training/quota.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <utility>

namespace {

std::vector<int> byLowestQuota(const KanjiSet& set, const ProfileList& profile, int atMost) {
    QHash<qint32, const ProfileRecord*> records;
    for (const ProfileRecord& record : profile.records) {
        records.insert(record.Code, &record);
    }
    // A kanji never answered right is weakest; one not yet trained comes next, before any that
    // was answered right at least once, however low its quota.
    std::vector<std::pair<qint64, int>> ranked;
    ranked.reserve(set.records.size());
    for (int i = 0; i < set.size(); ++i) {
        if (isBlank(set.records[i])) {
            continue;
        }
        const ProfileRecord* record = records.value(set.records[i].Unicode, nullptr);
        // Written answers count like the others: a kanji read well but written badly needs
        // the practice a sheet gives most.
        const QuotaFigures f =
            record != nullptr ? quotaFigures(*record, CountedKinds{.kanji = true}) : QuotaFigures{};
        qint64 rank = 1;
        if (f.trained) {
            rank = f.band == 0 ? 0 : 2 + qint64(f.quota);
        }
        ranked.emplace_back(rank, i);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<int> positions;
    for (const auto& [rank, index] : ranked) {
        if (static_cast<int>(positions.size()) == atMost) {
            break;
        }
        positions.push_back(index);
    }
    return positions;
}

std::vector<int> ofTraining(const KanjiSet& set, const std::vector<qint32>& codes, int atMost) {
    QHash<qint32, int> indexOfCode;
    for (int i = set.size() - 1; i >= 0; --i) {
        if (!isBlank(set.records[i])) {
            indexOfCode.insert(set.records[i].Unicode, i);
        }
    }
    std::vector<int> positions;
    QSet<qint32> taken;
    for (qint32 code : codes) {
        const auto found = indexOfCode.constFind(code);
        if (static_cast<int>(positions.size()) == atMost) {
            break;
        }
        if (found != indexOfCode.constEnd() && !taken.contains(code)) {
            taken.insert(code);
            positions.push_back(*found);
        }
    }
    return positions;
}

}  // namespace

std::vector<int> practicePositions(const KanjiSet& set, const ProfileList* profile,
                                   const std::vector<qint32>& lastTrainingCodes,
                                   const PrintChoice& choice) {
    const int atMost = std::max(choice.atMost, 0);
    // Records in set order that a predicate takes, up to atMost.
    const auto where = [&set, atMost](const auto& takes) {
        std::vector<int> positions;
        for (int i = 0; i < set.size() && static_cast<int>(positions.size()) < atMost; ++i) {
            if (!isBlank(set.records[i]) && takes(i, set.records[i])) {
                positions.push_back(i);
            }
        }
        return positions;
    };
    switch (choice.scope) {
        case PrintScope::Weakest:
            if (profile != nullptr) {
                return byLowestQuota(set, *profile, atMost);
            }
            if (std::vector<int> positions = ofTraining(set, lastTrainingCodes, atMost);
                !positions.empty()) {
                return positions;
            }
            return where([](int, const KanjiRecord&) { return true; });
        case PrintScope::LastRun:
            return ofTraining(set, lastTrainingCodes, atMost);
        case PrintScope::Jlpt:
            return where([level = choice.jlptLevel](int, const KanjiRecord& record) {
                return record.Idx2 == level;
            });
        case PrintScope::Range:
            return where([range = choice.range](int i, const KanjiRecord&) {
                return i + 1 >= range.start && i + 1 <= range.end;
            });
    }
    return {};
}
