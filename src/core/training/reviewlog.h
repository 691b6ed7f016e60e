// The review log, <profile>.rklog: every graded answer with its time, appended as it is given,
// and the source the memory model replays and the profile's counters are rebuilt from.
//
// Layout, all numbers little-endian. A header of 8 bytes:
//     0  4 bytes  magic "RKLG"
//     4  uint16   version, 1 or 2
//     6  uint16   record size: 28 in version 1, 32 in version 2
// then records of that size. Version 2, 32 bytes a record:
//     0  uint8    type: 0 an answer, 1 a seed (a kind's history before the log began), 2 an undo
//                 (it cancels the answer it names by the fields at 1, 2, 4 and 12)
//     1  uint8    kind: 0 On, 1 Kun, 2 Meaning, 3 Kanji (the profile's order)
//     2  uint8    grade of an answer, or of the answer an undo cancels: 0 wrong, 1 partly,
//                 2 right, 3 easy; 0 in a seed
//     3  uint8    0
//     4  int64    time, seconds since 1970 UTC, before the year 10000: of the answer (of the
//                 cancelled answer in an undo), or of a seed's last answer
//    12  int32    the kanji's code (Unicode), 1 to 0x10FFFF
//    16  int32    a seed's right answers; an answer's duration in milliseconds (0 unknown);
//                 0 in an undo
//    20  int32    a seed's partly right answers, else 0
//    24  int32    a seed's wrong answers, else 0
//    28  int32    a seed's series (right answers since its last wrong one), else 0
// Version 1 has the first 28 bytes of these records, no undo and no duration (offset 16 is 0 in
// an answer). A version 1 log is read as it is and appended to with version 1 records (an
// answer's duration is not kept, and an undo cuts the cancelled answers off the end instead); it
// becomes version 2 when the log is rewritten whole (a merge). A new log is version 2.
//
// Records follow in the order they were appended, which is the order of time; a log rewritten
// whole is sorted by time. An undo follows the answers of the question it cancels (at most
// UndoReach answers before it); an undo whose answer is not there (cancelled on another computer
// before the answer arrived here) is kept, so that the answer stays cancelled when it arrives. A
// file whose length after the header is no multiple of the record size ends in a record a crash
// cut short.
#pragma once

#include "base/appendfile.h"
#include "base/files.h"
#include "core/training/grade.h"
#include "core/training/profilerecord.h"

#include <QByteArray>
#include <QString>
#include <QTimeZone>

#include <deque>
#include <functional>
#include <vector>

inline constexpr qsizetype ReviewLogHeaderBytes = 8;
inline constexpr qsizetype ReviewRecordBytesV1 = 28;
inline constexpr qsizetype ReviewRecordBytes = 32;
inline constexpr int ReviewLogVersion = 2;
// The most answers an undo may stand after the answer it cancels: one question's answers.
inline constexpr int UndoReach = 8;

enum class ReviewEntryType : quint8 { Answer = 0, Seed = 1, Undo = 2 };

struct ReviewEntry {
    ReviewEntryType type = ReviewEntryType::Answer;
    AnswerKind kind = AnswerKind::Kanji;
    Grade verdict = Grade::Wrong;
    qint64 time = 0;
    qint32 code = 0;
    // A seed's counts of the kind's answers, and its series.
    qint32 right = 0;
    qint32 partly = 0;
    qint32 wrong = 0;
    qint32 series = 0;
    // An answer's duration in milliseconds, 0 when unknown.
    qint32 durationMs = 0;

    bool operator==(const ReviewEntry&) const = default;
};

ReviewEntry answerEntry(qint64 time, qint32 code, AnswerKind kind, Grade verdict,
                        qint32 durationMs = 0);
// The undo record that cancels that answer.
ReviewEntry undoEntry(const ReviewEntry& answer);
// Whether two entries are the same one, as a merge tells them: type, kind, grade, time and code.
bool sameReview(const ReviewEntry& a, const ReviewEntry& b);
// Whether a log can hold the entry: a kanji's code, a time before the year 10000, a seed's counts
// not negative.
bool isStorable(const ReviewEntry& entry);
// Whether an undo record cancels that answer.
bool cancels(const ReviewEntry& undo, const ReviewEntry& answer);

struct ReviewLogContent {
    std::vector<ReviewEntry> entries;
    int version = ReviewLogVersion;
    // True when the last record was cut short and left out.
    bool torn = false;
};

