// Reading delimited text files for the CSV import: the encoding, the records and their values,
// the column mapping and the kanji records made from the mapped lines.
#include "core/review/csvimport.h"

#include "core/kanjiset/integerrule.h"
#include "core/kanjiset/stripname.h"

#include <QStringDecoder>
#include <QtEndian>

#include <unicode/ucsdet.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string_view>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t Cr = u'\r';
constexpr char16_t Lf = u'\n';
constexpr char16_t Quote = u'"';

// The detector reads no more than this of a file: its statistics settle long before, and a
// large file would cost it seconds.
constexpr qsizetype DetectionSample = 256 * 1024;

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

bool startsWith(QByteArrayView bytes, QByteArrayView prefix) {
    return bytes.size() >= prefix.size() && bytes.first(prefix.size()) == prefix;
}

QByteArrayView byteOrderMark(CsvEncoding encoding) {
    switch (encoding) {
        case CsvEncoding::Utf8:
            return "\xEF\xBB\xBF";
        case CsvEncoding::Utf16Le:
            return "\xFF\xFE";
        case CsvEncoding::Utf16Be:
            return "\xFE\xFF";
        default:
            return {};
    }
}

// Checked before the detector is asked: valid UTF-8 with any byte above ASCII is almost never
// meant as anything else, and text of ASCII only reads the same in every encoding offered.
bool isValidUtf8(QByteArrayView bytes) {
    // Checked piece by piece, so a large file needs no second copy of its text. A piece ends
    // before continuation bytes, so no character is cut in two; one cut at the end is invalid.
    constexpr qsizetype Piece = 64 * 1024;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    std::vector<QChar> buffer(static_cast<size_t>(utf8.requiredSpace(Piece)));
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype end = std::min(at + Piece, bytes.size());
        for (int back = 0; back < 3 && end < bytes.size() && (uchar(bytes[end]) & 0xC0) == 0x80;
             ++back) {
            --end;
        }
        utf8.appendToBuffer(buffer.data(), bytes.sliced(at, end - at));
        if (utf8.hasError()) {
            return false;
        }
        at = end;
    }
    return true;
}

std::optional<CsvEncoding> fromDetectorName(std::string_view name) {
    if (name == "UTF-8") {
        return CsvEncoding::Utf8;
    }
    // UTF-16 is left to the zero bytes: text of a file with line breaks or ASCII separators has
    // them in UTF-16, and the detector takes short Shift_JIS text without them for UTF-16BE.
    if (name == "Shift_JIS") {
        return CsvEncoding::ShiftJis;
    }
    if (name == "EUC-JP") {
        return CsvEncoding::EucJp;
    }
    // Text the detector takes for Latin-1 reads as Windows-1252, which differs only in the
    // control codes 0x80 to 0x9F that no text file uses as such.
    if (name == "windows-1252" || name == "ISO-8859-1") {
        return CsvEncoding::Windows1252;
    }
    return std::nullopt;
}

// ICU's detector ranks every encoding it knows; the first one the import offers is taken. It
// puts windows-1250 before windows-1252 on short German text, which is why its first answer
// alone would not do.
std::optional<CsvEncoding> likeliestEncoding(QByteArrayView sample) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCharsetDetector, void (*)(UCharsetDetector*)> detector(
        ucsdet_open(&status), ucsdet_close);
    if (U_FAILURE(status) || !detector) {
        return std::nullopt;
    }
    ucsdet_setText(detector.get(), sample.data(), static_cast<int32_t>(sample.size()), &status);
    int32_t found = 0;
    const UCharsetMatch** matches = ucsdet_detectAll(detector.get(), &found, &status);
    if (U_FAILURE(status) || matches == nullptr) {
        return std::nullopt;
    }
    for (int32_t i = 0; i < found; ++i) {
        UErrorCode nameStatus = U_ZERO_ERROR;
        const char* name = ucsdet_getName(matches[i], &nameStatus);
        if (U_SUCCESS(nameStatus) && name != nullptr) {
            if (const std::optional<CsvEncoding> encoding = fromDetectorName(name)) {
                return encoding;
            }
        }
    }
    return std::nullopt;
}

