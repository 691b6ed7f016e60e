// The review log: its header and records, read a piece at a time and appended to.
#include "core/training/reviewlog.h"

#include <QDateTime>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace {

constexpr char Magic[4] = {'R', 'K', 'L', 'G'};
constexpr qint32 LastCodePoint = 0x10FFFF;
// The end of the year 9999; a later time is damage, and would overflow the model's sums.
constexpr qint64 LastTime = 253'402'300'799;
// What a streamed read takes at a time: whole records of either version.
constexpr qsizetype ChunkBytes = 28 * 32 * 1024;

FileError malformed(const QString& why) {
    return FileError{FileErrorKind::Malformed, why};
}

qsizetype recordBytesOf(int version) {
    return version == 1 ? ReviewRecordBytesV1 : ReviewRecordBytes;
}

// The version a header gives, 0 when it is no log's header.
int versionOf(const char* bytes) {
    if (!std::equal(Magic, Magic + 4, bytes)) {
        return 0;
    }
    const quint16 version = qFromLittleEndian<quint16>(bytes + 4);
    const quint16 size = qFromLittleEndian<quint16>(bytes + 6);
    if ((version == 1 || version == 2) && size == recordBytesOf(version)) {
        return version;
    }
    return 0;
}

// The entry a record holds, or nothing when a value is out of range.
std::optional<ReviewEntry> readRecord(const char* bytes, int version) {
    const auto type = quint8(bytes[0]);
    const auto kind = quint8(bytes[1]);
    const auto verdict = quint8(bytes[2]);
    const qint32 first = qFromLittleEndian<qint32>(bytes + 16);
    const qint32 partly = qFromLittleEndian<qint32>(bytes + 20);
    const qint32 wrong = qFromLittleEndian<qint32>(bytes + 24);
    const qint32 series = version == 1 ? 0 : qFromLittleEndian<qint32>(bytes + 28);
    ReviewEntry entry;
    entry.time = qFromLittleEndian<qint64>(bytes + 4);
    entry.code = qFromLittleEndian<qint32>(bytes + 12);
    const quint8 lastType = version == 1 ? 1 : 2;
    if (type > lastType || kind > 3 || verdict > 3 || bytes[3] != 0 || entry.time < 0 ||
        entry.time > LastTime || entry.code <= 0 || entry.code > LastCodePoint || first < 0 ||
        partly < 0 || wrong < 0 || series < 0) {
        return std::nullopt;
    }
    entry.type = ReviewEntryType(type);
    switch (entry.type) {
        case ReviewEntryType::Seed:
            if (verdict != 0) {
                return std::nullopt;
            }
            entry.right = first;
            entry.partly = partly;
            entry.wrong = wrong;
            entry.series = series;
            break;
        case ReviewEntryType::Answer:
            // Version 1 kept no duration: its field is 0 like the seed's counts.
            if (partly != 0 || wrong != 0 || series != 0 || (version == 1 && first != 0)) {
                return std::nullopt;
            }
            entry.durationMs = first;
            break;
        case ReviewEntryType::Undo:
            if (first != 0 || partly != 0 || wrong != 0 || series != 0) {
                return std::nullopt;
            }
            break;
    }
    entry.kind = AnswerKind(kind);
    entry.verdict = Grade(verdict);
    return entry;
}

// Parses records out of the pieces of a file as they come, keeping a record that spans two.
class RecordReader {
public:
    explicit RecordReader(const std::function<void(const ReviewEntry&)>& take) : take_(take) {}

    // False once the bytes are no log; error() then says why.
    bool feed(QByteArrayView bytes) {
        pending_.append(bytes.data(), bytes.size());
        qsizetype at = 0;
        if (version_ == 0) {
            if (pending_.size() < ReviewLogHeaderBytes) {
                return true;
            }
            version_ = versionOf(pending_.constData());
            if (version_ == 0) {
                error_ = malformed(QStringLiteral("header"));
                return false;
            }
            at = ReviewLogHeaderBytes;
        }
        const qsizetype size = recordBytesOf(version_);
        for (; pending_.size() - at >= size; at += size) {
            const auto entry = readRecord(pending_.constData() + at, version_);
            ++records_;
            if (!entry) {
                error_ = malformed(QStringLiteral("record %1").arg(records_));
                return false;
            }
            take_(*entry);
        }
        pending_.remove(0, at);
        return true;
    }

