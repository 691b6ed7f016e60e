// The KANJIDIC2 reader: which elements count, and what it refuses.
#include "makedemoset/kanjidic.h"
#include "common/gunzip.h"

#include "base/files.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kTwoCharacters = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kanjidic2 [
<!ELEMENT kanjidic2 (header,character*)>
<!ATTLIST rad_value rad_type CDATA #REQUIRED>
]>
<kanjidic2>
<header><file_version>4</file_version></header>
<character>
<literal>水</literal>
<codepoint><cp_value cp_type="ucs">6c34</cp_value></codepoint>
<radical><rad_value rad_type="classical">85</rad_value><rad_value rad_type="nelson_c">3</rad_value></radical>
<misc><grade>1</grade><stroke_count>4</stroke_count><stroke_count>5</stroke_count><freq>223</freq><jlpt>4</jlpt></misc>
<reading_meaning><rmgroup>
<reading r_type="pinyin">shui3</reading>
<reading r_type="ja_on">スイ</reading>
<reading r_type="ja_kun">みず</reading>
<reading r_type="ja_kun">みず-</reading>
<meaning>water</meaning>
<meaning m_lang="fr">eau</meaning>
<meaning>water radical (no. 85)</meaning>
</rmgroup><nanori>み</nanori></reading_meaning>
</character>
<character>
<literal>𠀋</literal>
<radical><rad_value rad_type="classical">1</rad_value></radical>
<misc><stroke_count>6</stroke_count></misc>
</character>
</kanjidic2>
)";

}  // namespace

TEST(ParseKanjidic, KeepsTheFieldsOfTheDemoSetOnly) {
    const std::optional<std::vector<KanjidicEntry>> entries = parseKanjidic(kTwoCharacters);
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(2u, entries->size());
    const KanjidicEntry& water = entries->at(0);
    EXPECT_EQ(U'水', water.codePoint);
    EXPECT_EQ(4, water.jlptLevel);
    EXPECT_EQ(223, water.frequencyRank);
    EXPECT_EQ(85, water.classicalRadical) << "the Nelson radical must not replace it";
    EXPECT_EQ(4, water.strokeCount) << "later counts are miscounts";
    EXPECT_EQ(QStringList{u"スイ"_qs}, water.onReadings);
    EXPECT_EQ((QStringList{u"みず"_qs, u"みず-"_qs}), water.kunReadings);
    EXPECT_EQ((QStringList{u"water"_qs, u"water radical (no. 85)"_qs}), water.meanings);

    const KanjidicEntry& rare = entries->at(1);
    EXPECT_EQ(U'𠀋', rare.codePoint);
    EXPECT_EQ(0, rare.jlptLevel);
    EXPECT_EQ(0, rare.frequencyRank);
    EXPECT_TRUE(rare.onReadings.isEmpty());
}

TEST(ParseKanjidic, RefusesBrokenXmlAndEntityDeclarations) {
    EXPECT_FALSE(parseKanjidic(kTwoCharacters.left(kTwoCharacters.size() / 2)).has_value());
    EXPECT_FALSE(parseKanjidic("").has_value());
    const QByteArray external = R"(<?xml version="1.0"?>
<!DOCTYPE kanjidic2 [<!ENTITY secret SYSTEM "file:///etc/hostname">]>
<kanjidic2><character><literal>&secret;</literal></character></kanjidic2>)";
    EXPECT_FALSE(parseKanjidic(external).has_value());
    const QByteArray internal = R"(<?xml version="1.0"?>
<!DOCTYPE kanjidic2 [<!ENTITY a "aaaaaaaaaa"><!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;">]>
<kanjidic2><character><literal>&b;</literal></character></kanjidic2>)";
    EXPECT_FALSE(parseKanjidic(internal).has_value());
}

TEST(Gunzip, InflatesTheRealFileAndRefusesDamagedOrOversizedInput) {
    const auto compressed = readWholeFile(u"/usr/share/edict/kanjidic2.xml.gz"_qs);
    ASSERT_TRUE(compressed.has_value()) << "scripts/setup installs kanjidic-xml";
    const std::optional<QByteArray> xml = gunzip(*compressed, qsizetype(256) << 20);
    ASSERT_TRUE(xml.has_value());
    EXPECT_TRUE(xml->startsWith("<?xml")) << xml->left(40).toStdString();
    EXPECT_TRUE(xml->trimmed().endsWith("</kanjidic2>"));

    EXPECT_FALSE(gunzip(compressed->left(compressed->size() / 2), qsizetype(256) << 20));
    EXPECT_FALSE(gunzip(*compressed, xml->size() - 1)) << "one byte over the limit";
    EXPECT_TRUE(gunzip(*compressed, xml->size())) << "exactly at the limit";
    EXPECT_FALSE(gunzip(kTwoCharacters, qsizetype(1) << 20)) << "plain text is not gzip";
}