// The detector scores Japanese text by its most frequent characters and gives a few lines of
// it less than it gives the same bytes read as Windows-1252. Bytes that read without a fault as
// Shift_JIS or EUC-JP and give kana are taken as Japanese: text in a Latin encoding gives kana
// in neither (in Shift_JIS only after "‚" or "ƒ", in EUC-JP only after "¤" or "¥").
std::optional<CsvEncoding> japaneseWithKana(QByteArrayView sample) {
    // Cut at a line break, which no double-byte character holds, so no character is cut.
    const qsizetype end = sample.lastIndexOf('\n');
    if (end >= 0) {
        sample = sample.first(end + 1);
    }
    for (const CsvEncoding encoding : {CsvEncoding::ShiftJis, CsvEncoding::EucJp}) {
        QStringDecoder decoder(csvEncodingName(encoding).toLatin1().constData(),
                               QStringDecoder::Flag::Stateless);
        if (!decoder.isValid()) {
            return std::nullopt;
        }
        const QString text = decoder.decode(sample);
        if (decoder.hasError() || text.contains(QChar::ReplacementCharacter)) {
            continue;
        }
        const bool kana = std::any_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() >= 0x3041 && c.unicode() <= 0x30FA;
        });
        if (kana) {
            return encoding;
        }
    }
    return std::nullopt;
}

QString decodeWith(const char* name, QByteArrayView bytes) {
    QStringDecoder decoder(name);
    if (!decoder.isValid()) {
        // Only a Qt built without ICU gets here; every byte still becomes a character.
        return QString::fromLatin1(bytes);
    }
    QString text = decoder.decode(bytes);
    return text.remove(QChar(0));
}

// Values collected as strings, one list per record.
struct ListValues {
    QStringList& values;
    QString current;

    void startRow() { values.clear(); }
    void addToValue(QStringView characters) { current.append(characters); }
    void addToValue(QChar character) { current.append(character); }
    bool endValue() {
        const bool kept = values.size() < MaxCsvColumns;
        if (kept) {
            values.append(current);
        }
        current.clear();
        return kept;
    }
};

qsizetype lineBreaksIn(QStringView text) {
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == Lf || (text[i] == Cr && (i + 1 == text.size() || text[i + 1] != Lf))) {
            ++breaks;
        }
    }
    return breaks;
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

QString csvEncodingName(CsvEncoding encoding) {
    switch (encoding) {
        case CsvEncoding::Utf8:
            return u"UTF-8"_s;
        case CsvEncoding::Utf16Le:
            return u"UTF-16LE"_s;
        case CsvEncoding::Utf16Be:
            return u"UTF-16BE"_s;
        case CsvEncoding::ShiftJis:
            // The name Qt's decoders know it by too. ICU's Shift_JIS table is Microsoft's CP932,
            // NEC and IBM rows included, which is what Japanese spreadsheets on Windows write.
            return u"Shift_JIS"_s;
        case CsvEncoding::EucJp:
            return u"EUC-JP"_s;
        case CsvEncoding::Windows1252:
            return u"windows-1252"_s;
    }
    return {};
}

CsvEncoding detectCsvEncoding(QByteArrayView bytes) {
    for (const CsvEncoding encoding :
         {CsvEncoding::Utf8, CsvEncoding::Utf16Le, CsvEncoding::Utf16Be}) {
        if (startsWith(bytes, byteOrderMark(encoding))) {
            return encoding;
        }
    }
    qsizetype zerosAtOdd = 0;
    qsizetype zerosAtEven = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\0') {
            ++(i % 2 != 0 ? zerosAtOdd : zerosAtEven);
        }
    }
    if (zerosAtOdd + zerosAtEven > 0) {
        return zerosAtOdd >= zerosAtEven ? CsvEncoding::Utf16Le : CsvEncoding::Utf16Be;
    }
    if (isValidUtf8(bytes)) {
        return CsvEncoding::Utf8;
    }
    const QByteArrayView sample = bytes.first(std::min(bytes.size(), DetectionSample));
    if (const std::optional<CsvEncoding> japanese = japaneseWithKana(sample)) {
        return *japanese;
    }
    return likeliestEncoding(sample).value_or(CsvEncoding::Windows1252);
}

