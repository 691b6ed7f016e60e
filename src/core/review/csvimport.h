// Reading delimited text files for the CSV import: the encoding, the records and their values,
// the column mapping and the kanji records made from the mapped lines.
#pragma once

#include "base/files.h"
#include "core/kanjiset/kanjirecord.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <span>
#include <vector>

// The separator boxes of the import wizard, with their states at start.
struct CsvSeparators {
    bool comma = true;
    bool semicolon = false;
    bool tab = true;
    bool space = false;
    bool other = false;
    // Only its first character separates; an empty field adds none.
    QString otherText;

    // The characters that end a value.
    QString characters() const;
};

// The encodings a CSV file is read in: those spreadsheets save CSV in, Japanese ones included.
enum class CsvEncoding { Utf8, Utf16Le, Utf16Be, ShiftJis, EucJp, Windows1252 };

inline constexpr CsvEncoding CsvEncodings[] = {CsvEncoding::Utf8,    CsvEncoding::Utf16Le,
                                               CsvEncoding::Utf16Be, CsvEncoding::ShiftJis,
                                               CsvEncoding::EucJp,   CsvEncoding::Windows1252};

// The encoding's usual name ("UTF-8", "Shift_JIS", "windows-1252" ...), as the learner knows it
// from the spreadsheet's save dialog; not translated.
QString csvEncodingName(CsvEncoding encoding);

// A UTF-8, UTF-16 LE or UTF-16 BE byte-order mark names the encoding. Without one, zero bytes
// mean UTF-16 (LE when at least as many lie at odd offsets as at even ones, BE otherwise): the
// program's own export writes UTF-16 LE without a mark. Text that is valid UTF-8 is UTF-8;
// text that reads as Shift_JIS or EUC-JP without a fault and gives kana is that; anything else
// is what the charset detector finds likeliest among the encodings above, Windows-1252 when it
// finds none of them.
CsvEncoding detectCsvEncoding(QByteArrayView bytes);

// A file's text in the given encoding, detected when none is given. A byte-order mark of the
// encoding is dropped; code units 0 are dropped; a last odd byte of UTF-16 is dropped.
QString decodeCsvText(QByteArrayView bytes, std::optional<CsvEncoding> encoding = {});

struct CsvText {
    QString text;
    CsvEncoding encoding = CsvEncoding::Utf8;
};

// Bounds that keep a hostile file from exhausting memory: values beyond the last column are
// dropped, and a file with more records or values is refused as too large.
inline constexpr int MaxCsvColumns = 1024;
inline constexpr qsizetype MaxCsvRecords = 500'000;
inline constexpr qsizetype MaxCsvValues = 4'000'000;
inline constexpr qint64 MaxCsvFileBytes = qint64(64) << 20;

class CsvRows;

// Walks text record by record. A record ends at CR, LF or CR LF outside quotes; a final line
// break starts no further record. A double quote at the start of a value opens quotes, which the
// next single quote closes; inside them a doubled quote stands for one quote character and
// everything else is content, separators and line breaks included, so fields that a spreadsheet
// or the program's own export quote come back whole. Quotes that stay open to the end of the
// text take only the rest of their line, so one stray quote cannot swallow the lines after it.
// Anywhere else a quote is an ordinary character (1,5" Bildschirm), as spreadsheets read it.
// Outside quotes a separator ends the value and any other character is kept.
class CsvReader {
public:
    CsvReader(QStringView text, QStringView separators);
    // The next record's values; false when the text is used up.
    bool next(QStringList& values);
    // The next record appended to rows; false when the text is used up.
    bool next(CsvRows& rows);
    // Separators outside quotes in the record next() returned last, also those of dropped
    // values.
    qsizetype separatorCount() const { return count_; }
    // The line (from 1) of the first quote read so far that is never closed, 0 when none.
    qsizetype openQuoteLine() const { return openQuoteLine_; }

private:
    template <class Values>
    bool read(Values& values);
    template <class Values>
    void readQuoted(Values& values);

    QStringView text_;
    QStringView separators_;
    qsizetype pos_ = 0;
    qsizetype count_ = 0;
    // Line breaks passed so far, inside quotes too.
    qsizetype linesPassed_ = 0;
    qsizetype openQuoteLine_ = 0;
};

// The values of one line (or of the first record of text).
QStringList parseCsvLine(QStringView line, QStringView separators);

