// The review log: its header and records, read whole and appended to.
#include "core/training/reviewlog.h"

#include <QDateTime>
#include <QtEndian>

#include <array>

namespace {

constexpr char Magic[4] = {'R', 'K', 'L', 'G'};
constexpr quint16 Version = 1;
constexpr qint32 LastCodePoint = 0x10FFFF;
// The end of the year 9999; a later time is damage, and would overflow the model's sums.
constexpr qint64 LastTime = 253'402'300'799;

FileError malformed(const QString& why) {
    return FileError{FileErrorKind::Malformed, why};
}

bool headerIsValid(const char* bytes) {
    return std::equal(Magic, Magic + 4, bytes) &&
           qFromLittleEndian<quint16>(bytes + 4) == Version &&
           qFromLittleEndian<quint16>(bytes + 6) == ReviewRecordBytes;
}

// The entry a record holds, or nothing when a value is out of range.
std::optional<ReviewEntry> readRecord(const char* bytes) {
    const auto type = quint8(bytes[0]);
    const auto kind = quint8(bytes[1]);
    const auto verdict = quint8(bytes[2]);
    ReviewEntry entry;
    entry.time = qFromLittleEndian<qint64>(bytes + 4);
    entry.code = qFromLittleEndian<qint32>(bytes + 12);
    entry.right = qFromLittleEndian<qint32>(bytes + 16);
    entry.partly = qFromLittleEndian<qint32>(bytes + 20);
    entry.wrong = qFromLittleEndian<qint32>(bytes + 24);
    const bool seed = type == quint8(ReviewEntryType::Seed);
    if (type > 1 || kind > 3 || verdict > 3 || bytes[3] != 0 || entry.time < 0 ||
        entry.time > LastTime || entry.code <= 0 || entry.code > LastCodePoint || entry.right < 0 ||
        entry.partly < 0 || entry.wrong < 0) {
        return std::nullopt;
    }
    if ((seed && verdict != 0) ||
        (!seed && (entry.right != 0 || entry.partly != 0 || entry.wrong != 0))) {
        return std::nullopt;
    }
    entry.type = ReviewEntryType(type);
    entry.kind = AnswerKind(kind);
    entry.verdict = Grade(verdict);
    return entry;
}

}  // namespace

ReviewEntry answerEntry(qint64 time, qint32 code, AnswerKind kind, Grade verdict) {
    ReviewEntry entry;
    entry.kind = kind;
    entry.verdict = verdict;
    entry.time = time;
    entry.code = code;
    return entry;
}

FileResult<ReviewLogContent> parseReviewLog(const QByteArray& bytes) {
    if (bytes.size() < ReviewLogHeaderBytes || !headerIsValid(bytes.constData())) {
        return unexpected(malformed(QStringLiteral("header")));
    }
    ReviewLogContent content;
    const qsizetype body = bytes.size() - ReviewLogHeaderBytes;
    const qsizetype records = body / ReviewRecordBytes;
    content.torn = body % ReviewRecordBytes != 0;
    content.entries.reserve(size_t(records));
    for (qsizetype i = 0; i < records; ++i) {
        const auto entry =
            readRecord(bytes.constData() + ReviewLogHeaderBytes + i * ReviewRecordBytes);
        if (!entry) {
            return unexpected(malformed(QStringLiteral("record %1").arg(i + 1)));
        }
        content.entries.push_back(*entry);
    }
    return content;
}

FileResult<ReviewLogContent> readReviewLog(const QString& path, qint64 maxBytes) {
    FileResult<QByteArray> bytes = readWholeFile(path, maxBytes);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    return parseReviewLog(*bytes);
}

FileResult<void> startReviewLog(const QString& path, const std::vector<ReviewEntry>& entries) {
    QByteArray bytes = reviewLogHeader();
    bytes.reserve(ReviewLogHeaderBytes + qsizetype(entries.size()) * ReviewRecordBytes);
    for (const ReviewEntry& entry : entries) {
        bytes += reviewRecordBytes(entry);
    }
    return saveFileAtomically(path, bytes);
}

QByteArray reviewLogHeader() {
    QByteArray out(ReviewLogHeaderBytes, '\0');
    std::copy(Magic, Magic + 4, out.data());
    qToLittleEndian<quint16>(Version, out.data() + 4);
    qToLittleEndian<quint16>(quint16(ReviewRecordBytes), out.data() + 6);
    return out;
}

