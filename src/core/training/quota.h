// What the answer counters of a profile record say about a kanji: its totals, whether it has been
// trained, its quota and the quota band that colours it. The training selection and the
// statistics share these rules, so a kanji looks the same in both.
#pragma once

#include "core/training/profilerecord.h"

#include <QString>

#include <vector>

// The kinds of answer that are summed. Kanji writing is graded differently and counts only where
// a caller asks for it: the lists and the training selection leave it out.
struct CountedKinds {
    bool on = true;
    bool kun = true;
    bool meaning = true;
    bool kanji = false;
};

struct QuotaFigures {
    qint32 right = 0;
    qint32 partly = 0;
    qint32 wrong = 0;
    // Partly right answers alone leave a kanji untrained.
    bool trained = false;
    // Percent of right answers among all answers, rounded down; 0 while untrained.
    qint32 quota = 0;
    // 0 (no right answer) to 5 (all right), indexing the band colours; 0 while untrained.
    int band = 0;
};

QuotaFigures quotaFigures(const ProfileRecord& record, CountedKinds kinds);

// The quota as a list shows it: the number without a percent sign, "-" while untrained.
QString quotaText(const QuotaFigures& figures);
// The group a kanji is selected by: its band when trained, 0 (with the worst) otherwise.
int quotaCategory(const QuotaFigures& figures);

enum class QuotaOrder { Kanji, Right, Wrong, Quota };

struct QuotaRow {
    qint32 code = 0;
    QuotaFigures figures;
};

// One row per record, ordered by code ascending or by the other keys descending; rows with equal
// keys keep the order of the list.
std::vector<QuotaRow> quotaRows(const ProfileList& list, CountedKinds kinds, QuotaOrder order);
