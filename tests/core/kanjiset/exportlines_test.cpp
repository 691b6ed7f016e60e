// Tests of the export lines: Kun formatting, field order, quoting, the file's bytes, and a round
// trip through a CSV reader that follows RFC 4180.
#include "core/kanjiset/exportlines.h"

#include "core/kanjiset/recordexpect.h"

#include <QStringDecoder>
#include <QStringList>

#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

// The Kun text of the set files: kanji writing, "*", hiragana, a blank, romaji, "-", meaning.
const QString kUe = u"上*うえ ue - oben"_s;

struct KunCase {
    const char* name;
    QString kun;
    int mask;
    QString expected;
};

TEST(ExportKun, FormatsTheChosenPartsInTheirOrder) {
    const KunCase cases[] = {
        {"all four parts", kUe, KunAllParts, u"上; うえ; ue; oben"_s},
        {"no * gives only romaji and meaning", u"ue - oben"_s, KunAllParts, u"ue; oben"_s},
        {"no * with leading kana", u"うえ ue-oben"_s, KunAllParts, u"ue; oben"_s},
        {"writing only", kUe, KunKanjiWriting, u"上"_s},
        {"hiragana only", kUe, KunHiragana, u"うえ"_s},
        {"romaji only", kUe, KunRomaji, u"ue"_s},
        {"meaning only", kUe, KunMeaning, u"oben"_s},
        {"writing and meaning", kUe, KunKanjiWriting | KunMeaning, u"上; oben"_s},
        {"nothing chosen", kUe, 0, QString()},
        {"a missing meaning still gets its separator", u"上*うえ ue"_s, KunAllParts,
         u"上; うえ; ue; "_s},
        {"an empty first part gives no separator", u"*うえ ue-oben"_s, KunAllParts,
         u"うえ; ue; oben"_s},
        {"hiragana end at the second *", u"上*うえ*ue-oben"_s, KunHiragana, u"うえ"_s},
        {"meaning ends at the second -", u"ue-oben-x"_s, KunMeaning, u"oben"_s},
        {"okurigana dot ends the hiragana", u"上*あ.がる agaru-steigen"_s, KunHiragana, u"あ"_s},
        {"empty text", QString(), KunAllParts, QString()},
        {"only blanks are trimmed", u"上 *うえ ue\t-\toben "_s, KunAllParts,
         u"上; うえ; ue\t; \toben"_s},
        // KANJIDIC gives the readings in kana only; its "-" marks a suffix, not a meaning.
        {"kana readings are one part", u"ひ、-び、-か"_s, KunAllParts, u"ひ、-び、-か"_s},
        {"kana readings with any part chosen", u"ひ、-び、-か"_s, KunMeaning, u"ひ、-び、-か"_s},
        {"kana readings with the writing chosen", u"くに"_s, KunKanjiWriting, u"くに"_s},
        {"kana readings as stored, okurigana and blanks", u" もと、 -もと "_s, KunRomaji,
         u" もと、 -もと "_s},
        {"kana readings with no part chosen", u"ひ、-び、-か"_s, 0, QString()},
        {"a Latin letter keeps the parts", u"ひ hi-Sonne"_s, KunHiragana | KunRomaji, u"hi"_s},
    };
    for (const KunCase& c : cases) {
        EXPECT_EQ(formatKun(c.kun, c.mask), c.expected) << c.name;
    }
}

KanjiRecord sample() {
    KanjiRecord record = makeKanji(1, 0x4E0A, u"ジョウ-oben"_s);
    record.KunYomi = kUe;
    record.Genshi = u"12,40,"_s;
    record.Bemerkung = u"Ein Strich über dem Boden"_s;
    return record;
}

ExportFields none() {
    ExportFields fields;
    fields.kanji = fields.onYomi = fields.kunYomi = false;
    return fields;
}

struct LineCase {
    const char* name;
    KanjiRecord record;
    ExportFields fields;
    QString expected;
};