// The largest number of separators outside quotes in any record, at most MaxCsvColumns - 1.
int countCsvColumns(QStringView text, QStringView separators);
// One row of values per record in file order; nullopt beyond MaxCsvRecords or MaxCsvValues.
std::optional<std::vector<QStringList>> readCsvRecords(QStringView text, QStringView separators);

// Rows of values kept in one block of characters: a file of half a million lines held as a
// list of strings per line costs several times the file, as every value carries its own
// allocation.
class CsvRows {
public:
    qsizetype size() const { return static_cast<qsizetype>(rowStarts_.size()); }
    bool empty() const { return rowStarts_.empty(); }
    qsizetype valueCount(qsizetype row) const;
    // "" beyond the row's values.
    QStringView value(qsizetype row, qsizetype column) const;
    QStringList row(qsizetype row) const;
    std::vector<QStringList> rows(qsizetype first, qsizetype count) const;
    qsizetype totalValues() const { return static_cast<qsizetype>(valueEnds_.size()); }

    // Building, as the reader does: characters of the current value, then its end.
    void startRow();
    void addToValue(QStringView characters) { chars_.append(characters); }
    void addToValue(QChar character) { chars_.append(character); }
    // False (and the value dropped) when the row has MaxCsvColumns values already.
    bool endValue();

private:
    QString chars_;
    // Index in chars_ where each value ends; it starts where the one before ends.
    std::vector<quint32> valueEnds_;
    // Index in valueEnds_ of each row's first value.
    std::vector<quint32> rowStarts_;
};

struct CsvScan {
    // countCsvColumns of the text: the columns are numbered 0 to separatorCount.
    int separatorCount = 0;
    CsvRows rows;
    // The line (from 1) where a quote opens that is never closed, 0 when none.
    qsizetype openQuoteLine = 0;
    int columnCount() const { return separatorCount + 1; }
};

// The decoded text of the file and the encoding it was read in, detected when none is given; or
// why it cannot be read (files beyond MaxCsvFileBytes are TooLarge).
FileResult<CsvText> readCsvText(const QString& path, std::optional<CsvEncoding> encoding = {});
// countCsvColumns and readCsvRecords of text; nullopt beyond the bounds above.
std::optional<CsvScan> scanCsvText(QStringView text, QStringView separators);
// Both of the above; a file beyond the bounds gives TooLarge.
FileResult<CsvScan> scanCsvFile(const QString& path, const QString& separators,
                                std::optional<CsvEncoding> encoding = {});

// What an item of the import order supplies.
enum class MappingSource { Empty, RunningNumber, Column };

struct MappingCode {
    MappingSource source = MappingSource::Column;
    int column = 0;
    bool operator==(const MappingCode&) const = default;
};

// The items of the source list: "leere Spalte -", "lfd Nummer x", then "Spalte 0" up to the
// last column. Fixed texts: the mapping reads the item's meaning from the end of its caption.
QStringList sourceItemCaptions(int columnCount);

// A final "-" means an empty value, a final "x" the running number, a final decimal number that
// column ("Spalte 12" is column 12); any other caption stands for column 0.
MappingCode mappingCode(QStringView caption);

// One value per code: the running number in decimal, a single blank, or the value of that
// column ("" when the line is shorter).
QStringList mapImportLine(const QStringList& values, std::span<const MappingCode> codes,
                          qint32 runningNumber);

// Stores value k of a mapped line in the field of position k (1 Idx1, 2 Idx2, 3 Unicode, 4 On,
// 5 Kun, 6 Bemerkung, 7 GenshiMeaning, 8 Genshi, 9 Anim, then sound file and example 1 to 4);
// positions beyond 17 are ignored. Numbers follow readInteger. Unicode also takes a character
// that is not ASCII as its own code, so the kanji column of an export reads back as its kanji.
void storeMappedLine(KanjiRecord& record, const QStringList& mapped);

// The first line and the running number. With headingLine the first record of the file holds
// column titles and is not imported; without it every record is. Either way the running number
// counts the imported records on from nextRunningNumber (1 in an empty set), so "lfd Nummer x"
// numbers the kanji n, n + 1, n + 2 ... whether or not the file has a heading, and the mapping
// preview shows the first imported record with running number n. The wizard shows the choice as
// a check box, ticked at start because the files the wizard was made for start with a heading
// line.
std::span<const QStringList> importedRows(const std::vector<QStringList>& rows, bool headingLine);
// The index of the first imported row of rows.
qsizetype firstImportedRow(const CsvRows& rows, bool headingLine);

// Inserts records after the current element in their order; the last one becomes current.
void insertRecords(KanjiSet& set, std::vector<KanjiRecord> records);
