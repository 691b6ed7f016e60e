// The figures over a whole profile that the statistics window sums up, and the text it shows them
// in.
#pragma once

#include "core/shell/texttables.h"
#include "core/training/quota.h"

#include <QString>

#include <array>
#include <vector>

struct StatisticsFigures {
    qint32 total = 0;
    qint32 trained = 0;
    qint32 untrained = 0;
    // Trained kanji per quota band, indexed by band.
    std::array<qint32, 6> bands{};
    // Highest and lowest quota of a trained kanji; 0 while none is trained.
    qint32 best = 0;
    qint32 worst = 0;
};

StatisticsFigures statisticsFigures(const std::vector<QuotaRow>& rows);

// The summary as the learner reads it, lines ending in "\n" and band counts set off by TABs;
// empty without records or without a counted kind, when there is nothing to sum up. The best and
// worst lines appear only once a kanji is trained.
QString statisticsSummary(const StatisticsFigures& figures, CountedKinds kinds,
                          const TextTables& texts);