TEST(ExportLine, WritesTheChosenFieldsInOrder) {
    ExportFields all;
    all.unicode = all.genshi = all.mnemonic = true;
    ExportFields columns = all;
    columns.genshiColumns = true;
    ExportFields onlyCode = none();
    onlyCode.unicode = true;
    ExportFields readingOnly = none();
    readingOnly.onYomi = true;
    readingOnly.onWithMeaning = false;
    ExportFields genshiOnly = none();
    genshiOnly.genshi = true;
    ExportFields genshiColumns = genshiOnly;
    genshiColumns.genshiColumns = true;
    ExportFields kanjiOnly = none();
    kanjiOnly.kanji = true;
    ExportFields noteOnly = none();
    noteOnly.mnemonic = true;
    ExportFields kunOnly = none();
    kunOnly.kunYomi = true;

    KanjiRecord a = makeKanji(1, 65);
    KanjiRecord beyond = makeKanji(1, 0x20B9F);
    KanjiRecord noCharacter = makeKanji(1, 0);
    KanjiRecord comma = makeKanji(1, u',');
    KanjiRecord noDash = sample();
    noDash.OnYomi = u"ジョウ"_s;
    KanjiRecord quoted = sample();
    quoted.Bemerkung = u"sagt \"oben\", nicht unten"_s;
    KanjiRecord tab = sample();
    tab.Bemerkung = u"links\trechts"_s;
    KanjiRecord lines = sample();
    lines.Bemerkung = u"erste\r\nzweite\ndritte\r"_s;
    KanjiRecord onComma = sample();
    onComma.OnYomi = u"ジョウ-oben, auf"_s;
    KanjiRecord oddGenshi = sample();
    oddGenshi.Genshi = u"12,4\"0,"_s;
    KanjiRecord kunComma = sample();
    kunComma.KunYomi = u"上*うえ ue-oben, über"_s;

    const LineCase cases[] = {
        {"only the code of A", a, onlyCode, u",65"_s},
        {"defaults", sample(), ExportFields{}, u"上,ジョウ-oben,上; うえ; ue; oben"_s},
        {"everything, Genshi in one column", sample(), all,
         u"上,19978,ジョウ-oben,上; うえ; ue; oben,12;40;,Ein Strich über dem Boden"_s},
        {"everything, Genshi as columns", sample(), columns,
         u"上,19978,ジョウ-oben,上; うえ; ue; oben,12,40,,Ein Strich über dem Boden"_s},
        {"On reading without meaning", sample(), readingOnly, u",ジョウ"_s},
        {"On reading without any -", noDash, readingOnly, u",ジョウ"_s},
        {"Genshi 12,40, in one column", sample(), genshiOnly, u",12;40;"_s},
        {"Kun only", sample(), kunOnly, u",上; うえ; ue; oben"_s},
        {"kanji beyond U+FFFF", beyond, kanjiOnly, u"𠮟"_s},
        {"kanji without a character", noCharacter, kanjiOnly, QString()},
        {"nothing chosen", sample(), none(), QString()},
        {"a comma as the kanji", comma, kanjiOnly, u"\",\""_s},
        {"quotes doubled", quoted, noteOnly, u",\"sagt \"\"oben\"\", nicht unten\""_s},
        {"a TAB quoted", tab, noteOnly, u",\"links\trechts\""_s},
        {"line breaks quoted", lines, noteOnly, u",\"erste\r\nzweite\ndritte\r\""_s},
        {"comma in the On meaning", onComma, readingOnly, u",ジョウ"_s},
        {"comma in the whole On text", onComma, ExportFields{},
         u"上,\"ジョウ-oben, auf\",上; うえ; ue; oben"_s},
        {"comma in the Kun meaning", kunComma, kunOnly, u",\"上; うえ; ue; oben, über\""_s},
        {"a quote inside a Genshi column", oddGenshi, genshiColumns, u",12,\"4\"\"0\","_s},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(exportLine(c.record, c.fields), c.expected) << c.name;
    }
}

