// What the answer counters of a profile record say about a kanji.
#include "core/training/quota.h"

#include <algorithm>
#include <limits>

namespace {

// Counters come from profile files; sums are taken wide so that no file can make them wrap.
qint32 clamped(qint64 value) {
    return static_cast<qint32>(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

int bandOf(qint32 right, qint32 quota) {
    if (right == 0) {
        return 0;
    }
    if (quota < 50) {
        return 1;
    }
    if (quota < 75) {
        return 2;
    }
    if (quota < 90) {
        return 3;
    }
    return quota < 100 ? 4 : 5;
}

qint32 sortKey(const QuotaRow& row, QuotaOrder order) {
    switch (order) {
        case QuotaOrder::Kanji:
            return row.code;
        case QuotaOrder::Right:
            return row.figures.right;
        case QuotaOrder::Wrong:
            return row.figures.wrong;
        case QuotaOrder::Quota:
            return row.figures.quota;
    }
    return 0;
}

}  // namespace

QuotaFigures quotaFigures(const ProfileRecord& record, CountedKinds kinds) {
    qint64 right = 0;
    qint64 partly = 0;
    qint64 wrong = 0;
    const auto add = [&](bool counted, const AnswerStats& stats) {
        if (counted) {
            right += stats.Right;
            partly += stats.Partly;
            wrong += stats.Wrong;
        }
    };
    add(kinds.on, record.KindOn);
    add(kinds.kun, record.KindKun);
    add(kinds.meaning, record.KindMeaning);
    add(kinds.kanji, record.KindKanji);

    QuotaFigures figures;
    figures.right = clamped(right);
    figures.partly = clamped(partly);
    figures.wrong = clamped(wrong);
    figures.trained = right + wrong > 0;
    const qint64 answers = right + partly + wrong;
    // Only negative counters, which no training writes, could leave a trained kanji without
    // answers to divide by.
    if (figures.trained && answers > 0) {
        figures.quota = clamped(100 * right / answers);
        figures.band = bandOf(figures.right, figures.quota);
    }
    return figures;
}

QString quotaText(const QuotaFigures& figures) {
    return figures.trained ? QString::number(figures.quota) : QStringLiteral("-");
}

int quotaCategory(const QuotaFigures& figures) {
    return figures.trained ? figures.band : 0;
}

std::vector<QuotaRow> quotaRows(const ProfileList& list, CountedKinds kinds, QuotaOrder order) {
    std::vector<QuotaRow> rows;
    rows.reserve(list.records.size());
    for (const ProfileRecord& record : list.records) {
        rows.push_back({record.Code, quotaFigures(record, kinds)});
    }
    if (order == QuotaOrder::Kanji) {
        std::stable_sort(rows.begin(), rows.end(), [](const QuotaRow& a, const QuotaRow& b) {
            return sortKey(a, QuotaOrder::Kanji) < sortKey(b, QuotaOrder::Kanji);
        });
    } else {
        std::stable_sort(rows.begin(), rows.end(), [order](const QuotaRow& a, const QuotaRow& b) {
            return sortKey(a, order) > sortKey(b, order);
        });
    }
    return rows;
}
