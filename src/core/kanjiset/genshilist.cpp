// The Genshi list file: reading it, writing it, and the positions a kanji's Genshi text names.
#include "core/kanjiset/genshilist.h"

#include "base/files.h"
#include "core/kanjiset/integerrule.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

namespace {

constexpr int fieldCount = 7;

// The list file is small; anything this large is not a Genshi list.
constexpr qint64 maxListBytes = qint64(64) << 20;

std::optional<GenshiEntry> parseLine(QStringView line) {
    std::vector<QStringView> fields;
    fields.reserve(fieldCount);
    for (QStringView field : line.tokenize(u',')) {
        if (fields.size() == fieldCount) {
            break;
        }
        fields.push_back(field);
    }
    fields.resize(fieldCount);
    GenshiEntry entry;
    entry.Nr = readInteger(fields[0]);
    if (entry.Nr == 0) {
        return std::nullopt;
    }
    entry.Genshi = fields[1].toString();
    entry.Zusatz = fields[2].toString();
    entry.Bedeutung = fields[3].toString();
    entry.Anz = readInteger(fields[4]);
    entry.Kurz = fields[5].toString();
    entry.Beispiele = fields[6].toString();
    return entry;
}

bool fitsOneField(const QString& text) {
    return !text.contains(u',') && !text.contains(u'\n') && !text.contains(u'\r');
}

}  // namespace

std::vector<GenshiEntry> parseGenshiList(const QByteArray& bytes) {
    // A leading byte-order mark stays in the text so that its line reads as 0 and is skipped;
    // broken surrogates become U+FFFD and a trailing odd byte is dropped.
    QStringDecoder decoder(QStringConverter::Utf16LE, QStringConverter::Flag::ConvertInitialBom |
                                                          QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes.left(bytes.size() & ~qsizetype(1)));
    std::vector<GenshiEntry> entries;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (auto entry = parseLine(line)) {
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

FileResult<std::vector<GenshiEntry>> readGenshiListFile(const QString& path) {
    const FileResult<QByteArray> bytes = readWholeFile(path, maxListBytes);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    return parseGenshiList(*bytes);
}

std::optional<QByteArray> writeGenshiList(const std::vector<GenshiEntry>& entries,
                                          const QString& headingLine) {
    if (headingLine.contains(u'\n') || headingLine.contains(u'\r')) {
        return std::nullopt;
    }
    const QString lineEnd = QStringLiteral("\r\n");
    QString text = headingLine + lineEnd;
    for (const GenshiEntry& e : entries) {
        const QStringList fields{QString::number(e.Nr),  e.Genshi, e.Zusatz,   e.Bedeutung,
                                 QString::number(e.Anz), e.Kurz,   e.Beispiele};
        for (const QString& field : fields) {
            if (!fitsOneField(field)) {
                return std::nullopt;
            }
        }
        text += fields.join(u',') + lineEnd;
    }
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return QByteArray(encoder.encode(text));
}

std::vector<qint32> genshiPositions(QStringView genshi) {
    std::vector<qint32> positions;
    qsizetype start = 0;
    for (qsizetype comma = genshi.indexOf(u','); comma >= 0; comma = genshi.indexOf(u',', start)) {
        positions.push_back(readInteger(genshi.mid(start, comma - start)));
        start = comma + 1;
    }
    return positions;
}

const GenshiEntry* genshiEntryAt(const std::vector<GenshiEntry>& list, qint32 position) {
    if (position < 0 || static_cast<size_t>(position) >= list.size()) {
        return nullptr;
    }
    return &list[static_cast<size_t>(position)];
}