QString decodeCsvText(QByteArrayView bytes, std::optional<CsvEncoding> encoding) {
    const CsvEncoding chosen = encoding.value_or(detectCsvEncoding(bytes));
    if (const QByteArrayView mark = byteOrderMark(chosen);
        !mark.isEmpty() && startsWith(bytes, mark)) {
        bytes = bytes.sliced(mark.size());
    }
    switch (chosen) {
        case CsvEncoding::Utf8:
            return QString::fromUtf8(bytes).remove(QChar(0));
        case CsvEncoding::Utf16Le:
            return decodeUtf16(bytes, false);
        case CsvEncoding::Utf16Be:
            return decodeUtf16(bytes, true);
        case CsvEncoding::ShiftJis:
        case CsvEncoding::EucJp:
        case CsvEncoding::Windows1252:
            return decodeWith(csvEncodingName(chosen).toLatin1().constData(), bytes);
    }
    return {};
}

CsvReader::CsvReader(QStringView text, QStringView separators)
    : text_(text), separators_(separators) {}

bool CsvReader::next(QStringList& values) {
    ListValues list{values, {}};
    if (!read(list)) {
        values.clear();
        return false;
    }
    return true;
}

bool CsvReader::next(CsvRows& rows) {
    return read(rows);
}

template <class Values>
bool CsvReader::read(Values& values) {
    count_ = 0;
    const qsizetype size = text_.size();
    if (pos_ >= size) {
        return false;
    }
    values.startRow();
    bool valueStart = true;
    while (pos_ < size) {
        const QChar c = text_[pos_];
        if (valueStart && c == Quote) {
            ++pos_;
            readQuoted(values);
            valueStart = false;
            continue;
        }
        valueStart = false;
        if (c == Cr || c == Lf) {
            ++pos_;
            if (c == Cr && pos_ < size && text_[pos_] == Lf) {
                ++pos_;
            }
            ++linesPassed_;
            break;
        }
        if (separators_.contains(c)) {
            values.endValue();
            ++count_;
            ++pos_;
            valueStart = true;
            continue;
        }
        // Runs of plain text are copied at once: most of a file is such runs.
        qsizetype end = pos_ + 1;
        while (end < size) {
            const QChar d = text_[end];
            if (d == Cr || d == Lf || separators_.contains(d)) {
                break;
            }
            ++end;
        }
        values.addToValue(text_.sliced(pos_, end - pos_));
        pos_ = end;
    }
    values.endValue();
    return true;
}

