// Tests of finding kanji by the kanji, its readings, its meaning, its radical and stroke count.
#include "core/kanjiset/kanjisearch.h"

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

// Readings and meanings as the demo generator writes them, the German meaning first.
KanjiSet fixtureSet() {
    const auto kanji = [](char32_t code, const char16_t* on, const char16_t* kun,
                          const char16_t* meaning, const char16_t* genshi) {
        KanjiRecord record;
        record.Unicode = static_cast<qint32>(code);
        record.OnYomi = QString::fromUtf16(on);
        record.KunYomi = QString::fromUtf16(kun);
        record.Bemerkung = QString::fromUtf16(meaning);
        record.Genshi = QString::fromUtf16(genshi);
        return record;
    };
    KanjiSet set;
    set.records = {
        kanji(U'日', u"ニチ、ジツ", u"ひ、-び、-か", u"Sonne, Tag; day, sun, Japan", u"71,"),
        kanji(U'冷', u"レイ", u"つめ.たい、ひ.える", u"kalt; cool, iced", u"14,"),
        kanji(U'水', u"スイ", u"みず、みず-", u"Wasser; water", u"84,"),
        kanji(U'食', u"ショク、ジキ", u"く.う、た.べる", u"essen, Speise; eat, food", u"183,"),
        kanji(U'氷', u"ヒョウ", u"こおり、ひ、こお.る", u"Eis; icicle, ice, freeze", u"84,"),
        kanji(U'鍵', u"ケン", u"かぎ", u"Schlüssel; key", u"166,"),
        kanji(U'明', u"メイ、ミョウ", u"あ.かり、あか.るい", u"hell, Licht; bright, light", u"71,"),
    };
    return set;
}

std::vector<char32_t> found(const KanjiSearchIndex& index, const KanjiSet& set,
                            const KanjiSearchQuery& query) {
    std::vector<char32_t> kanji;
    for (const int position : index.search(query)) {
        kanji.push_back(static_cast<char32_t>(set.records[static_cast<size_t>(position)].Unicode));
    }
    return kanji;
}

std::vector<char32_t> found(const KanjiSearchIndex& index, const KanjiSet& set,
                            const QString& text) {
    return found(index, set, KanjiSearchQuery{text});
}

using Kanji = std::vector<char32_t>;

KanjiSearchQuery query(const QString& text, qint32 radical, int strokes = 0) {
    return {text, radical, strokes};
}

TEST(KanjiSearch, FindsReadingsInRomajiWholeWithOrWithoutOkurigana) {
    const KanjiSet set = fixtureSet();
    const KanjiSearchIndex index(set);
    EXPECT_EQ(found(index, set, u"mizu"_s), Kanji({U'水'}));
    EXPECT_EQ(found(index, set, u"nichi"_s), Kanji({U'日'}));
    EXPECT_EQ(found(index, set, u"Taberu"_s), Kanji({U'食'}));
    EXPECT_EQ(found(index, set, u"tabe"_s), Kanji({U'食'}));
    EXPECT_EQ(found(index, set, u"kōri"_s), Kanji({U'氷'}));
    // Whole readings only: "mi" begins みず but is no reading of it.
    EXPECT_EQ(found(index, set, u"mi"_s), Kanji());
    // ひ is whole for 日 and 氷, only the stem of ひ.える for 冷, which comes after them.
    EXPECT_EQ(found(index, set, u"hi"_s), Kanji({U'日', U'氷', U'冷'}));
}

