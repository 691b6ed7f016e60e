// Tests of the Genshi list file reader and writer and of Genshi position lists.
#include "core/kanjiset/genshilist.h"

#include "base/files.h"

#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray utf16le(const QString& text) {
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return encoder.encode(text);
}

std::vector<GenshiEntry> parse(const QString& text) {
    return parseGenshiList(utf16le(text));
}

TEST(GenshiListRead, FillsAllSevenFieldsInFileOrder) {
    const auto list = parse(u"1,一,,eins,1,Eins,一 二\r\n85,水,氵 氺,Wasser,4,Wasser,海 泳\r\n"_s);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Nr, 1);
    EXPECT_EQ(list[0].Genshi, u"一"_s);
    EXPECT_EQ(list[0].Zusatz, QString());
    EXPECT_EQ(list[0].Beispiele, u"一 二"_s);
    EXPECT_EQ(list[1].Nr, 85);
    EXPECT_EQ(list[1].Genshi, u"水"_s);
    EXPECT_EQ(list[1].Zusatz, u"氵 氺"_s);
    EXPECT_EQ(list[1].Bedeutung, u"Wasser"_s);
    EXPECT_EQ(list[1].Anz, 4);
    EXPECT_EQ(list[1].Kurz, u"Wasser"_s);
    EXPECT_EQ(list[1].Beispiele, u"海 泳"_s);
}

TEST(GenshiListRead, SkipsLinesWhoseFirstFieldReadsAsZero) {
    // The byte-order mark makes its whole line unreadable as a number, data and all.
    const auto list =
        parse(u"\uFEFF7,x,,bom\r\nNr,Genshi,Zusatz\r\n\r\n0,null\r\n   \r\n2,b\r\n-3,c\r\n"_s);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Nr, 2);
    EXPECT_EQ(list[0].Genshi, u"b"_s);
    EXPECT_EQ(list[1].Nr, -3);
}

TEST(GenshiListRead, NumbersFollowTheIntegerReadingRule) {
    const auto list = parse(u" $1A,a,,m,12abc,k,e\n%101,b,,m,,k,e\n"_s);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Nr, 26);
    EXPECT_EQ(list[0].Anz, 12);
    EXPECT_EQ(list[1].Nr, 5);
    EXPECT_EQ(list[1].Anz, 0);
}

TEST(GenshiListRead, IgnoresFieldsAfterTheSeventhAndLeavesMissingOnesEmpty) {
    const auto list = parse(u"4,a,b,c,5,d,e,f,g\n6,x\n8\n"_s);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Beispiele, u"e"_s);
    EXPECT_EQ(list[0].Anz, 5);
    EXPECT_EQ(list[1].Genshi, u"x"_s);
    EXPECT_EQ(list[1].Zusatz, QString());
    EXPECT_EQ(list[1].Bedeutung, QString());
    EXPECT_EQ(list[1].Anz, 0);
    EXPECT_EQ(list[1].Beispiele, QString());
    EXPECT_EQ(list[2].Nr, 8);
    EXPECT_EQ(list[2].Genshi, QString());
}

TEST(GenshiListRead, AcceptsLfCrLfAndAMissingFinalLineEnd) {
    const auto list = parse(u"1,a,,m,1,k,e1\n2,b,,m,2,k,e2\r\n3,c,,m,3,k,e3"_s);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Beispiele, u"e1"_s);
    EXPECT_EQ(list[1].Beispiele, u"e2"_s);
    EXPECT_EQ(list[2].Beispiele, u"e3"_s);
}

TEST(GenshiListRead, SurvivesBrokenUtf16) {
    QByteArray bytes = utf16le(u"1,a,,m,1,k,e\r\n"_s);
    bytes.append("\x00\xD8", 2);  // a lone high surrogate
    bytes.append(utf16le(u",x\r\n2,b\r\n"_s));
    bytes.append('\x33');  // an odd trailing byte
    const auto list = parseGenshiList(bytes);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Beispiele, u"e"_s);
    EXPECT_EQ(list[1].Nr, 2);
    EXPECT_EQ(list[1].Genshi, u"b"_s);
    EXPECT_TRUE(parseGenshiList(QByteArray()).empty());
    EXPECT_TRUE(parseGenshiList(QByteArray("\x31", 1)).empty());
}

