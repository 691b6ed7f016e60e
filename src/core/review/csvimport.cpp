// Reading delimited text files for the CSV import: the encoding, the records and their values,
// the column mapping and the kanji records made from the mapped lines.
#include "core/review/csvimport.h"

#include "core/kanjiset/integerrule.h"

#include <QStringDecoder>
#include <QtEndian>

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {

QString decodeUtf16(QByteArrayView bytes, bool bigEndian) {
    QString text;
    text.reserve(bytes.size() / 2);
    const char* data = bytes.data();
    // A last odd byte is half a code unit and is dropped.
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit =
            bigEndian ? qFromBigEndian<char16_t>(data + i) : qFromLittleEndian<char16_t>(data + i);
        if (unit != 0) {
            text.append(QChar(unit));
        }
    }
    return text;
}

bool hasZeroAtOddOffset(QByteArrayView bytes) {
    for (qsizetype i = 1; i < bytes.size(); i += 2) {
        if (bytes[i] == '\0') {
            return true;
        }
    }
    return false;
}

bool startsWith(QByteArrayView bytes, QByteArrayView prefix) {
    return bytes.size() >= prefix.size() && bytes.first(prefix.size()) == prefix;
}

}  // namespace

QString CsvSeparators::characters() const {
    QString result;
    if (comma) {
        result.append(u',');
    }
    if (semicolon) {
        result.append(u';');
    }
    if (tab) {
        result.append(u'\t');
    }
    if (space) {
        result.append(u' ');
    }
    if (other && !otherText.isEmpty()) {
        result.append(otherText.front());
    }
    return result;
}

QString decodeCsvText(QByteArrayView bytes) {
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        return QString::fromUtf8(bytes.sliced(3)).remove(QChar(0));
    }
    if (startsWith(bytes, "\xFF\xFE")) {
        return decodeUtf16(bytes.sliced(2), false);
    }
    if (startsWith(bytes, "\xFE\xFF")) {
        return decodeUtf16(bytes.sliced(2), true);
    }
    if (hasZeroAtOddOffset(bytes)) {
        return decodeUtf16(bytes, false);
    }
    return QString::fromUtf8(bytes).remove(QChar(0));
}

CsvReader::CsvReader(QStringView text, QStringView separators)
    : text_(text), separators_(separators) {}

bool CsvReader::next(QStringList& values) {
    values.clear();
    count_ = 0;
    const qsizetype size = text_.size();
    if (pos_ >= size) {
        return false;
    }
    QString current;
    bool inQuotes = false;
    const auto endValue = [&] {
        if (values.size() < MaxCsvColumns) {
            values.append(current);
        }
        current.clear();
    };
    while (pos_ < size) {
        const QChar c = text_[pos_];
        if (c == u'"') {
            if (inQuotes && pos_ + 1 < size && text_[pos_ + 1] == u'"') {
                current.append(c);
                pos_ += 2;
            } else {
                inQuotes = !inQuotes;
                ++pos_;
            }
            continue;
        }
        if (inQuotes) {
            current.append(c);
            ++pos_;
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            ++pos_;
            if (c == u'\r' && pos_ < size && text_[pos_] == u'\n') {
                ++pos_;
            }
            break;
        }
        if (separators_.contains(c)) {
            endValue();
            ++count_;
            ++pos_;
            continue;
        }
        // Runs of plain text are copied at once: most of a file is such runs.
        qsizetype end = pos_ + 1;
        while (end < size) {
            const QChar d = text_[end];
            if (d == u'"' || d == u'\r' || d == u'\n' || separators_.contains(d)) {
                break;
            }
            ++end;
        }
        current.append(text_.sliced(pos_, end - pos_));
        pos_ = end;
    }
    endValue();
    return true;
}

QStringList parseCsvLine(QStringView line, QStringView separators) {
    CsvReader reader(line, separators);
    QStringList values;
    if (!reader.next(values)) {
        // An empty line is one empty value, as it is within a file.
        values.append(QString());
    }
    return values;
}

int countCsvColumns(QStringView text, QStringView separators) {
    CsvReader reader(text, separators);
    QStringList values;
    qsizetype largest = 0;
    while (reader.next(values)) {
        largest = std::max(largest, reader.separatorCount());
    }
    return static_cast<int>(std::min<qsizetype>(largest, MaxCsvColumns - 1));
}

std::optional<std::vector<QStringList>> readCsvRecords(QStringView text, QStringView separators) {
    CsvReader reader(text, separators);
    std::vector<QStringList> rows;
    QStringList values;
    qsizetype valueCount = 0;
    while (reader.next(values)) {
        valueCount += values.size();
        if (static_cast<qsizetype>(rows.size()) >= MaxCsvRecords || valueCount > MaxCsvValues) {
            return std::nullopt;
        }
        rows.push_back(values);
    }
    return rows;
}

FileResult<QString> readCsvText(const QString& path) {
    const FileResult<QByteArray> bytes = readWholeFile(path, MaxCsvFileBytes);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    return decodeCsvText(*bytes);
}

