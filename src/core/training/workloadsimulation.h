// The days ahead as the daily review will make them: the answers each day is expected to ask,
// those today's and the coming days' answers cause included, and the new kanji at the chosen rate.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/training/memorymodel.h"
#include "core/training/reviewlog.h"
#include "core/training/schedulefuzz.h"
#include "core/training/trainingrules.h"

#include <vector>

struct WorkloadOptions {
    AskedKinds asked;
    double retention = 0.9;
    qint32 newPerDay = 10;
    qint64 now = 0;
    // The start of the learner's day (learnerDayStart); the days are 24 hours from there.
    qint64 dayStart = 0;
    qint32 days = 30;
    // The chance that a kind's first answer is right (firstAnswerRecall).
    double firstRecall = 0;
    // The due times of the kinds answered so far; without it, when recall reaches the retention.
    const DueSchedule* schedule = nullptr;
};

struct Workload {
    // The expected answers of each day: every due kind asked, and each new kanji's kinds.
    std::vector<double> answersPerDay;
    // New kanji begun each day.
    std::vector<qint32> newPerDay;
    // The expected number of kanji whose recall is at least 90 % in every asked kind at the end
    // of the last day, and the number of kanji asked.
    double knownAtEnd = 0;
    qint32 kanji = 0;
};

// The learner is taken to answer every due kind on the day it falls due (a kind due earlier on
// the first day), each right with the recall the model gives then, and to begin the new kanji
// the day takes after them, in set order; each answer moves the memory as the model says, and a
// kind answered falls due again a day later at the soonest. The outcomes are followed as
// weighted branches, so the figures are expectations, not one draw; a branch of less than
// 1/10,000 is folded into its other half, and a kind's branches due on the same day are merged
// into one with their mean memory.
Workload simulateWorkload(const KanjiSet& set, const MemoryStates& states, const MemoryModel& model,
                          const WorkloadOptions& options);

// The share of kinds whose first answer in the log was right (or partly); 0 without one.
double firstAnswerRecall(const std::vector<ReviewEntry>& entries);
