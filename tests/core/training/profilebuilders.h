// Test helpers: profile records with the counts a test cares about.
#pragma once

#include "core/training/profilerecord.h"

inline AnswerStats answers(qint32 right, qint32 partly, qint32 wrong) {
    AnswerStats stats;
    stats.Right = right;
    stats.Partly = partly;
    stats.Wrong = wrong;
    return stats;
}

inline ProfileRecord profileRecord(qint32 code, AnswerStats on = {}, AnswerStats kun = {},
                                   AnswerStats meaning = {}) {
    ProfileRecord record;
    record.Code = code;
    record.KindOn = on;
    record.KindKun = kun;
    record.KindMeaning = meaning;
    return record;
}
