// The few protobuf messages of an Anki package, read from the wire format.
#include "core/review/ankiwire.h"

namespace {

constexpr int MaxVarintBytes = 10;

// Field numbers of the messages read here.
constexpr quint32 MetaVersion = 1;
constexpr quint32 MediaEntriesEntry = 1;
constexpr quint32 MediaName = 1;
constexpr quint32 MediaSize = 2;
constexpr quint32 MediaSha1 = 3;
constexpr quint32 MediaLegacyMember = 255;
constexpr quint32 TemplateQuestion = 1;
constexpr quint32 TemplateAnswer = 2;

QString utf8(QByteArrayView bytes) {
    return QString::fromUtf8(bytes);
}

std::optional<AnkiMediaEntry> parseMediaEntry(QByteArrayView bytes) {
    AnkiMediaEntry entry;
    WireReader reader(bytes);
    while (reader.next()) {
        const bool isBytes = reader.type() == WireReader::WireType::Bytes;
        const bool isVarint = reader.type() == WireReader::WireType::Varint;
        if (reader.field() == MediaName && isBytes) {
            entry.name = utf8(reader.bytes());
        } else if (reader.field() == MediaSize && isVarint) {
            entry.size = static_cast<quint32>(reader.number());
        } else if (reader.field() == MediaSha1 && isBytes) {
            entry.sha1 = reader.bytes().toByteArray();
        } else if (reader.field() == MediaLegacyMember && isVarint) {
            entry.member = static_cast<quint32>(reader.number());
        }
    }
    if (reader.failed()) {
        return std::nullopt;
    }
    return entry;
}

}  // namespace

std::optional<quint64> WireReader::readVarint() {
    quint64 value = 0;
    for (int i = 0; i < MaxVarintBytes; ++i) {
        if (pos_ >= bytes_.size()) {
            return std::nullopt;
        }
        const auto byte = static_cast<quint8>(bytes_[pos_++]);
        value |= quint64(byte & 0x7F) << (7 * i);
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
    return std::nullopt;
}

bool WireReader::next() {
    if (failed_ || pos_ >= bytes_.size()) {
        return false;
    }
    const std::optional<quint64> key = readVarint();
    if (!key || (*key >> 3) == 0 || (*key >> 3) > 0x1FFFFFFF) {
        failed_ = true;
        return false;
    }
    field_ = static_cast<quint32>(*key >> 3);
    const int wire = static_cast<int>(*key & 7);
    const auto fixed = [this](qsizetype width) {
        if (bytes_.size() - pos_ < width) {
            return false;
        }
        number_ = 0;
        for (qsizetype i = 0; i < width; ++i) {
            number_ |= quint64(static_cast<quint8>(bytes_[pos_ + i])) << (8 * i);
        }
        pos_ += width;
        return true;
    };
    bool good = false;
    switch (wire) {
        case 0: {
            type_ = WireType::Varint;
            const std::optional<quint64> value = readVarint();
            good = value.has_value();
            number_ = value.value_or(0);
            break;
        }
        case 1:
            type_ = WireType::Fixed64;
            good = fixed(8);
            break;
        case 2: {
            type_ = WireType::Bytes;
            const std::optional<quint64> length = readVarint();
            good = length && *length <= quint64(bytes_.size() - pos_);
            if (good) {
                content_ = bytes_.sliced(pos_, static_cast<qsizetype>(*length));
                pos_ += static_cast<qsizetype>(*length);
            }
            break;
        }
        case 5:
            type_ = WireType::Fixed32;
            good = fixed(4);
            break;
        default:
            // Groups (3, 4) are long gone from protobuf and the messages read here have none.
            break;
    }
    failed_ = !good;
    return good;
}

std::optional<int> packageVersion(QByteArrayView meta) {
    int version = 0;
    WireReader reader(meta);
    while (reader.next()) {
        if (reader.field() == MetaVersion && reader.type() == WireReader::WireType::Varint) {
            version = reader.number() <= 3 ? static_cast<int>(reader.number()) : 0;
        }
    }
    if (reader.failed()) {
        return std::nullopt;
    }
    return version;
}

std::optional<std::vector<AnkiMediaEntry>> parseMediaEntries(QByteArrayView bytes,
                                                             qsizetype maxEntries) {
    std::vector<AnkiMediaEntry> entries;
    WireReader reader(bytes);
    while (reader.next()) {
        if (reader.field() != MediaEntriesEntry || reader.type() != WireReader::WireType::Bytes) {
            continue;
        }
        if (static_cast<qsizetype>(entries.size()) >= maxEntries) {
            return std::nullopt;
        }
        std::optional<AnkiMediaEntry> entry = parseMediaEntry(reader.bytes());
        if (!entry) {
            return std::nullopt;
        }
        if (!entry->member) {
            entry->member = static_cast<quint32>(entries.size());
        }
        entries.push_back(std::move(*entry));
    }
    if (reader.failed()) {
        return std::nullopt;
    }
    return entries;
}

std::optional<TemplateFormats> parseTemplateConfig(QByteArrayView config) {
    TemplateFormats formats;
    WireReader reader(config);
    while (reader.next()) {
        if (reader.type() != WireReader::WireType::Bytes) {
            continue;
        }
        if (reader.field() == TemplateQuestion) {
            formats.question = utf8(reader.bytes());
        } else if (reader.field() == TemplateAnswer) {
            formats.answer = utf8(reader.bytes());
        }
    }
    if (reader.failed()) {
        return std::nullopt;
    }
    return formats;
}
