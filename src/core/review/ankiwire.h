// The few protobuf messages of an Anki package, read from the wire format: varints and
// length-delimited fields, every length checked against the bytes that are there.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

// Walks the fields of one message. A field that runs past the end, a varint longer than ten
// bytes, a group or an unknown wire type stops the walk as failed.
class WireReader {
public:
    enum class WireType { Varint = 0, Fixed64 = 1, Bytes = 2, Fixed32 = 5 };

    explicit WireReader(QByteArrayView bytes) : bytes_(bytes) {}

    // The next field; false at the end of the message or on a fault (see failed()).
    bool next();
    bool failed() const { return failed_; }

    quint32 field() const { return field_; }
    WireType type() const { return type_; }
    // The value of a varint or fixed field.
    quint64 number() const { return number_; }
    // The content of a length-delimited field; it points into the bytes given.
    QByteArrayView bytes() const { return content_; }

private:
    std::optional<quint64> readVarint();

    QByteArrayView bytes_;
    qsizetype pos_ = 0;
    bool failed_ = false;
    quint32 field_ = 0;
    WireType type_ = WireType::Varint;
    quint64 number_ = 0;
    QByteArrayView content_;
};

// The collection a package's "meta" member names: 1 collection.anki2, 2 collection.anki21,
// 3 collection.anki21b; 0 when it names none. nullopt when the bytes are no such message.
std::optional<int> packageVersion(QByteArrayView meta);

struct AnkiMediaEntry {
    QString name;
    quint32 size = 0;
    QByteArray sha1;
    // The member that holds the file; its position in the list when the entry names none.
    std::optional<quint32> member;
};

// The media map of newer packages, one entry per media member, the member named by the entry's
// position; nullopt when the bytes are no such message or name more than maxEntries files.
std::optional<std::vector<AnkiMediaEntry>> parseMediaEntries(QByteArrayView bytes,
                                                             qsizetype maxEntries);

struct TemplateFormats {
    QString question;
    QString answer;
};

// A card template's question and answer formats from its config blob (schema 18).
std::optional<TemplateFormats> parseTemplateConfig(QByteArrayView config);