QString fromUtf16le(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

// Each UTF-16 unit as its low byte, then its high byte.
QByteArray littleEndian(std::u16string_view units) {
    QByteArray bytes;
    for (const char16_t unit : units) {
        bytes.append(char(unit & 0xFF)).append(char(unit >> 8));
    }
    return bytes;
}

TEST(ExportFile, IsUtf16LittleEndianWithoutBomAndCrLf) {
    const std::vector<KanjiRecord> records{makeKanji(1, 65), makeKanji(2, 0x4E0A)};
    ExportFields fields = none();
    fields.kanji = fields.unicode = true;
    EXPECT_EQ(exportFile(records, {0, 1}, fields), littleEndian(u"A,65\r\n上,19978\r\n"));
    EXPECT_EQ(littleEndian(u"上"), QByteArray("\x0A\x4E"));

    const std::vector<KanjiRecord> beyond{makeKanji(1, 0x20B9F)};
    EXPECT_EQ(exportFile(beyond, {0}, none()), littleEndian(u"\r\n"));
    fields.unicode = false;
    EXPECT_EQ(exportFile(beyond, {0}, fields), littleEndian(u"\xD842\xDF9F\r\n"));
}

TEST(ExportFile, WritesTheGivenPositionsAndSkipsThoseOutside) {
    const std::vector<KanjiRecord> records{makeKanji(1, 0x4E00), makeKanji(2, 0x4E8C),
                                           makeKanji(3, 0x4E09), makeKanji(4, 0x56DB)};
    const ExportFields kanji = [] {
        ExportFields f = none();
        f.kanji = true;
        return f;
    }();
    EXPECT_EQ(fromUtf16le(exportFile(records, {1, 2}, kanji)), u"二\r\n三\r\n"_s);
    EXPECT_EQ(fromUtf16le(exportFile(records, {-1, 3, 4, 99}, kanji)), u"四\r\n"_s);
    EXPECT_EQ(exportFile({}, {}, kanji), QByteArray());
    EXPECT_EQ(exportFile({}, {0}, kanji), QByteArray());

    // The blank record a new set starts with is no kanji; a record with a text is one.
    KanjiRecord noCharacter;
    noCharacter.Bemerkung = u"ohne Zeichen"_s;
    const std::vector<KanjiRecord> withBlank{KanjiRecord{}, records[0], noCharacter};
    ExportFields note = kanji;
    note.mnemonic = true;
    EXPECT_EQ(fromUtf16le(exportFile(withBlank, {0, 1, 2}, note)), u"一,\r\n,ohne Zeichen\r\n"_s);
}

// A reader as RFC 4180 describes it: records end at CR LF outside quotes; a quoted field may
// hold commas, line breaks and doubled quotes. nullopt for text that breaks the rules.
std::optional<std::vector<QStringList>> readCsv(const QString& text) {
    std::vector<QStringList> rows;
    QStringList row;
    QString field;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == u'"' && field.isEmpty()) {
            ++i;
            while (true) {
                if (i >= text.size()) {
                    return std::nullopt;
                }
                if (text[i] == u'"') {
                    if (i + 1 < text.size() && text[i + 1] == u'"') {
                        field.append(u'"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field.append(text[i++]);
            }
            if (i < text.size() && text[i] != u',' && text[i] != u'\r') {
                return std::nullopt;
            }
            continue;
        }
        if (text[i] == u',') {
            row.append(field);
            field.clear();
            ++i;
        } else if (text[i] == u'\r') {
            if (i + 1 >= text.size() || text[i + 1] != u'\n') {
                return std::nullopt;
            }
            row.append(field);
            field.clear();
            rows.push_back(row);
            row.clear();
            i += 2;
        } else if (text[i] == u'"' || text[i] == u'\n') {
            return std::nullopt;
        } else {
            field.append(text[i++]);
        }
    }
    if (!row.isEmpty() || !field.isEmpty()) {
        return std::nullopt;
    }
    return rows;
}

TEST(ExportFile, ReadsBackThroughAnRfc4180Reader) {
    std::vector<KanjiRecord> records;
    const QString notes[] = {u"schlicht"_s,
                             u"mit, Komma"_s,
                             u"\"ganz\" zitiert"_s,
                             u"zwei\r\nZeilen"_s,
                             u"nur\nLF"_s,
                             u"nur\rCR"_s,
                             u"\""_s,
                             u","_s,
                             QString()};
    const QString ons[] = {u"ジョウ-oben"_s, u"カ-unten, \"tief\""_s, u"-"_s};
    for (size_t i = 0; i < std::size(notes); ++i) {
        KanjiRecord record = makeKanji(1, 0x4E00 + qint32(i), ons[i % std::size(ons)]);
        record.KunYomi = u"上*うえ ue-oben, auf"_s;
        record.Genshi = u"3,\"7\",12,"_s;
        record.Bemerkung = notes[i];
        records.push_back(record);
    }
    records.push_back(makeKanji(2, 0x20B9F));

    ExportFields fields;
    fields.unicode = fields.genshi = fields.mnemonic = true;
    std::vector<int> all;
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
        all.push_back(i);
    }
    for (const bool columns : {false, true}) {
        fields.genshiColumns = columns;
        const std::optional<std::vector<QStringList>> rows =
            readCsv(fromUtf16le(exportFile(records, all, fields)));
        ASSERT_TRUE(rows.has_value()) << "columns " << columns;
        ASSERT_EQ(rows->size(), records.size());
        for (size_t r = 0; r < records.size(); ++r) {
            const KanjiRecord& record = records[r];
            const QStringList& row = (*rows)[r];
            const char32_t kanji = static_cast<char32_t>(record.Unicode);
            QStringList expected{QString::fromUcs4(&kanji, 1), QString::number(record.Unicode),
                                 record.OnYomi, formatKun(record.KunYomi, KunAllParts)};
            if (columns) {
                expected << record.Genshi.split(u',');
            } else {
                expected << QString(record.Genshi).replace(u',', u';');
            }
            expected << record.Bemerkung;
            EXPECT_EQ(row, expected) << "row " << r << " columns " << columns;
        }
    }
}

}  // namespace
