// The profile file: a record count and the records, each 25 32-bit little-endian numbers.
#include "core/training/profilefile.h"

#include <QtEndian>

#include <algorithm>
#include <array>

namespace {

constexpr std::array Kinds{AnswerKind::On, AnswerKind::Kun, AnswerKind::Meaning, AnswerKind::Kanji};

class Reader {
public:
    explicit Reader(const char* data) : data_(data) {}
    qint32 next() { return static_cast<qint32>(nextUnsigned()); }
    quint32 nextUnsigned() {
        const quint32 value = qFromLittleEndian<quint32>(data_);
        data_ += 4;
        return value;
    }

private:
    const char* data_;
};

void readStats(Reader& in, AnswerStats& stats) {
    stats.Right = in.next();
    stats.Partly = in.next();
    stats.Wrong = in.next();
    stats.Quota = in.next();
    stats.Series = in.next();
    stats.LastAnswer = in.nextUnsigned();
}

void append(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void append(QByteArray& out, qint32 value) {
    append(out, static_cast<quint32>(value));
}

void writeStats(QByteArray& out, const AnswerStats& stats) {
    for (qint32 value : {stats.Right, stats.Partly, stats.Wrong, stats.Quota, stats.Series}) {
        append(out, value);
    }
    append(out, stats.LastAnswer);
}

}  // namespace

ProfileFileContent parseProfileFile(const QByteArray& bytes) {
    ProfileFileContent content;
    if (bytes.size() < 4) {
        content.whole = false;
        return content;
    }
    const qint32 count = qFromLittleEndian<qint32>(bytes.constData());
    const qsizetype held = (bytes.size() - 4) / ProfileRecordBytes;
    content.whole = count >= 0 && bytes.size() == 4 + qsizetype(count) * ProfileRecordBytes;
    const qsizetype records = std::clamp<qsizetype>(count, 0, held);
    content.records.resize(static_cast<size_t>(records));
    Reader in(bytes.constData() + 4);
    for (ProfileRecord& record : content.records) {
        record.Code = in.next();
        for (AnswerKind kind : Kinds) {
            readStats(in, record.stats(kind));
        }
    }
    return content;
}

QByteArray writeProfileFile(const std::vector<ProfileRecord>& records) {
    QByteArray out;
    out.reserve(4 + qsizetype(records.size()) * ProfileRecordBytes);
    append(out, static_cast<qint32>(records.size()));
    for (const ProfileRecord& record : records) {
        append(out, record.Code);
        for (AnswerKind kind : Kinds) {
            writeStats(out, record.stats(kind));
        }
    }
    return out;
}