    FileResult<ReviewLogShape> finish() const {
        if (error_) {
            return unexpected(*error_);
        }
        if (version_ == 0) {
            return unexpected(malformed(QStringLiteral("header")));
        }
        return ReviewLogShape{version_, !pending_.isEmpty()};
    }

private:
    const std::function<void(const ReviewEntry&)>& take_;
    QByteArray pending_;
    int version_ = 0;
    qint64 records_ = 0;
    std::optional<FileError> error_;
};

}  // namespace

ReviewEntry answerEntry(qint64 time, qint32 code, AnswerKind kind, Grade verdict,
                        qint32 durationMs) {
    ReviewEntry entry;
    entry.kind = kind;
    entry.verdict = verdict;
    entry.time = time;
    entry.code = code;
    entry.durationMs = std::max(durationMs, 0);
    return entry;
}

ReviewEntry undoEntry(const ReviewEntry& answer) {
    ReviewEntry undo;
    undo.type = ReviewEntryType::Undo;
    undo.kind = answer.kind;
    undo.verdict = answer.verdict;
    undo.time = answer.time;
    undo.code = answer.code;
    return undo;
}

bool sameReview(const ReviewEntry& a, const ReviewEntry& b) {
    return a.type == b.type && a.kind == b.kind && a.verdict == b.verdict && a.time == b.time &&
           a.code == b.code;
}

bool isStorable(const ReviewEntry& entry) {
    const bool counts =
        entry.type != ReviewEntryType::Seed ||
        (entry.right >= 0 && entry.partly >= 0 && entry.wrong >= 0 && entry.series >= 0);
    return quint8(entry.type) <= 2 && int(entry.kind) >= 0 && int(entry.kind) <= 3 &&
           quint8(entry.verdict) <= 3 && entry.time >= 0 && entry.time <= LastTime &&
           entry.code > 0 && entry.code <= LastCodePoint && counts;
}

bool cancels(const ReviewEntry& undo, const ReviewEntry& answer) {
    return undo.type == ReviewEntryType::Undo && answer.type == ReviewEntryType::Answer &&
           undo.kind == answer.kind && undo.verdict == answer.verdict && undo.time == answer.time &&
           undo.code == answer.code;
}

FileResult<ReviewLogContent> parseReviewLog(const QByteArray& bytes) {
    ReviewLogContent content;
    const std::function<void(const ReviewEntry&)> take = [&](const ReviewEntry& entry) {
        content.entries.push_back(entry);
    };
    RecordReader reader(take);
    reader.feed(bytes);
    const FileResult<ReviewLogShape> shape = reader.finish();
    if (!shape) {
        return unexpected(shape.error());
    }
    content.version = shape->version;
    content.torn = shape->torn;
    return content;
}

FileResult<ReviewLogShape> streamReviewLog(const QString& path,
                                           const std::function<void(const ReviewEntry&)>& take,
                                           qint64 maxBytes) {
    RecordReader reader(take);
    const FileResult<void> read = readFileInChunks(
        path, maxBytes, ChunkBytes, [&](QByteArrayView bytes) { return reader.feed(bytes); });
    if (!read) {
        return unexpected(read.error());
    }
    return reader.finish();
}

FileResult<ReviewLogContent> readReviewLog(const QString& path, qint64 maxBytes) {
    ReviewLogContent content;
    const FileResult<ReviewLogShape> shape = streamReviewLog(
        path, [&](const ReviewEntry& entry) { content.entries.push_back(entry); }, maxBytes);
    if (!shape) {
        return unexpected(shape.error());
    }
    content.version = shape->version;
    content.torn = shape->torn;
    return content;
}

void UndoFilter::push(const ReviewEntry& entry) {
    if (entry.type == ReviewEntryType::Undo) {
        const auto answer = std::find_if(held_.rbegin(), held_.rend(),
                                         [&](const ReviewEntry& e) { return cancels(entry, e); });
        if (answer != held_.rend()) {
            held_.erase(std::next(answer).base());
            --heldAnswers_;
        }
    }
    held_.push_back(entry);
    heldAnswers_ += entry.type == ReviewEntryType::Answer;
    while (heldAnswers_ > UndoReach) {
        heldAnswers_ -= held_.front().type == ReviewEntryType::Answer;
        take_(held_.front());
        held_.pop_front();
    }
}

void UndoFilter::finish() {
    for (const ReviewEntry& entry : held_) {
        take_(entry);
    }
    held_.clear();
    heldAnswers_ = 0;
}

