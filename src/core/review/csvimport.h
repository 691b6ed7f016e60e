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

// A file's text. A UTF-8, UTF-16 LE or UTF-16 BE byte-order mark selects that encoding and is
// dropped; without one, a zero byte at an odd offset means UTF-16 LE (the encoding the program
// has always read and its export writes) and anything else is UTF-8. Code units 0 are dropped.
QString decodeCsvText(QByteArrayView bytes);

// Bounds that keep a hostile file from exhausting memory: values beyond the last column are
// dropped, and a file with more records or values is refused as too large.
inline constexpr int MaxCsvColumns = 1024;
inline constexpr qsizetype MaxCsvRecords = 500'000;
inline constexpr qsizetype MaxCsvValues = 4'000'000;
inline constexpr qint64 MaxCsvFileBytes = qint64(64) << 20;

// Walks text record by record. A record ends at CR, LF or CR LF outside quotes; a final line
// break starts no further record. A double quote switches quoting on and off and is never
// copied, except that inside quotes a doubled quote stands for one quote character. Inside
// quotes everything is content, separators and line breaks included, so fields that a
// spreadsheet or the program's own export quote come back whole. Outside quotes a separator
// ends the value and any other character is kept.
class CsvReader {
public:
    CsvReader(QStringView text, QStringView separators);
    // The next record's values; false when the text is used up.
    bool next(QStringList& values);
    // Separators outside quotes in the record next() returned last, also those of dropped
    // values.
    qsizetype separatorCount() const { return count_; }

private:
    QStringView text_;
    QStringView separators_;
    qsizetype pos_ = 0;
    qsizetype count_ = 0;
};

// The values of one line (or of the first record of text).
QStringList parseCsvLine(QStringView line, QStringView separators);

// The largest number of separators outside quotes in any record, at most MaxCsvColumns - 1.
int countCsvColumns(QStringView text, QStringView separators);
// One row of values per record in file order; nullopt beyond MaxCsvRecords or MaxCsvValues.
std::optional<std::vector<QStringList>> readCsvRecords(QStringView text, QStringView separators);

struct CsvScan {
    // countCsvColumns of the text: the columns are numbered 0 to separatorCount.
    int separatorCount = 0;
    std::vector<QStringList> rows;
    int columnCount() const { return separatorCount + 1; }
};

// The decoded text of the file, or why it cannot be read (files beyond MaxCsvFileBytes are
// TooLarge).
FileResult<QString> readCsvText(const QString& path);
// countCsvColumns and readCsvRecords of text; nullopt beyond the bounds above.
std::optional<CsvScan> scanCsvText(QStringView text, QStringView separators);
// Both of the above; a file beyond the bounds gives TooLarge.
FileResult<CsvScan> scanCsvFile(const QString& path, const QString& separators);

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
// counts the imported records from 1, so "lfd Nummer x" numbers the kanji 1, 2, 3 ... whether
// or not the file has a heading, and the mapping preview shows the first imported record with
// running number 1. The wizard shows the choice as a check box, ticked at start because the
// files the wizard was made for start with a heading line.
std::span<const QStringList> importedRows(const std::vector<QStringList>& rows, bool headingLine);

// The records made from rows, each mapped with codes, the first one with running number
// firstNumber. With no codes every record stays empty.
std::vector<KanjiRecord> importRecords(std::span<const QStringList> rows,
                                       std::span<const MappingCode> codes, qint32 firstNumber = 1);

// Inserts records after the current element in their order; the last one becomes current.
void insertRecords(KanjiSet& set, std::vector<KanjiRecord> records);