TEST(GenshiListFile, MissingFileIsRefusedWithItsReason) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto missing = readGenshiListFile(dir.filePath("Genshiliste.txt"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, FileErrorKind::NotFound);
}

TEST(GenshiListFile, WrittenListReadsBackUnchanged) {
    const std::vector<GenshiEntry> entries{
        {1, u"一"_s, QString(), u"eins"_s, 1, u"Eins"_s, u"七 三"_s},
        {162, u"辵"_s, u"辶"_s, u"gehen"_s, 7, u"Weg"_s, u"道 近 送"_s},
    };
    const auto bytes = writeGenshiList(entries, u"Nr,Genshi,Zusatz,Bedeutung,Anz,Kurz,Beispiele"_s);
    ASSERT_TRUE(bytes.has_value());
    // No byte-order mark: the heading's first character comes first, lines end in CR LF.
    EXPECT_EQ(bytes->left(2), QByteArray("N\0", 2));
    EXPECT_EQ(bytes->right(4), QByteArray("\r\0\n\0", 4));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("Genshiliste.txt");
    ASSERT_TRUE(saveFileAtomically(path, *bytes));
    const auto read = readGenshiListFile(path);
    ASSERT_TRUE(read);
    const std::vector<GenshiEntry>& list = *read;
    ASSERT_EQ(list.size(), 2u);
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(list[i].Nr, entries[i].Nr);
        EXPECT_EQ(list[i].Genshi, entries[i].Genshi);
        EXPECT_EQ(list[i].Zusatz, entries[i].Zusatz);
        EXPECT_EQ(list[i].Bedeutung, entries[i].Bedeutung);
        EXPECT_EQ(list[i].Anz, entries[i].Anz);
        EXPECT_EQ(list[i].Kurz, entries[i].Kurz);
        EXPECT_EQ(list[i].Beispiele, entries[i].Beispiele);
    }
}

TEST(GenshiListFile, WriterRefusesTextsTheFormatCannotHold) {
    const QString heading = u"Nr,Genshi"_s;
    EXPECT_FALSE(writeGenshiList({{1, u"a"_s, {}, u"Mund, Öffnung"_s, 3, {}, {}}}, heading));
    EXPECT_FALSE(writeGenshiList({{1, u"a"_s, {}, {}, 3, {}, u"x\ny"_s}}, heading));
    EXPECT_FALSE(writeGenshiList({}, u"Nr\r\n1,a"_s));
    EXPECT_TRUE(writeGenshiList({}, heading).has_value());
}

TEST(GenshiPositions, CountsCommasNotNumbers) {
    EXPECT_EQ(genshiPositions(u"3,5"), std::vector<qint32>{3});
    EXPECT_EQ(genshiPositions(u"3,5,"), (std::vector<qint32>{3, 5}));
    EXPECT_EQ(genshiPositions(u"12,40,"), (std::vector<qint32>{12, 40}));
    EXPECT_TRUE(genshiPositions(u"").empty());
    EXPECT_TRUE(genshiPositions(u"17").empty());
    EXPECT_EQ(genshiPositions(u","), std::vector<qint32>{0});
}

TEST(GenshiPositions, FieldsAreReadByTheIntegerRule) {
    EXPECT_EQ(genshiPositions(u"x,$10, 7b,-2,,"), (std::vector<qint32>{0, 16, 7, -2, 0}));
}

TEST(GenshiEntryAt, ReturnsNothingOutsideTheList) {
    std::vector<GenshiEntry> list(2);
    list[0].Genshi = u"一"_s;
    list[1].Genshi = u"丨"_s;
    ASSERT_NE(genshiEntryAt(list, 1), nullptr);
    EXPECT_EQ(genshiEntryAt(list, 1)->Genshi, u"丨"_s);
    EXPECT_EQ(genshiEntryAt(list, 2), nullptr);
    EXPECT_EQ(genshiEntryAt(list, -1), nullptr);
    EXPECT_EQ(genshiEntryAt({}, 0), nullptr);
}

}  // namespace
