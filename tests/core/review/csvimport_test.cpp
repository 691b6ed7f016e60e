// Tests of the CSV import's reading: encodings, records and values, the mapping of columns to
// record fields, the number reading, the heading line, and an export read back whole.
#include "core/review/csvimport.h"
#include "core/review/importmerge.h"

#include "core/kanjiset/exportlines.h"
#include "core/kanjiset/recordexpect.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string_view>

using namespace Qt::StringLiterals;

// Lets failed comparisons of value lists show the values.
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '[';
    for (qsizetype i = 0; i < list.size(); ++i) {
        *os << (i > 0 ? ", " : "") << '"' << list[i].toStdString() << '"';
    }
    *os << ']';
}

namespace {

struct LineCase {
    const char* name;
    QString separators;
    QString line;
    QStringList values;
};

TEST(CsvLine, SplitsQuotedAndUnquotedValues) {
    const LineCase cases[] = {
        {"quoted, quoted, empty, quoted", u","_s, uR"("a","b",,"d")"_s, {"a", "b", "", "d"}},
        {"unquoted text is kept", u","_s, u"1,2,3"_s, {"1", "2", "3"}},
        {"comma and semicolon both separate", u",;"_s, uR"("a";"b","c")"_s, {"a", "b", "c"}},
        {"comma inside quotes", u","_s, uR"("a,b","c")"_s, {"a,b", "c"}},
        {"other separator", u"|"_s, u"a|b c|d"_s, {"a", "b c", "d"}},
        {"no separator at all", QString(), u"a,b;c"_s, {"a,b;c"}},
        {"tab", u",\t"_s, u"a\tb,c"_s, {"a", "b", "c"}},
        {"blank", u" "_s, u"on kun"_s, {"on", "kun"}},
        {"doubled quote inside quotes is one quote",
         u","_s,
         uR"("say ""hi""",x)"_s,
         {R"(say "hi")", "x"}},
        {"empty quoted value", u","_s, uR"("",x)"_s, {"", "x"}},
        {"a quote within a value is a character",
         u","_s,
         uR"(1,5" screen,ok)"_s,
         {"1", R"(5" screen)", "ok"}},
        {"quotes within values neither join nor split",
         u","_s,
         uR"(ab"c,d"e,f)"_s,
         {R"(ab"c)", R"(d"e)", "f"}},
        {"text after closing quotes is kept", u","_s, uR"("a"b"c,d)"_s, {R"(ab"c)", "d"}},
        {"a blank before a quote makes it a character", u","_s, uR"("a", "b")"_s, {"a", R"( "b")"}},
        {"separator at the end", u","_s, u"a,"_s, {"a", ""}},
        {"empty line", u","_s, QString(), {""}},
        {"line break inside quotes is content", u","_s, u"\"a\r\nb\",c"_s, {"a\r\nb", "c"}},
        {"unclosed quote runs to the end of the line", u","_s, u"\"a,b"_s, {"a,b"}},
        {"kanji and characters beyond U+FFFF", u","_s, u"日,𠀋"_s, {"日", "𠀋"}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseCsvLine(c.line, c.separators), c.values);
    }
}

TEST(CsvLine, SeparatorBoxesMakeTheSeparatorSet) {
    CsvSeparators start;
    EXPECT_EQ(start.characters(), u",\t"_s);
    CsvSeparators all{true, true, true, true, true, u"|x"_s};
    EXPECT_EQ(all.characters(), u",;\t |"_s);
    CsvSeparators otherEmpty{false, false, false, false, true, QString()};
    EXPECT_EQ(otherEmpty.characters(), QString());
    CsvSeparators otherUnticked{false, false, false, false, false, u"|"_s};
    EXPECT_EQ(otherUnticked.characters(), QString());
}

struct RecordsCase {
    const char* name;
    QString text;
    std::vector<QStringList> rows;
    int separatorCount;
    qsizetype openQuoteLine = 0;
};

std::vector<QStringList> allRows(const CsvRows& rows) {
    return rows.rows(0, rows.size());
}

TEST(CsvRecords, SplitsAtEveryKindOfLineBreak) {
    const RecordsCase cases[] = {
        {"empty text has no records", QString(), {}, 0},
        {"last line without a break", u"a,b\r\nc"_s, {{"a", "b"}, {"c"}}, 1},
        {"final break starts no record", u"a\r\n"_s, {{"a"}}, 0},
        {"CR, LF and CR LF", u"a\rb\nc\r\nd"_s, {{"a"}, {"b"}, {"c"}, {"d"}}, 0},
        {"empty lines count", u"\n\n"_s, {{""}, {""}}, 0},
        {"LF CR is two breaks", u"a\n\rb"_s, {{"a"}, {""}, {"b"}}, 0},
        {"widest line decides", u"a\r\nb,c,d\r\ne,f"_s, {{"a"}, {"b", "c", "d"}, {"e", "f"}}, 2},
        {"separators in quotes do not count", u"\"a,b,c\",d"_s, {{"a,b,c", "d"}}, 1},
        {"a quoted line break joins two lines", u"\"a\nb\",c\nd"_s, {{"a\nb", "c"}, {"d"}}, 1},
        {"a quote open at the end takes only its line",
         u"a\r\n\"b,c\r\nd,e\r\n\"\""_s,
         {{"a"}, {"b,c"}, {"d", "e"}, {""}},
         1,
         2},
        {"doubled quotes on the open line are one each",
         u"x,\"a\"\"b,c\nd\"\"\n"_s,
         {{"x", "a\"b,c"}, {"d\"\""}},
         1,
         1},
        {"line breaks in closed quotes count for the line of an open one",
         u"\"a\r\nb\rc\"\n\"d\ne"_s,
         {{"a\r\nb\rc"}, {"d"}, {"e"}},
         0,
         4},
    };
    for (const RecordsCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto rows = readCsvRecords(c.text, u","_s);
        ASSERT_TRUE(rows.has_value());
        EXPECT_EQ(*rows, c.rows);
        EXPECT_EQ(countCsvColumns(c.text, u","_s), c.separatorCount);
        const std::optional<CsvScan> scan = scanCsvText(c.text, u","_s);
        ASSERT_TRUE(scan.has_value());
        EXPECT_EQ(allRows(scan->rows), c.rows);
        EXPECT_EQ(scan->separatorCount, c.separatorCount);
        EXPECT_EQ(scan->openQuoteLine, c.openQuoteLine);
    }
}

TEST(CsvRecords, BoundsColumnsRecordsAndValues) {
    const QString wide = QString(5000, u',');
    EXPECT_EQ(countCsvColumns(wide, u","_s), MaxCsvColumns - 1);
    const auto wideRows = readCsvRecords(wide, u","_s);
    ASSERT_TRUE(wideRows.has_value());
    EXPECT_EQ(wideRows->front().size(), MaxCsvColumns);

    EXPECT_FALSE(readCsvRecords(QString(MaxCsvRecords + 1, u'\n'), u","_s).has_value());
    EXPECT_TRUE(readCsvRecords(QString(MaxCsvRecords, u'\n'), u","_s).has_value());
    // Lines of many values each, together more than the bound.
    const QString line = QString(MaxCsvColumns - 1, u',') + u'\n';
    EXPECT_FALSE(
        readCsvRecords(line.repeated(MaxCsvValues / MaxCsvColumns + 1), u","_s).has_value());
    EXPECT_FALSE(scanCsvText(line.repeated(MaxCsvValues / MaxCsvColumns + 1), u","_s).has_value());
    EXPECT_FALSE(scanCsvText(QString(MaxCsvRecords + 1, u'\n'), u","_s).has_value());
    const std::optional<CsvScan> wideScan = scanCsvText(wide, u","_s);
    ASSERT_TRUE(wideScan.has_value());
    EXPECT_EQ(wideScan->rows.valueCount(0), MaxCsvColumns);
}

QByteArray utf16(const QString& text, bool bigEndian) {
    QByteArray bytes;
    for (const QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8);
        const char low = static_cast<char>(c.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
    }
    return bytes;
}

struct EncodingCase {
    const char* name;
    QByteArray bytes;
    QString text;
};

TEST(CsvEncoding, DetectsByMarkZeroBytesOrValidUtf8) {
    const QString line = u"日,nichi\r\n"_s;
    const QString kanjiOnly = u"日本"_s;
    const EncodingCase cases[] = {
        {"UTF-8 mark is dropped", "\xEF\xBB\xBF" + line.toUtf8(), line},
        {"UTF-16 LE mark is dropped", "\xFF\xFE" + utf16(line, false), line},
        {"UTF-16 BE mark is dropped", "\xFE\xFF" + utf16(line, true), line},
        {"UTF-16 LE without mark, as the export writes", utf16(line, false), line},
        {"UTF-16 BE without mark", utf16(line, true), line},
        {"UTF-8 without mark", line.toUtf8(), line},
        {"kanji-only UTF-8", kanjiOnly.toUtf8(), kanjiOnly},
        {"zero units are skipped",
         utf16(u"a"_s, false) + QByteArray(2, '\0') + utf16(u"b"_s, false), u"ab"_s},
        {"zero bytes at even offsets mean UTF-16 BE", QByteArray("\0a\0b", 4), u"ab"_s},
        {"a last odd byte of UTF-16 is dropped", utf16(u"ab"_s, false) + 'c', u"ab"_s},
        {"only a mark", "\xFF\xFE", QString()},
        {"empty", QByteArray(), QString()},
    };
    for (const EncodingCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeCsvText(c.bytes), c.text);
    }

    // A given encoding is taken as given, its own mark dropped.
    const QByteArray sun("\x93\xFA", 2);
    EXPECT_EQ(decodeCsvText(sun, CsvEncoding::ShiftJis), u"日"_s);
    EXPECT_EQ(decodeCsvText(sun, CsvEncoding::Windows1252), u"“ú"_s);
    EXPECT_EQ(decodeCsvText("\xEF\xBB\xBF" + line.toUtf8(), CsvEncoding::Utf8), line);
    EXPECT_EQ(decodeCsvText(utf16(u"ab"_s, true), CsvEncoding::Utf16Le), u"愀戀"_s);
}

// Files as spreadsheets save them, each beside the encoding, rows and open quote it must give.
TEST(CsvFile, SpreadsheetFilesReadAsExpected) {
    const QDir folder(QStringLiteral(RENKARI_TEST_DATA "/csvimport/cases"));
    const QStringList names = folder.entryList({u"*.csv"_s}, QDir::Files);
    ASSERT_GE(names.size(), 9);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        QFile expectedFile(folder.filePath(QString(name).replace(u".csv"_s, u".expected.json"_s)));
        ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly));
        const QJsonObject expected = QJsonDocument::fromJson(expectedFile.readAll()).object();
        std::vector<QStringList> expectedRows;
        for (const QJsonValue row : expected[u"rows"].toArray()) {
            expectedRows.push_back(row.toVariant().toStringList());
        }
        const QString separators = expected[u"separators"].toString(CsvSeparators{}.characters());

        const FileResult<CsvText> text = readCsvText(folder.filePath(name));
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(csvEncodingName(text->encoding), expected[u"encoding"].toString());
        const std::optional<CsvScan> scan = scanCsvText(text->text, separators);
        ASSERT_TRUE(scan.has_value());
        EXPECT_EQ(allRows(scan->rows), expectedRows);
        EXPECT_EQ(scan->openQuoteLine, expected[u"openQuoteLine"].toInteger());
        // The scan's compact rows and the plain reader agree.
        EXPECT_EQ(readCsvRecords(text->text, separators), expectedRows);
        EXPECT_EQ(scan->separatorCount, countCsvColumns(text->text, separators));

        // Read in the encoding it was detected in, the file gives the same text.
        const FileResult<CsvText> again = readCsvText(folder.filePath(name), text->encoding);
        ASSERT_TRUE(again.has_value());
        EXPECT_EQ(again->text, text->text);
    }
}

TEST(CsvFile, ScansAFileAndTellsWhyOneCannotBeRead) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"kanji.csv"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xFF\xFE" + utf16(u"Kanji,On\r\n\"日\",ニチ\r\n月,\"ゲツ,ガツ\"\r\n"_s, false));
    file.close();

    const FileResult<CsvScan> scan = scanCsvFile(path, u","_s);
    ASSERT_TRUE(scan.has_value());
    EXPECT_EQ(scan->columnCount(), 2);
    const std::vector<QStringList> rows{{"Kanji", "On"}, {"日", "ニチ"}, {"月", "ゲツ,ガツ"}};
    EXPECT_EQ(allRows(scan->rows), rows);

    const FileResult<CsvScan> missing = scanCsvFile(dir.filePath(u"none.csv"_s), u","_s);
    ASSERT_FALSE(missing.has_value());
    EXPECT_EQ(missing.error().kind, FileErrorKind::NotFound);
    EXPECT_FALSE(scanCsvFile(dir.path(), u","_s).has_value());
}

// Inputs that once broke the reader, and hostile ones made by hand; each must scan without harm
// and keep the bounds.
TEST(CsvFile, HostileInputsScanWithinTheBounds) {
    const QDir folder(QStringLiteral(RENKARI_TEST_DATA "/csvimport/fuzz"));
    const QStringList names = folder.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const FileResult<CsvScan> scan = scanCsvFile(folder.filePath(name), u",;\t |"_s);
        if (!scan) {
            EXPECT_EQ(scan.error().kind, FileErrorKind::TooLarge);
            continue;
        }
        EXPECT_LE(scan->columnCount(), MaxCsvColumns);
        for (qsizetype row = 0; row < scan->rows.size(); ++row) {
            EXPECT_LE(scan->rows.valueCount(row), scan->columnCount());
        }
    }
}

struct CodeCase {
    QString caption;
    MappingCode code;
};

TEST(CsvMapping, CodesComeFromTheEndOfTheCaption) {
    const CodeCase cases[] = {
        {u"leere Spalte -"_s, {MappingSource::Empty, 0}},
        {u"lfd Nummer x"_s, {MappingSource::RunningNumber, 0}},
        {u"Spalte 0"_s, {MappingSource::Column, 0}},
        {u"Spalte 2"_s, {MappingSource::Column, 2}},
        {u"Spalte 12"_s, {MappingSource::Column, 12}},
        {u"Column 7"_s, {MappingSource::Column, 7}},
        {u"Spalte"_s, {MappingSource::Column, 0}},
        {QString(), {MappingSource::Column, 0}},
        {u"Spalte 99999999999999"_s, {MappingSource::Column, MaxCsvColumns}},
    };
    for (const CodeCase& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        const MappingCode code = mappingCode(c.caption);
        EXPECT_EQ(code.source, c.code.source);
        EXPECT_EQ(code.column, c.code.column);
    }
}

TEST(CsvMapping, TwelveColumnsOfferItemsUpToColumnEleven) {
    const QStringList captions = sourceItemCaptions(12);
    ASSERT_EQ(captions.size(), 14);
    EXPECT_EQ(captions[0], u"leere Spalte -"_s);
    EXPECT_EQ(captions[1], u"lfd Nummer x"_s);
    EXPECT_EQ(captions[2], u"Spalte 0"_s);
    EXPECT_EQ(captions.back(), u"Spalte 11"_s);
    const QStringList line = parseCsvLine(u"a,b,c,d,e,f,g,h,i,j,k,l"_s, u","_s);
    const std::vector<MappingCode> codes{mappingCode(captions.back()), mappingCode(captions[3])};
    EXPECT_EQ(mapImportLine(line, codes, 1), (QStringList{"l", "b"}));
}

TEST(CsvMapping, RunningNumberBlankAndColumns) {
    const std::vector<MappingCode> codes{{MappingSource::RunningNumber, 0},
                                         {MappingSource::Empty, 0},
                                         {MappingSource::Column, 2},
                                         {MappingSource::Column, 5}};
    EXPECT_EQ(mapImportLine({"a", "b", "26085"}, codes, 7), (QStringList{"7", " ", "26085", ""}));
    EXPECT_EQ(mapImportLine({}, codes, 1), (QStringList{"1", " ", "", ""}));
    EXPECT_TRUE(mapImportLine({"a"}, {}, 1).isEmpty());
}

struct NumberCase {
    QString value;
    qint32 idx;
    qint32 code;
};

TEST(CsvMapping, NumbersAndCharacterCodes) {
    const NumberCase cases[] = {
        {u"42"_s, 42, 42},     {u" \t-7"_s, -7, -7}, {u"+5"_s, 5, 5},      {u"$1F"_s, 31, 31},
        {u"-$10"_s, -16, -16}, {u"%101"_s, 5, 5},    {u"12abc"_s, 12, 12}, {u"abc"_s, 0, 0},
        {u" "_s, 0, 0},        {QString(), 0, 0},    {u"日"_s, 0, 0x65E5}, {u" 日本"_s, 0, 0x65E5},
        {u"𠀋"_s, 0, 0x2000B},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.value.toStdString());
        KanjiRecord record;
        storeMappedLine(record, {c.value, c.value, c.value});
        EXPECT_EQ(record.Idx1, c.idx);
        EXPECT_EQ(record.Idx2, c.idx);
        EXPECT_EQ(record.Unicode, c.code);
    }
}

TEST(CsvMapping, EachPositionFillsItsField) {
    QStringList mapped{"1", "2", "3"};
    for (int k = 4; k <= 18; ++k) {
        mapped.append(u"p"_s + QString::number(k));
    }
    KanjiRecord record;
    storeMappedLine(record, mapped);
    KanjiRecord expected;
    expected.Idx1 = 1;
    expected.Idx2 = 2;
    expected.Unicode = 3;
    expected.OnYomi = u"p4"_s;
    expected.KunYomi = u"p5"_s;
    expected.Bemerkung = u"p6"_s;
    expected.GenshiMeaning = u"p7"_s;
    expected.Genshi = u"p8"_s;
    expected.Anim = u"p9"_s;
    for (int i = 0; i < 4; ++i) {
        expected.SoundFile[i] = u"p"_s + QString::number(10 + 2 * i);
        expected.Beispiel[i] = u"p"_s + QString::number(11 + 2 * i);
    }
    expectSameStoredFields(record, expected);
    EXPECT_EQ(record.GenshiMeaning, expected.GenshiMeaning);

    KanjiRecord shortLine;
    storeMappedLine(shortLine, {"5"});
    expectSameStoredFields(shortLine, makeKanji(5, 0));
}

// The records an import makes of rows, without the positions each line gives.
std::vector<KanjiRecord> importRecords(std::span<const QStringList> rows,
                                       std::span<const MappingCode> codes) {
    std::vector<KanjiRecord> records;
    for (ImportedRecord& item : importMappedRecords(rows, codes)) {
        records.push_back(std::move(item.record));
    }
    return records;
}

TEST(CsvImport, HeadingLineDecidesTheFirstRecordAndTheRunningNumber) {
    const std::vector<QStringList> rows{{"Nr", "Code"}, {"a", "26085"}, {"b", "26376"}};
    const std::vector<MappingCode> codes{
        {MappingSource::RunningNumber, 0}, {MappingSource::Empty, 0}, {MappingSource::Column, 1}};
    const std::vector<KanjiRecord> withHeading = importRecords(importedRows(rows, true), codes);
    expectSameRecords(withHeading, {makeKanji(1, 26085), makeKanji(2, 26376)});
    const std::vector<KanjiRecord> without = importRecords(importedRows(rows, false), codes);
    expectSameRecords(without, {makeKanji(1, 0), makeKanji(2, 26085), makeKanji(3, 26376)});

    // No import items: one empty record per imported line.
    expectSameRecords(importRecords(importedRows(rows, false), {}), std::vector<KanjiRecord>(3));
    EXPECT_TRUE(importedRows({}, true).empty());
    EXPECT_TRUE(importedRows({{"only a heading"}}, true).empty());
}

TEST(CsvImport, RecordsGoAfterTheCurrentOne) {
    KanjiSet set;
    set.records = {makeKanji(1, 1), makeKanji(2, 2), makeKanji(3, 3)};
    set.current = 0;
    insertRecords(set, {makeKanji(10, 10), makeKanji(11, 11)});
    expectSameRecords(set.records, {makeKanji(1, 1), makeKanji(10, 10), makeKanji(11, 11),
                                    makeKanji(2, 2), makeKanji(3, 3)});
    EXPECT_EQ(set.current, 2);
    insertRecords(set, {});
    EXPECT_EQ(set.current, 2);

    KanjiSet empty;
    insertRecords(empty, {makeKanji(1, 1)});
    EXPECT_EQ(empty.size(), 1);
    EXPECT_EQ(empty.current, 0);
}

// An export with every field, read back with an import order that puts each exported column
// into a field of its own, gives every exported value back unchanged.
TEST(CsvImport, AnExportReadsBackWithEveryField) {
    std::vector<KanjiRecord> records(4);
    records[0] = makeKanji(1, 0x65E5, u"ニチ, ジツ-Sonne"_s);
    records[0].KunYomi = u"日*ひ hi-Sonne, Tag"_s;
    records[0].Genshi = u"12,40,"_s;
    records[0].Bemerkung = u"Er sagt \"Tag\",\r\nund dann\nnoch\reine Zeile"_s;
    records[1] = makeKanji(2, 0x2000B, u"\"quoted\""_s);
    records[1].Bemerkung = u"\t;|tabs and others"_s;
    records[2] = makeKanji(3, 0, u"kein Kanji"_s);
    records[3] = makeKanji(4, 0x6708);

    ExportFields fields;
    fields.unicode = fields.genshi = fields.mnemonic = true;
    const QByteArray bytes = exportFile(records, {0, 1, 2, 3}, fields);

    // Columns: kanji 0, code 1, On 2, Kun 3, Genshi 4, mnemonic 5; the separators the wizard
    // starts with.
    const auto rows = readCsvRecords(decodeCsvText(bytes), CsvSeparators{}.characters());
    ASSERT_TRUE(rows.has_value());
    const std::vector<MappingCode> codes{
        {MappingSource::RunningNumber, 0}, {MappingSource::Empty, 0},  {MappingSource::Column, 0},
        {MappingSource::Column, 2},        {MappingSource::Column, 3}, {MappingSource::Column, 5},
        {MappingSource::Column, 1},        {MappingSource::Column, 4}};
    const std::vector<KanjiRecord> imported = importRecords(*rows, codes);
    ASSERT_EQ(imported.size(), records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        const KanjiRecord& original = records[i];
        const KanjiRecord& back = imported[i];
        EXPECT_EQ(back.Idx1, original.Idx1);
        EXPECT_EQ(back.Unicode, original.Unicode);
        EXPECT_EQ(back.GenshiMeaning, QString::number(original.Unicode));
        EXPECT_EQ(back.OnYomi, original.OnYomi);
        EXPECT_EQ(back.KunYomi, formatKun(original.KunYomi, KunAllParts));
        EXPECT_EQ(back.Genshi, QString(original.Genshi).replace(u',', u';'));
        EXPECT_EQ(back.Bemerkung, original.Bemerkung);
    }
}

}  // namespace