QByteArray reviewRecordBytes(const ReviewEntry& entry) {
    QByteArray out(ReviewRecordBytes, '\0');
    char* bytes = out.data();
    bytes[0] = char(entry.type);
    bytes[1] = char(entry.kind);
    bytes[2] = entry.type == ReviewEntryType::Seed ? 0 : char(entry.verdict);
    qToLittleEndian<qint64>(entry.time, bytes + 4);
    qToLittleEndian<qint32>(entry.code, bytes + 12);
    const bool seed = entry.type == ReviewEntryType::Seed;
    qToLittleEndian<qint32>(seed ? entry.right : 0, bytes + 16);
    qToLittleEndian<qint32>(seed ? entry.partly : 0, bytes + 20);
    qToLittleEndian<qint32>(seed ? entry.wrong : 0, bytes + 24);
    return out;
}

FileResult<ReviewLogWriter> ReviewLogWriter::open(const QString& path) {
    FileResult<AppendFile> opened = AppendFile::open(path);
    if (!opened) {
        return unexpected(opened.error());
    }
    AppendFile file = std::move(*opened);
    if (file.size() == 0) {
        if (FileResult<void> written = file.append(reviewLogHeader()); !written) {
            return unexpected(written.error());
        }
        return ReviewLogWriter(std::move(file));
    }
    FileResult<QByteArray> head = file.head(ReviewLogHeaderBytes);
    if (!head) {
        return unexpected(head.error());
    }
    if (head->size() < ReviewLogHeaderBytes || !headerIsValid(head->constData())) {
        return unexpected(malformed(QStringLiteral("header")));
    }
    const qint64 torn = (file.size() - ReviewLogHeaderBytes) % ReviewRecordBytes;
    if (torn != 0) {
        if (FileResult<void> cut = file.truncate(file.size() - torn); !cut) {
            return unexpected(cut.error());
        }
    }
    return ReviewLogWriter(std::move(file));
}

FileResult<void> ReviewLogWriter::append(const std::vector<ReviewEntry>& entries) {
    QByteArray bytes;
    bytes.reserve(qsizetype(entries.size()) * ReviewRecordBytes);
    for (const ReviewEntry& entry : entries) {
        bytes += reviewRecordBytes(entry);
    }
    return file_.append(bytes);
}

FileResult<void> ReviewLogWriter::append(const ReviewEntry& entry) {
    return file_.append(reviewRecordBytes(entry));
}

FileResult<void> ReviewLogWriter::sync() {
    return file_.sync();
}

qint64 utcOfLocalAnswerTime(quint32 localAsUtc, const QTimeZone& zone) {
    const QDateTime fields = QDateTime::fromSecsSinceEpoch(qint64(localAsUtc), QTimeZone::utc());
    const QDateTime local(fields.date(), fields.time(), zone);
    // A time a clock change skipped is taken as the one it moves to; none is before 1970.
    return std::max<qint64>(0,
                            local.isValid() ? local.toSecsSinceEpoch() : fields.toSecsSinceEpoch());
}

std::vector<ReviewEntry> seedEntries(const ProfileList& profile, const QTimeZone& zone) {
    constexpr std::array Kinds{AnswerKind::On, AnswerKind::Kun, AnswerKind::Meaning,
                               AnswerKind::Kanji};
    std::vector<ReviewEntry> seeds;
    for (const ProfileRecord& record : profile.records) {
        if (record.Code <= 0 || record.Code > LastCodePoint) {
            continue;
        }
        for (AnswerKind kind : Kinds) {
            const AnswerStats& stats = record.stats(kind);
            if (stats.Right <= 0 && stats.Partly <= 0 && stats.Wrong <= 0) {
                continue;
            }
            ReviewEntry seed;
            seed.type = ReviewEntryType::Seed;
            seed.kind = kind;
            seed.code = record.Code;
            seed.time = utcOfLocalAnswerTime(stats.LastAnswer, zone);
            seed.right = std::max(stats.Right, 0);
            seed.partly = std::max(stats.Partly, 0);
            seed.wrong = std::max(stats.Wrong, 0);
            seeds.push_back(seed);
        }
    }
    return seeds;
}
