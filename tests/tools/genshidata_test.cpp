// The shipped Genshi list: its source table reader and the facts of the 214 radicals.
#include "common/gunzip.h"
#include "makedemoset/kanjidic.h"
#include "makegenshi/radicaltable.h"

#include "base/files.h"
#include "core/kanjiset/genshilist.h"

#include <QFile>
#include <QRawFont>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

const QString kListPath = QStringLiteral(RENKARI_SOURCE_DIR "/data/Media/Genshi/Genshiliste.txt");
const QString kTablePath = QStringLiteral(RENKARI_SOURCE_DIR "/tools/makegenshi/radicals.tsv");
const QString kKanjidicPath = QStringLiteral("/usr/share/edict/kanjidic2.xml.gz");
const QString kFontPath = QStringLiteral("/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf");

// The traditional grouping of the radicals by stroke count: {last number, strokes}.
constexpr std::pair<int, int> kStrokeGroups[] = {
    {6, 1},    {29, 2},   {60, 3},   {94, 4},   {117, 5},  {146, 6},
    {166, 7},  {175, 8},  {186, 9},  {194, 10}, {200, 11}, {204, 12},
    {208, 13}, {210, 14}, {211, 15}, {213, 16}, {214, 17},
};

int standardStrokes(int number) {
    for (const auto& [last, strokes] : kStrokeGroups) {
        if (number <= last) {
            return strokes;
        }
    }
    return 0;
}

// The blank-separated characters of a field, as code points.
std::vector<char32_t> characters(const QString& field) {
    std::vector<char32_t> result;
    for (const QString& part : field.split(u' ', Qt::SkipEmptyParts)) {
        const QList<uint> ucs4 = part.toUcs4();
        result.push_back(ucs4.size() == 1 ? char32_t(ucs4[0]) : 0);
    }
    return result;
}

bool isCjkIdeograph(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x20000 && c <= 0x2A6DF);
}

const std::vector<GenshiEntry>& shippedList() {
    static const std::vector<GenshiEntry> list = readGenshiListFile(kListPath).value_or({});
    return list;
}

// Classical radical number by code point, from KANJIDIC2; empty when it is not installed.
const std::map<char32_t, int>& kanjidicRadicals() {
    static const std::map<char32_t, int> radicals = [] {
        std::map<char32_t, int> result;
        const auto compressed = readWholeFile(kKanjidicPath);
        const auto xml = compressed ? gunzip(*compressed, qsizetype(1) << 28) : std::nullopt;
        const auto entries = xml ? parseKanjidic(*xml) : std::nullopt;
        if (entries) {
            for (const KanjidicEntry& entry : *entries) {
                result[entry.codePoint] = entry.classicalRadical;
            }
        }
        return result;
    }();
    return radicals;
}

TEST(RadicalTable, ReadsSevenTabSeparatedFieldsAndSkipsComments) {
    const auto table = parseRadicalTable(
        "# comment\n\n1\t一\t\teins\t1\tEins\t三 上\r\n2\t丨\t\tStrich\t1\tStrich\t中\n"_ba);
    ASSERT_EQ(table.error, QString());
    ASSERT_EQ(table.entries.size(), 2u);
    EXPECT_EQ(table.entries[0].Genshi, u"一"_s);
    EXPECT_EQ(table.entries[0].Zusatz, QString());
    EXPECT_EQ(table.entries[0].Beispiele, u"三 上"_s);
    EXPECT_EQ(table.entries[1].Nr, 2);
    EXPECT_EQ(table.entries[1].Bedeutung, u"Strich"_s);
}

TEST(RadicalTable, RefusesMalformedLinesNamingTheLine) {
    const auto wrongFieldCount = parseRadicalTable("1\t一\t\teins\t1\tEins\n"_ba);
    EXPECT_TRUE(wrongFieldCount.error.startsWith(u"line 1:"_s))
        << wrongFieldCount.error.toStdString();
    const auto outOfOrder = parseRadicalTable("1\ta\t\tm\t1\tk\te\n3\tb\t\tm\t1\tk\te\n"_ba);
    EXPECT_TRUE(outOfOrder.error.startsWith(u"line 2:"_s)) << outOfOrder.error.toStdString();
    const auto noMeaning = parseRadicalTable("# c\n1\ta\t\t\t1\tk\te\n"_ba);
    EXPECT_TRUE(noMeaning.error.startsWith(u"line 2:"_s)) << noMeaning.error.toStdString();
    const auto badStrokes = parseRadicalTable("1\ta\t\tm\tx\tk\te\n"_ba);
    EXPECT_FALSE(badStrokes.error.isEmpty());
}