std::optional<CsvScan> scanCsvText(QStringView text, QStringView separators) {
    std::optional<std::vector<QStringList>> rows = readCsvRecords(text, separators);
    if (!rows) {
        return std::nullopt;
    }
    return CsvScan{countCsvColumns(text, separators), std::move(*rows)};
}

FileResult<CsvScan> scanCsvFile(const QString& path, const QString& separators) {
    const FileResult<QString> text = readCsvText(path);
    if (!text) {
        return unexpected(text.error());
    }
    std::optional<CsvScan> scan = scanCsvText(*text, separators);
    if (!scan) {
        return unexpected(FileError{FileErrorKind::TooLarge, {}});
    }
    return std::move(*scan);
}

QStringList sourceItemCaptions(int columnCount) {
    QStringList captions{u"leere Spalte -"_s, u"lfd Nummer x"_s};
    for (int column = 0; column < columnCount; ++column) {
        captions.append(u"Spalte "_s + QString::number(column));
    }
    return captions;
}

MappingCode mappingCode(QStringView caption) {
    if (caption.endsWith(u'-')) {
        return {MappingSource::Empty, 0};
    }
    if (caption.endsWith(u'x')) {
        return {MappingSource::RunningNumber, 0};
    }
    qsizetype begin = caption.size();
    while (begin > 0 && caption[begin - 1] >= u'0' && caption[begin - 1] <= u'9') {
        --begin;
    }
    if (begin == caption.size()) {
        return {MappingSource::Column, 0};
    }
    // A number beyond every column a file can have maps to a value no line holds.
    const QStringView digits = caption.sliced(begin);
    bool ok = false;
    const int column = digits.size() <= 9 ? digits.toInt(&ok) : 0;
    return {MappingSource::Column, ok ? column : MaxCsvColumns};
}

QStringList mapImportLine(const QStringList& values, std::span<const MappingCode> codes,
                          qint32 runningNumber) {
    QStringList mapped;
    mapped.reserve(static_cast<qsizetype>(codes.size()));
    for (const MappingCode& code : codes) {
        switch (code.source) {
            case MappingSource::RunningNumber:
                mapped.append(QString::number(runningNumber));
                break;
            case MappingSource::Empty:
                mapped.append(u" "_s);
                break;
            case MappingSource::Column:
                mapped.append(code.column >= 0 && code.column < values.size() ? values[code.column]
                                                                              : QString());
                break;
        }
    }
    return mapped;
}

namespace {

qint32 readCode(QStringView value) {
    qsizetype pos = 0;
    while (pos < value.size() && (value[pos] == u' ' || value[pos] == u'\t')) {
        ++pos;
    }
    if (pos < value.size() && value[pos].unicode() >= 0x80) {
        const QStringView rest = value.sliced(pos);
        const char32_t code =
            rest.size() >= 2 && rest[0].isHighSurrogate() && rest[1].isLowSurrogate()
                ? QChar::surrogateToUcs4(rest[0], rest[1])
                : rest[0].unicode();
        return static_cast<qint32>(code);
    }
    return readInteger(value);
}

}  // namespace

void storeMappedLine(KanjiRecord& record, const QStringList& mapped) {
    QString* const texts[] = {&record.OnYomi,        &record.KunYomi,      &record.Bemerkung,
                              &record.GenshiMeaning, &record.Genshi,       &record.Anim,
                              &record.SoundFile[0],  &record.Beispiel[0],  &record.SoundFile[1],
                              &record.Beispiel[1],   &record.SoundFile[2], &record.Beispiel[2],
                              &record.SoundFile[3],  &record.Beispiel[3]};
    const qsizetype count = std::min<qsizetype>(mapped.size(), 3 + std::size(texts));
    for (qsizetype k = 0; k < count; ++k) {
        const QString& value = mapped[k];
        switch (k) {
            case 0:
                record.Idx1 = readInteger(value);
                break;
            case 1:
                record.Idx2 = readInteger(value);
                break;
            case 2:
                record.Unicode = readCode(value);
                break;
            default:
                *texts[k - 3] = value;
                break;
        }
    }
}

std::span<const QStringList> importedRows(const std::vector<QStringList>& rows, bool headingLine) {
    const std::span<const QStringList> all(rows);
    return headingLine && !all.empty() ? all.subspan(1) : all;
}

std::vector<KanjiRecord> importRecords(std::span<const QStringList> rows,
                                       std::span<const MappingCode> codes, qint32 firstNumber) {
    std::vector<KanjiRecord> records(rows.size());
    for (size_t i = 0; i < records.size(); ++i) {
        storeMappedLine(records[i],
                        mapImportLine(rows[i], codes, firstNumber + static_cast<qint32>(i)));
    }
    return records;
}

void insertRecords(KanjiSet& set, std::vector<KanjiRecord> records) {
    if (records.empty()) {
        return;
    }
    const int at = set.currentRecord() != nullptr ? set.current + 1 : set.size();
    set.records.insert(set.records.begin() + at, std::make_move_iterator(records.begin()),
                       std::make_move_iterator(records.end()));
    set.current = at + static_cast<int>(records.size()) - 1;
}
