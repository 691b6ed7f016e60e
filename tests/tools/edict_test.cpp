// Choosing the demo set's example words from an EDICT excerpt, read as the tool reads the real
// file.
#include "makedemoset/edict.h"

#include <gtest/gtest.h>

namespace {

const QString kExcerpt = RENKARI_SOURCE_DIR u"/tests/data/edict/excerpt.edict"_qs;

std::vector<QString> listOf(const Examples& examples) {
    return {examples.begin(), examples.end()};
}

}  // namespace

TEST(EdictExamples, CommonShortFamiliarWordsFirstInTheCardsFormat) {
    const std::optional<std::vector<EdictWord>> words = loadEdict(kExcerpt);
    ASSERT_TRUE(words.has_value());
    // 朝 is made rarer than 曜 so that 朝日 can only win over 日曜日 by being shorter.
    const std::unordered_map<char32_t, KanjiFacts> ranks = {
        {U'日', {1, 4}},   {U'本', {10, 4}},  {U'当', {50, 4}}, {U'水', {60, 4}},
        {U'曜', {500, 4}}, {U'朝', {900, 4}}, {U'向', {0, 4}},  {U'麿', {2000, 4}}};
    const std::unordered_map<char32_t, Examples> chosen = chooseExamples(*words, ranks);

    // Common before uncommon, short before long, familiar kanji before rare ones (a doubling "々"
    // last); 日本 once, with its common reading; "１日", "日ソ" and "日日" are no examples.
    ASSERT_TRUE(chosen.contains(U'日'));
    EXPECT_EQ((std::vector<QString>{u"日本 (にほん) Japan"_qs, u"本日 (ほんじつ) today"_qs,
                                    u"朝日 (あさひ) morning sun"_qs, u"日々 (ひび) every day"_qs}),
              listOf(chosen.at(U'日')));
    // A common word beats a shorter uncommon one.
    ASSERT_TRUE(chosen.contains(U'水'));
    EXPECT_EQ((std::vector<QString>{
                  u"水曜日 (すいようび) Wednesday"_qs, u"水曜 (すいよう) Wednesday"_qs, {}, {}}),
              listOf(chosen.at(U'水')));
    // Tags such as "{comp}" go; a word EDICT marks "(uk)" (向日葵, usually ひまわり) is no
    // example.
    ASSERT_TRUE(chosen.contains(U'向'));
    EXPECT_EQ((std::vector<QString>{u"日向 (ひなた) sunny place"_qs, {}, {}, {}}),
              listOf(chosen.at(U'向')));
    ASSERT_TRUE(chosen.contains(U'当'));
    EXPECT_EQ(u"日当たり (ひあたり) (someone's) exposure to the sun"_qs, chosen.at(U'当')[0]);
    // A kanji no word uses gets no entry, so its record keeps empty examples.
    EXPECT_FALSE(chosen.contains(U'麿'));
    EXPECT_FALSE(chosen.contains(U'葵')) << "only the kanji asked for are filled";

    // The same text as UTF-8 is no EDICT.
    EXPECT_FALSE(parseEdict(u"日本 [にほん] /(n) Japan/(P)/\n"_qs.toUtf8()).has_value());
}
