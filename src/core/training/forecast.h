// The forecast: reviews falling due per day ahead, and the share of kanji known now per JLPT
// level.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/training/memorymodel.h"
#include "core/training/trainingrules.h"

#include <array>

inline constexpr int ForecastDays = 30;
// Known means recall of at least this much now in every asked kind.
inline constexpr double KnownRecall = 0.9;

struct LevelKnown {
    qint32 known = 0;
    qint32 total = 0;
};

struct Forecast {
    // Kanji falling due on each learner day from today: a kanji counts once, on the day its
    // first asked kind falls due; today holds the overdue ones too. New kanji are not counted.
    std::array<qint32, ForecastDays> duePerDay{};
    // Indexed by JLPT level (KanjiRecord::Idx2): 0 for none, 1 to 4. A kanji is known when every
    // asked kind it can answer was answered and its recall is at least KnownRecall.
    std::array<LevelKnown, 5> byLevel{};
};

// dayStart is the start of the learner's day (learnerDayStart); days are 24 hours from there.
Forecast forecast(const KanjiSet& set, const MemoryStates& states, const MemoryModel& model,
                  AskedKinds asked, double retention, qint64 now, qint64 dayStart);