TEST(ShippedGenshiList, IsTheCurrentOutputOfTheRadicalTable) {
    const auto source = readWholeFile(kTablePath);
    ASSERT_TRUE(source.has_value());
    const auto table = parseRadicalTable(*source);
    ASSERT_EQ(table.error, QString());
    const auto expected = writeGenshiList(table.entries, genshiListHeading());
    ASSERT_TRUE(expected.has_value());
    const auto shipped = readWholeFile(kListPath);
    ASSERT_TRUE(shipped.has_value());
    EXPECT_EQ(*shipped, *expected) << "run makegenshi to regenerate the list";
}

TEST(ShippedGenshiList, HoldsThe214RadicalsInOrderWithTheirStrokeCounts) {
    const auto& list = shippedList();
    ASSERT_EQ(list.size(), 214u);
    for (size_t i = 0; i < list.size(); ++i) {
        const int number = int(i) + 1;
        EXPECT_EQ(list[i].Nr, number);
        EXPECT_EQ(list[i].Anz, standardStrokes(number)) << "radical " << number;
    }
}

TEST(ShippedGenshiList, TextsAreCjkIdeographsAndGermanNames) {
    for (const GenshiEntry& e : shippedList()) {
        const auto genshi = characters(e.Genshi);
        ASSERT_EQ(genshi.size(), 1u) << "radical " << e.Nr;
        // Unified ideographs only: the Kangxi Radicals blocks have no glyphs in the Mincho font.
        EXPECT_TRUE(genshi[0] >= 0x4E00 && genshi[0] <= 0x9FFF) << "radical " << e.Nr;
        for (char32_t c : characters(e.Zusatz)) {
            EXPECT_TRUE(isCjkIdeograph(c)) << "variant of radical " << e.Nr;
        }
        const auto examples = characters(e.Beispiele);
        EXPECT_GE(examples.size(), 1u) << "radical " << e.Nr;
        EXPECT_LE(examples.size(), 3u) << "radical " << e.Nr;
        for (char32_t c : examples) {
            EXPECT_TRUE(isCjkIdeograph(c)) << "example of radical " << e.Nr;
            EXPECT_NE(c, genshi[0]) << "radical " << e.Nr << " is its own example";
        }
        EXPECT_FALSE(e.Bedeutung.isEmpty()) << "radical " << e.Nr;
        EXPECT_FALSE(e.Kurz.isEmpty()) << "radical " << e.Nr;
        EXPECT_FALSE(e.Kurz.contains(u' ')) << "radical " << e.Nr << ": Kurz is one word";
    }
}

TEST(ShippedGenshiList, EveryCharacterIsInTheMinchoFont) {
    if (!QFile::exists(kFontPath)) {
        GTEST_SKIP() << "IPAMincho is not installed";
    }
    const QRawFont font(kFontPath, 16);
    ASSERT_TRUE(font.isValid());
    for (const GenshiEntry& e : shippedList()) {
        for (const QString* field : {&e.Genshi, &e.Zusatz, &e.Beispiele}) {
            for (char32_t c : characters(*field)) {
                EXPECT_TRUE(font.supportsCharacter(uint(c)))
                    << "radical " << e.Nr << ": U+" << std::hex << uint(c);
            }
        }
    }
}

TEST(ShippedGenshiList, AgreesWithKanjidicClassicalRadicals) {
    const auto& radicals = kanjidicRadicals();
    if (radicals.empty()) {
        GTEST_SKIP() << "KANJIDIC2 is not installed";
    }
    int checked = 0;
    for (const GenshiEntry& e : shippedList()) {
        const char32_t radical = characters(e.Genshi).at(0);
        if (const auto it = radicals.find(radical); it != radicals.end()) {
            EXPECT_EQ(it->second, e.Nr) << "U+" << std::hex << uint(radical);
            ++checked;
        }
        for (char32_t c : characters(e.Beispiele)) {
            EXPECT_TRUE(radicals.count(c)) << "example U+" << std::hex << uint(c) << " of radical "
                                           << std::dec << e.Nr << " is not a known kanji";
        }
    }
    // Nearly every radical is a KANJIDIC2 character itself; a low count means the check is void.
    EXPECT_GE(checked, 200);
}

}  // namespace
