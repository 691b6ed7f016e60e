// Order, numbering and field mapping of the JLPT demo set.
#include "makedemoset/jlptset.h"

#include <gtest/gtest.h>

namespace {

KanjidicEntry entry(char32_t code, int level, int rank, int radical = 1) {
    KanjidicEntry e;
    e.codePoint = code;
    e.jlptLevel = level;
    e.frequencyRank = rank;
    e.classicalRadical = radical;
    return e;
}

std::vector<char32_t> codesOf(const std::vector<KanjiRecord>& records) {
    std::vector<char32_t> codes;
    for (const KanjiRecord& record : records) {
        codes.push_back(static_cast<char32_t>(record.Unicode));
    }
    return codes;
}

const HasStrip kNoStrips = [](char32_t) { return false; };

}  // namespace

TEST(BuildJlptSet, OrdersByLevelFourFirstThenRankUnrankedLastThenCode) {
    const std::vector<KanjidicEntry> entries = {
        entry(U'a', 1, 5), entry(U'b', 4, 0),  entry(U'c', 4, 900), entry(U'd', 2, 10),
        entry(U'e', 4, 3), entry(U'f', 0, 1),  entry(U'g', 4, 0),   entry(U'B', 4, 0),
        entry(U'h', 5, 1), entry(U'i', 3, 50), entry(U'j', 1, 0),   entry(U'k', 2, 9),
    };
    const std::vector<KanjiRecord> records = buildJlptSet(entries, kNoStrips);
    EXPECT_EQ((std::vector<char32_t>{U'e', U'c', U'B', U'b', U'g', U'i', U'k', U'd', U'a', U'j'}),
              codesOf(records))
        << "levels 0 and 5 are not JLPT levels";
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(static_cast<qint32>(i + 1), records[i].Idx1);
    }
    EXPECT_EQ(4, records.front().Idx2);
    EXPECT_EQ(1, records.back().Idx2);
}

TEST(BuildJlptSet, MapsReadingsMeaningsRadicalAndStrip) {
    KanjidicEntry water = entry(U'水', 4, 223, 85);
    water.onReadings = {u"スイ"_qs};
    water.kunReadings = {u"みず"_qs, u"みず-"_qs, u"み.ず"_qs};
    water.meanings = {u"water"_qs, u"water radical (no. 85)"_qs};
    KanjidicEntry noRadical = entry(U'𠀋', 3, 0, 0);
    KanjidicEntry badRadical = entry(U'x', 3, 0, 215);

    const std::vector<KanjiRecord> records =
        buildJlptSet({water, noRadical, badRadical}, [](char32_t code) { return code == U'水'; });
    ASSERT_EQ(3u, records.size());
    const KanjiRecord& first = records[0];
    EXPECT_EQ(0x6C34, first.Unicode);
    EXPECT_EQ(u"スイ"_qs, first.OnYomi);
    EXPECT_EQ(u"みず、みず-、み.ず"_qs, first.KunYomi);
    EXPECT_EQ(u"water, water radical (no. 85)"_qs, first.Bemerkung);
    EXPECT_EQ(u"84,"_qs, first.Genshi);
    EXPECT_EQ(u"27700.png"_qs, first.Anim);

    EXPECT_EQ(0x2000B, records[2].Unicode) << "a code point beyond U+FFFF stays whole";
    EXPECT_EQ(QString(), records[2].Genshi);
    EXPECT_EQ(QString(), records[2].Anim);
    EXPECT_EQ(QString(), records[1].Genshi) << "radical 215 does not exist";
}
