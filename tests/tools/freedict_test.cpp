// German meanings and example glosses from an excerpt of FreeDict's Japanese–German dictionary,
// read as the tool reads the real files.
#include "makedemoset/freedict.h"
#include "makedemoset/edict.h"
#include "makedemoset/meanings.h"

#include <gtest/gtest.h>

namespace {

const QString kExcerpt = RENKARI_SOURCE_DIR u"/tests/data/freedict/excerpt.index"_qs;

KanjidicEntry kanji(char32_t code, QStringList kun, QStringList english) {
    KanjidicEntry entry;
    entry.codePoint = code;
    entry.jlptLevel = 4;
    entry.kunReadings = std::move(kun);
    entry.meanings = std::move(english);
    return entry;
}

EdictWord word(const QString& written, const QString& reading, const QString& gloss) {
    return {written, reading, gloss, false, false};
}

}  // namespace

TEST(GermanMeanings, FromTheWordOrItsOkuriganaOrTheGenshiListCleaned) {
    const std::optional<GermanDictionary> dictionary = GermanDictionary::load(kExcerpt);
    ASSERT_TRUE(dictionary.has_value());
    GenshiEntry line;
    line.Nr = 2;
    line.Genshi = u"丨"_qs;
    line.Bedeutung = u"senkrechter Strich"_qs;
    const std::vector<GenshiEntry> genshi = {line};

    // Gender marks and the remark "(insbes. bei der Einteilung …)" go.
    const GermanMeanings person =
        germanMeaningsOf(kanji(U'人', {u"ひと"_qs}, {u"person"_qs}), *dictionary, genshi);
    EXPECT_EQ(MeaningSource::Word, person.source);
    EXPECT_EQ(u"Mensch, Person, Leute; person"_qs, bemerkungOf(person.meanings, {u"person"_qs}));

    // The first gloss of each sense in turn: 日 is the sun and the day.
    const GermanMeanings sun =
        germanMeaningsOf(kanji(U'日', {u"ひ"_qs, u"-び"_qs}, {}), *dictionary, genshi);
    EXPECT_EQ((QStringList{u"Sonne"_qs, u"Sonnenlicht"_qs, u"Tag"_qs}), sun.meanings);

    // 食べる [ichi1] outranks the word 食 (eclipse), which is only [news1].
    const GermanMeanings eat = germanMeaningsOf(
        kanji(U'食', {u"く.う"_qs, u"た.べる"_qs}, {u"eat"_qs}), *dictionary, genshi);
    EXPECT_EQ(MeaningSource::Okurigana, eat.source);
    EXPECT_EQ(u"essen"_qs, eat.meanings.value(0));

    // "Naka" only spells the reading out; the senses after it are the meanings.
    const GermanMeanings inside = germanMeaningsOf(kanji(U'中', {}, {}), *dictionary, genshi);
    EXPECT_EQ((QStringList{u"Inneres"_qs, u"Zentrum"_qs, u"Hälfte"_qs}), inside.meanings);

    const GermanMeanings stroke =
        germanMeaningsOf(kanji(U'丨', {}, {u"line"_qs}), *dictionary, genshi);
    EXPECT_EQ(MeaningSource::Genshi, stroke.source);
    EXPECT_EQ(u"senkrechter Strich; line"_qs, bemerkungOf(stroke.meanings, {u"line"_qs}));

    const GermanMeanings none =
        germanMeaningsOf(kanji(U'木', {}, {u"tree"_qs}), *dictionary, genshi);
    EXPECT_EQ(MeaningSource::EnglishOnly, none.source);
    EXPECT_EQ(u"tree"_qs, bemerkungOf(none.meanings, {u"tree"_qs}));
}

TEST(GermanExamples, RankedByTheDictionarysMarksWithGermanGlosses) {
    const std::optional<GermanDictionary> dictionary = GermanDictionary::load(kExcerpt);
    ASSERT_TRUE(dictionary.has_value());
    // In EDICT's order the rare words come first and none is marked "(P)": only the German
    // dictionary's marks can place 学生 first. Its reading がくしょう is no entry there and so
    // neither common nor the word's stand-in.
    const std::vector<EdictWord> words = {
        word(u"学僧"_qs, u"がくそう"_qs, u"scholarly priest"_qs),
        word(u"学究"_qs, u"がっきゅう"_qs, u"scholar"_qs),
        word(u"学生"_qs, u"がくしょう"_qs, u"Buddhist scholar"_qs),
        word(u"学生"_qs, u"がくせい"_qs, u"student"_qs),
        word(u"学童"_qs, u"がくどう"_qs, u"schoolchild"_qs),
        word(u"本の"_qs, u"ほんの"_qs, u"mere"_qs),
        word(u"本屋"_qs, u"ほんや"_qs, u"bookshop"_qs),
    };
    std::vector<EdictWord> withKana = words;
    withKana.push_back({u"本当"_qs, u"ほんとう"_qs, u"truth"_qs, true, true});
    const std::unordered_map<char32_t, KanjiFacts> facts = {
        {U'学', {63, 4}},  {U'生', {29, 4}}, {U'僧', {100, 1}}, {U'究', {500, 2}},
        {U'童', {900, 4}}, {U'本', {10, 4}}, {U'屋', {700, 4}}, {U'当', {50, 3}}};
    const std::unordered_map<char32_t, Examples> chosen =
        chooseExamples(withKana, facts, &*dictionary);

    ASSERT_TRUE(chosen.contains(U'学'));
    // [ichi1] first, then [nf33], then the unmarked words of one length by their other kanji's
    // level: 童 is taught with 学 at level 4, 僧 only at level 1 though more frequent. A word
    // the German dictionary lacks keeps its English gloss.
    EXPECT_EQ((Examples{u"学生 (がくせい) Student"_qs, u"学究 (がっきゅう) Forschung"_qs,
                        u"学童 (がくどう) schoolchild"_qs, u"学僧 (がくそう) gelehrter Mönch"_qs}),
              chosen.at(U'学'));
    // 本の is a kanji with a particle; a word marked "(uk)" is usually written in kana alone.
    ASSERT_TRUE(chosen.contains(U'本'));
    EXPECT_EQ((Examples{u"本屋 (ほんや) bookshop"_qs, {}, {}, {}}), chosen.at(U'本'));
}