// From just after an opening quote. Quotes that are never closed (every quote after them
// doubled) happen at most once in a text: the first value-starting quote after them is closed
// within its own run of quotes. So the search to the end of the text runs at most once.
template <class Values>
void CsvReader::readQuoted(Values& values) {
    const qsizetype size = text_.size();
    qsizetype close = -1;
    for (qsizetype from = pos_; from < size;) {
        const qsizetype quote = text_.indexOf(Quote, from);
        if (quote < 0) {
            break;
        }
        if (quote + 1 < size && text_[quote + 1] == Quote) {
            from = quote + 2;
            continue;
        }
        close = quote;
        break;
    }
    qsizetype end = close;
    if (close < 0) {
        if (openQuoteLine_ == 0) {
            openQuoteLine_ = linesPassed_ + 1;
        }
        end = pos_;
        while (end < size && text_[end] != Cr && text_[end] != Lf) {
            ++end;
        }
    }
    const QStringView content = text_.sliced(pos_, end - pos_);
    for (qsizetype from = 0; from < content.size();) {
        const qsizetype quote = content.indexOf(Quote, from);
        if (quote < 0) {
            values.addToValue(content.sliced(from));
            break;
        }
        // The first of a doubled quote is kept, the second skipped.
        values.addToValue(content.sliced(from, quote + 1 - from));
        from = quote + 2;
    }
    linesPassed_ += lineBreaksIn(content);
    pos_ = close >= 0 ? close + 1 : end;
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

qsizetype CsvRows::valueCount(qsizetype row) const {
    if (row < 0 || row >= size()) {
        return 0;
    }
    const size_t next = static_cast<size_t>(row) + 1;
    const quint32 end = next < rowStarts_.size() ? rowStarts_[next] : quint32(valueEnds_.size());
    return end - rowStarts_[static_cast<size_t>(row)];
}

QStringView CsvRows::value(qsizetype row, qsizetype column) const {
    if (column < 0 || column >= valueCount(row)) {
        return {};
    }
    const size_t index = rowStarts_[static_cast<size_t>(row)] + static_cast<size_t>(column);
    const quint32 begin = index > 0 ? valueEnds_[index - 1] : 0;
    return QStringView(chars_).sliced(begin, valueEnds_[index] - begin);
}

QStringList CsvRows::row(qsizetype row) const {
    QStringList values;
    const qsizetype count = valueCount(row);
    values.reserve(count);
    for (qsizetype column = 0; column < count; ++column) {
        values.append(value(row, column).toString());
    }
    return values;
}

std::vector<QStringList> CsvRows::rows(qsizetype first, qsizetype count) const {
    std::vector<QStringList> result;
    const qsizetype last = std::min(size(), first + count);
    for (qsizetype r = std::max<qsizetype>(first, 0); r < last; ++r) {
        result.push_back(row(r));
    }
    return result;
}

void CsvRows::startRow() {
    rowStarts_.push_back(static_cast<quint32>(valueEnds_.size()));
}

bool CsvRows::endValue() {
    const quint32 begin = valueEnds_.empty() ? 0 : valueEnds_.back();
    if (valueCount(size() - 1) >= MaxCsvColumns) {
        chars_.truncate(begin);
        return false;
    }
    valueEnds_.push_back(static_cast<quint32>(chars_.size()));
    return true;
}

FileResult<CsvText> readCsvText(const QString& path, std::optional<CsvEncoding> encoding) {
    const FileResult<QByteArray> bytes = readWholeFile(path, MaxCsvFileBytes);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    const CsvEncoding chosen = encoding.value_or(detectCsvEncoding(*bytes));
    return CsvText{decodeCsvText(*bytes, chosen), chosen};
}

std::optional<CsvScan> scanCsvText(QStringView text, QStringView separators) {
    // One pass gives the rows, the widest line and the open quote.
    CsvReader reader(text, separators);
    CsvScan scan;
    qsizetype largest = 0;
    while (reader.next(scan.rows)) {
        largest = std::max(largest, reader.separatorCount());
        if (scan.rows.size() > MaxCsvRecords || scan.rows.totalValues() > MaxCsvValues) {
            return std::nullopt;
        }
    }
    scan.separatorCount = static_cast<int>(std::min<qsizetype>(largest, MaxCsvColumns - 1));
    scan.openQuoteLine = reader.openQuoteLine();
    return scan;
}

FileResult<CsvScan> scanCsvFile(const QString& path, const QString& separators,
                                std::optional<CsvEncoding> encoding) {
    const FileResult<CsvText> text = readCsvText(path, encoding);
    if (!text) {
        return unexpected(text.error());
    }
    std::optional<CsvScan> scan = scanCsvText(text->text, separators);
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
                // A strip is named by a bare file name, whatever a file says: an imported set must
                // not lead the program to read pictures elsewhere.
                *texts[k - 3] = texts[k - 3] == &record.Anim ? stripFileName(value) : value;
                break;
        }
    }
}

std::span<const QStringList> importedRows(const std::vector<QStringList>& rows, bool headingLine) {
    const std::span<const QStringList> all(rows);
    return headingLine && !all.empty() ? all.subspan(1) : all;
}

qsizetype firstImportedRow(const CsvRows& rows, bool headingLine) {
    return headingLine && !rows.empty() ? 1 : 0;
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