// The bytes of a log, every record as it stands (undo records too); a bad header or a record
// holding a value out of range is Malformed (its text says which record), a cut last record is
// left out and flagged.
FileResult<ReviewLogContent> parseReviewLog(const QByteArray& bytes);

// The largest log read, which holds 9 million answers of version 1.
inline constexpr qint64 ReviewLogMaxBytes = qint64(256) << 20;

struct ReviewLogShape {
    int version = ReviewLogVersion;
    bool torn = false;
};
// Reads the log at path a piece at a time, handing each record to take in order, so a long log
// costs no more memory than its reader keeps. Errors as parseReviewLog; take has then seen the
// records before the bad one.
FileResult<ReviewLogShape> streamReviewLog(const QString& path,
                                           const std::function<void(const ReviewEntry&)>& take,
                                           qint64 maxBytes = ReviewLogMaxBytes);
// The whole log as it stands, read a piece at a time.
FileResult<ReviewLogContent> readReviewLog(const QString& path,
                                           qint64 maxBytes = ReviewLogMaxBytes);

// Hands on a log's entries with the answers undone left out: it holds back the last UndoReach
// answers, so an undo can take its answer out before anyone sees it. The undo records themselves
// are handed on, as a merge keeps them (an answer undone here stays undone when another
// computer's copy of it arrives); replay, rebuild and export pass over them.
class UndoFilter {
public:
    explicit UndoFilter(std::function<void(const ReviewEntry&)> take) : take_(std::move(take)) {}
    void push(const ReviewEntry& entry);
    // Hands on what is held back; at the end of the log.
    void finish();

private:
    std::function<void(const ReviewEntry&)> take_;
    std::deque<ReviewEntry> held_;
    int heldAnswers_ = 0;
};

// The log's entries with undone answers left out, in log order: what export, the optimiser and a
// merge work on. The undo records stay; all but a merge pass over them.
FileResult<std::vector<ReviewEntry>> readReviewHistory(const QString& path,
                                                       qint64 maxBytes = ReviewLogMaxBytes);

// Writes a new version 2 log of the header and these entries whole, with the crash-safe save
// helper: for a profile that had no log, in place of a damaged one once it is kept as .bak, and
// for a merge.
FileResult<void> startReviewLog(const QString& path, const std::vector<ReviewEntry>& entries);

QByteArray reviewLogHeader(int version = ReviewLogVersion);
// A record of that version; a version 1 record drops an answer's duration and a seed's series,
// and has no undo (an undo entry is refused there by the writer).
QByteArray reviewRecordBytes(const ReviewEntry& entry, int version = ReviewLogVersion);

// The log kept open for appending answers as they are given.
class ReviewLogWriter {
public:
    // Opens the log, creating it with a version 2 header when it does not exist or is empty. A
    // record cut short by a crash is cut off, so what follows stays aligned; a file that is no log
    // is Malformed and left untouched.
    static FileResult<ReviewLogWriter> open(const QString& path);

    // The version of the file's records: appended records are of that version too.
    int version() const { return version_; }
    // The file's length now; what cut takes back to.
    qint64 size() const { return file_.size(); }

    // Appends the entries; an undo entry in a version 1 log is refused (Malformed), as that
    // version cannot hold one.
    FileResult<void> append(const std::vector<ReviewEntry>& entries);
    FileResult<void> append(const ReviewEntry& entry);
    // Cuts the file back to a length it had: how a version 1 log takes back the answers of the
    // question just undone.
    FileResult<void> cut(qint64 length);
    // Makes the appended answers durable: at the end of a run and at exit.
    FileResult<void> sync();

private:
    ReviewLogWriter(AppendFile file, int version) : file_(std::move(file)), version_(version) {}
    AppendFile file_;
    int version_ = ReviewLogVersion;
};

// One seed per kanji and kind of the profile that holds any answers, for a profile that had no
// log. The profile's times are local times stored as if UTC; zone is the local zone they were
// taken in.
std::vector<ReviewEntry> seedEntries(const ProfileList& profile,
                                     const QTimeZone& zone = QTimeZone::systemTimeZone());

// The real UTC time of a profile's LastAnswer taken in zone.
qint64 utcOfLocalAnswerTime(quint32 localAsUtc, const QTimeZone& zone);
// A UTC time as the profile stores it: local time in zone, its fields read as if UTC.
quint32 localAnswerTime(qint64 utc, const QTimeZone& zone);