FileResult<std::vector<ReviewEntry>> readReviewHistory(const QString& path, qint64 maxBytes) {
    std::vector<ReviewEntry> entries;
    UndoFilter filter([&](const ReviewEntry& entry) { entries.push_back(entry); });
    const FileResult<ReviewLogShape> shape = streamReviewLog(
        path, [&](const ReviewEntry& entry) { filter.push(entry); }, maxBytes);
    if (!shape) {
        return unexpected(shape.error());
    }
    filter.finish();
    return entries;
}

FileResult<void> startReviewLog(const QString& path, const std::vector<ReviewEntry>& entries) {
    QByteArray bytes = reviewLogHeader();
    bytes.reserve(ReviewLogHeaderBytes + qsizetype(entries.size()) * ReviewRecordBytes);
    for (const ReviewEntry& entry : entries) {
        bytes += reviewRecordBytes(entry);
    }
    return saveFileAtomically(path, bytes);
}

QByteArray reviewLogHeader(int version) {
    QByteArray out(ReviewLogHeaderBytes, '\0');
    std::copy(Magic, Magic + 4, out.data());
    qToLittleEndian<quint16>(quint16(version), out.data() + 4);
    qToLittleEndian<quint16>(quint16(recordBytesOf(version)), out.data() + 6);
    return out;
}

QByteArray reviewRecordBytes(const ReviewEntry& entry, int version) {
    QByteArray out(recordBytesOf(version), '\0');
    char* bytes = out.data();
    const bool seed = entry.type == ReviewEntryType::Seed;
    const bool answer = entry.type == ReviewEntryType::Answer;
    bytes[0] = char(entry.type);
    bytes[1] = char(entry.kind);
    bytes[2] = seed ? 0 : char(entry.verdict);
    qToLittleEndian<qint64>(entry.time, bytes + 4);
    qToLittleEndian<qint32>(entry.code, bytes + 12);
    const qint32 first = seed ? entry.right : answer && version != 1 ? entry.durationMs : 0;
    qToLittleEndian<qint32>(std::max(first, 0), bytes + 16);
    qToLittleEndian<qint32>(seed ? entry.partly : 0, bytes + 20);
    qToLittleEndian<qint32>(seed ? entry.wrong : 0, bytes + 24);
    if (version != 1) {
        qToLittleEndian<qint32>(seed ? std::max(entry.series, 0) : 0, bytes + 28);
    }
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
        return ReviewLogWriter(std::move(file), ReviewLogVersion);
    }
    FileResult<QByteArray> head = file.head(ReviewLogHeaderBytes);
    if (!head) {
        return unexpected(head.error());
    }
    const int version = head->size() < ReviewLogHeaderBytes ? 0 : versionOf(head->constData());
    if (version == 0) {
        return unexpected(malformed(QStringLiteral("header")));
    }
    const qint64 torn = (file.size() - ReviewLogHeaderBytes) % recordBytesOf(version);
    if (torn != 0) {
        if (FileResult<void> cut = file.truncate(file.size() - torn); !cut) {
            return unexpected(cut.error());
        }
    }
    return ReviewLogWriter(std::move(file), version);
}

FileResult<void> ReviewLogWriter::append(const std::vector<ReviewEntry>& entries) {
    QByteArray bytes;
    bytes.reserve(qsizetype(entries.size()) * recordBytesOf(version_));
    for (const ReviewEntry& entry : entries) {
        if (version_ == 1 && entry.type == ReviewEntryType::Undo) {
            return unexpected(malformed(QStringLiteral("undo in a version 1 log")));
        }
        bytes += reviewRecordBytes(entry, version_);
    }
    return file_.append(bytes);
}

FileResult<void> ReviewLogWriter::append(const ReviewEntry& entry) {
    return append(std::vector<ReviewEntry>{entry});
}

FileResult<void> ReviewLogWriter::cut(qint64 length) {
    if (length < ReviewLogHeaderBytes || length > file_.size()) {
        return unexpected(malformed(QStringLiteral("cut")));
    }
    return file_.truncate(length);
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

quint32 localAnswerTime(qint64 utc, const QTimeZone& zone) {
    return answerTime(QDateTime::fromSecsSinceEpoch(utc, zone));
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
            seed.series = std::max(stats.Series, 0);
            seeds.push_back(seed);
        }
    }
    return seeds;
}
