// The learning profile in memory: per-kanji answer counters keyed by the kanji's code, and the
// rules that keep them.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/training/grade.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <vector>

// The kinds of answer a profile counts, in the order of their blocks in a record.
enum class AnswerKind { On = 0, Kun = 1, Meaning = 2, Kanji = 3 };

struct AnswerStats {
    qint32 Right = 0;
    qint32 Partly = 0;
    qint32 Wrong = 0;
    qint32 Quota = 0;
    qint32 Series = 0;
    // Seconds since 1970 on the local clock. Unsigned, as the file's 32 bits then last until
    // 2106; read as signed they would turn negative in 2038 and sort before every older answer.
    quint32 LastAnswer = 0;

    bool operator==(const AnswerStats&) const = default;
};

struct ProfileRecord {
    qint32 Code = 0;
    AnswerStats KindOn;
    AnswerStats KindKun;
    AnswerStats KindMeaning;
    AnswerStats KindKanji;

    AnswerStats& stats(AnswerKind kind);
    const AnswerStats& stats(AnswerKind kind) const;
    bool operator==(const ProfileRecord&) const = default;
};

// Sorted by Code; empty while no profile is in use.
struct ProfileList {
    std::vector<ProfileRecord> records;
    int current = -1;

    bool empty() const { return records.empty(); }
    int size() const { return static_cast<int>(records.size()); }
    ProfileRecord* currentRecord() {
        return current >= 0 && current < size() ? &records[static_cast<size_t>(current)] : nullptr;
    }
    const ProfileRecord* currentRecord() const {
        return current >= 0 && current < size() ? &records[static_cast<size_t>(current)] : nullptr;
    }
};

// The stored success percentage: right answers of right and wrong ones; 0 before any.
qint32 storedQuota(qint32 right, qint32 wrong);

// Counts one graded answer into a kind's block; now is the answer's time (see answerTime).
void recordInStats(AnswerStats& stats, Grade result, quint32 now);

// The local date and time as seconds since 1970, its calendar fields read as if they were UTC;
// times outside 1970 to 2106 stop at those ends.
quint32 answerTime(const QDateTime& local);

// The index of the record with that code, -1 when there is none. Finds by bisection in the sorted
// list, and by a scan when the list is not sorted.
int profileIndexOf(const ProfileList& list, qint32 code);

// Makes the record with that code current; false (and none current) when there is none.
bool findProfileRecord(ProfileList& list, qint32 code);

// Sorts the list by code, ascending; records of one code keep their order.
void sortByCode(ProfileList& list);

// Appends a zeroed record for code and sorts the list by code.
void addProfileRecord(ProfileList& list, qint32 code);

// Sorts the list by code and folds records of one code into the first: their counts are added,
// the quotas recomputed from the sums, and the series and time of the later answer kept.
void mergeDuplicateRecords(ProfileList& list);

// Makes the list hold exactly one record per kanji of the set, sorted by code: kanji without a
// record get a zeroed one (a free record, code 0, is taken first), records of kanji the set no
// longer holds are dropped. The set is not changed.
void syncProfile(ProfileList& list, const KanjiSet& set);

// The profile name a text gives: its file part (after the last "/" or "\", quotes removed) up to
// the first ".".
QString profileNameOf(const QString& text);

// Whether a typed text may name a new profile: it holds no path separator and gives a name that
// is neither empty nor holds a control character.
bool isUsableProfileInput(const QString& text);
