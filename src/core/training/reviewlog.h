// The review log, <profile>.rklog: every graded answer with its time, appended as it is given,
// and the source the memory model replays.
//
// Layout, all numbers little-endian:
//   header, 8 bytes:
//     0  4 bytes  magic "RKLG"
//     4  uint16   version, 1
//     6  uint16   record size, 28
//   then records of 28 bytes each:
//     0  uint8    type: 0 an answer, 1 a seed (a kind's history before the log began)
//     1  uint8    kind: 0 On, 1 Kun, 2 Meaning, 3 Kanji (the profile's order)
//     2  uint8    verdict of an answer: 0 wrong, 1 partly, 2 right, 3 easy; 0 in a seed
//     3  uint8    0
//     4  int64    time, seconds since 1970 UTC, before the year 10000: of the answer, or of
//                 a seed's last answer
//    12  int32    the kanji's code (Unicode), 1 to 0x10FFFF
//    16  int32    a seed's right answers, 0 in an answer
//    20  int32    a seed's partly right answers, 0 in an answer
//    24  int32    a seed's wrong answers, 0 in an answer
// Records follow in the order they were appended, which is the order of time. A file whose
// length after the header is no multiple of 28 ends in a record a crash cut short.
#pragma once

#include "base/appendfile.h"
#include "base/files.h"
#include "core/training/profilerecord.h"

#include <QByteArray>
#include <QString>
#include <QTimeZone>

#include <vector>

inline constexpr qsizetype ReviewLogHeaderBytes = 8;
inline constexpr qsizetype ReviewRecordBytes = 28;

enum class ReviewEntryType : quint8 { Answer = 0, Seed = 1 };

struct ReviewEntry {
    ReviewEntryType type = ReviewEntryType::Answer;
    AnswerKind kind = AnswerKind::Kanji;
    Grade verdict = Grade::Wrong;
    qint64 time = 0;
    qint32 code = 0;
    // A seed's counts of the kind's answers.
    qint32 right = 0;
    qint32 partly = 0;
    qint32 wrong = 0;

    bool operator==(const ReviewEntry&) const = default;
};

ReviewEntry answerEntry(qint64 time, qint32 code, AnswerKind kind, Grade verdict);

struct ReviewLogContent {
    std::vector<ReviewEntry> entries;
    // True when the last record was cut short and left out.
    bool torn = false;
};

// The bytes of a log; a bad header or a record holding a value out of range is Malformed (its
// text says which record), a cut last record is left out and flagged.
FileResult<ReviewLogContent> parseReviewLog(const QByteArray& bytes);
// Reads and parses the log at path, at most maxBytes (which hold 9 million answers).
FileResult<ReviewLogContent> readReviewLog(const QString& path, qint64 maxBytes = qint64(256)
                                                                                  << 20);

// Writes a new log of the header and these entries (a profile's seeds) whole, with the
// crash-safe save helper: for a profile that had no log, or in place of a damaged one once it
// is kept as .bak.
FileResult<void> startReviewLog(const QString& path, const std::vector<ReviewEntry>& entries);

QByteArray reviewLogHeader();
QByteArray reviewRecordBytes(const ReviewEntry& entry);

// The log kept open for appending answers as they are given.
class ReviewLogWriter {
public:
    // Opens the log, creating it with its header when it does not exist or is empty. A record
    // cut short by a crash is cut off, so what follows stays aligned; a file that is no log is
    // Malformed and left untouched.
    static FileResult<ReviewLogWriter> open(const QString& path);

    FileResult<void> append(const std::vector<ReviewEntry>& entries);
    FileResult<void> append(const ReviewEntry& entry);
    // Makes the appended answers durable: at the end of a run and at exit.
    FileResult<void> sync();

private:
    explicit ReviewLogWriter(AppendFile file) : file_(std::move(file)) {}
    AppendFile file_;
};

// One seed per kanji and kind of the profile that holds any answers, for a profile that had no
// log. The profile's times are local times stored as if UTC; zone is the local zone they were
// taken in.
std::vector<ReviewEntry> seedEntries(const ProfileList& profile,
                                     const QTimeZone& zone = QTimeZone::systemTimeZone());

// The real UTC time of a profile's LastAnswer taken in zone.
qint64 utcOfLocalAnswerTime(quint32 localAsUtc, const QTimeZone& zone);