TEST(KanjiSearch, FindsReadingsInKanaAndTheKanjiItself) {
    const KanjiSet set = fixtureSet();
    const KanjiSearchIndex index(set);
    EXPECT_EQ(found(index, set, u"みず"_s), Kanji({U'水'}));
    EXPECT_EQ(found(index, set, u"たべる"_s), Kanji({U'食'}));
    EXPECT_EQ(found(index, set, u"た.べる"_s), Kanji({U'食'}));
    EXPECT_EQ(found(index, set, u"にち"_s), Kanji({U'日'}));
    EXPECT_EQ(found(index, set, u"ミョウ"_s), Kanji({U'明'}));
    EXPECT_EQ(found(index, set, u"あかるい"_s), Kanji({U'明'}));
    EXPECT_EQ(found(index, set, u"水"_s), Kanji({U'水'}));
    // Pasted text: the kanji of it the set holds.
    EXPECT_EQ(found(index, set, u" 日本 "_s), Kanji({U'日'}));
}

TEST(KanjiSearch, FindsMeaningsByWordStartFoldingUmlautsAndCase) {
    const KanjiSet set = fixtureSet();
    const KanjiSearchIndex index(set);
    EXPECT_EQ(found(index, set, u"Wass"_s), Kanji({U'水'}));
    EXPECT_EQ(found(index, set, u"Sonne"_s), Kanji({U'日'}));
    EXPECT_EQ(found(index, set, u"sun"_s), Kanji({U'日'}));
    EXPECT_EQ(found(index, set, u"Schluessel"_s), Kanji({U'鍵'}));
    EXPECT_EQ(found(index, set, u"SCHLÜS"_s), Kanji({U'鍵'}));
    EXPECT_EQ(found(index, set, u"schlüssel"_s), Kanji({U'鍵'}));
    // "ice" is a word of 氷's meaning but only the start of 冷's "iced": 氷 comes first.
    EXPECT_EQ(found(index, set, u"ice"_s), Kanji({U'氷', U'冷'}));
    // Every word must begin a word of the same meaning, not the middle of one.
    EXPECT_EQ(found(index, set, u"bright li"_s), Kanji({U'明'}));
    EXPECT_EQ(found(index, set, u"ser"_s), Kanji());
    EXPECT_EQ(foldForSearch(u"Grüße, ÄRGER, Öl"), u"gruesse, aerger, oel"_s);
}

TEST(KanjiSearch, FindsByRadicalAndStrokeCount) {
    const KanjiSet set = fixtureSet();
    const std::map<qint32, int> strokes{{U'水', 4}, {U'氷', 5}, {U'日', 4}, {U'明', 8}};
    const KanjiSearchIndex index(set, [&strokes](qint32 code) {
        const auto it = strokes.find(code);
        return it == strokes.end() ? 0 : it->second;
    });
    EXPECT_EQ(index.radicals(), (std::vector<qint32>{14, 71, 84, 166, 183}));
    EXPECT_EQ(found(index, set, query({}, 84)), Kanji({U'水', U'氷'}));
    EXPECT_EQ(found(index, set, query({}, 84, 5)), Kanji({U'氷'}));
    EXPECT_EQ(found(index, set, query({}, -1, 4)), Kanji({U'日', U'水'}));
    EXPECT_EQ(found(index, set, query(u"hi"_s, 71)), Kanji({U'日'}));
    EXPECT_EQ(found(index, set, KanjiSearchQuery{}), Kanji());

    // A set that lists components in its Genshi is not searched by radical.
    KanjiSet components = set;
    components.records[3].Genshi = u"183,37,"_s;
    const KanjiSearchIndex byComponents(components);
    EXPECT_TRUE(byComponents.radicals().empty());
    EXPECT_EQ(found(byComponents, components, query({}, 84)), Kanji());
}

TEST(KanjiSearch, AnEditOfTheSetMakesTheIndexStale) {
    KanjiSet set = fixtureSet();
    const KanjiSearchIndex index(set);
    EXPECT_TRUE(index.isCurrentFor(set));
    KanjiSet copy = set;
    EXPECT_TRUE(index.isCurrentFor(copy));
    // Changed in place, the text is copied away from the one the index keeps.
    set.records[2].KunYomi.append(u"、みず.から"_s);
    EXPECT_FALSE(index.isCurrentFor(set));
    copy.records.pop_back();
    EXPECT_FALSE(index.isCurrentFor(copy));
}

}  // namespace
