// The learning profile in memory: per-kanji answer counters keyed by the kanji's code.
#pragma once

#include <QtGlobal>

#include <vector>

// The kinds of answer a profile counts, in the order of their blocks in a record.
enum class AnswerKind { On = 0, Kun = 1, Meaning = 2, Kanji = 3 };

// The grade of one answer; the numbers index the result icons.
enum class AnswerResult { Wrong = 0, Partly = 1, Right = 2 };

struct AnswerStats {
    qint32 Right = 0;
    qint32 Partly = 0;
    qint32 Wrong = 0;
    qint32 Quota = 0;
    qint32 Series = 0;
    qint32 LastAnswer = 0;
};

struct ProfileRecord {
    qint32 Code = 0;
    AnswerStats KindOn;
    AnswerStats KindKun;
    AnswerStats KindMeaning;
    AnswerStats KindKanji;
    qint32 Matched = 0;
};

// Sorted by Code; empty while no profile is in use.
struct ProfileList {
    std::vector<ProfileRecord> records;
    int current = -1;

    bool empty() const { return records.empty(); }
    const ProfileRecord* currentRecord() const {
        return current >= 0 && current < static_cast<int>(records.size()) ? &records[current]
                                                                          : nullptr;
    }
};

// Makes the record with that code current; false (and the current record unchanged) when
// there is none.
bool findProfileRecord(ProfileList& list, qint32 code);
