// Tests of the list optimisation: merging records of one kanji, removing empty records, and which
// record stays current.
#include "core/review/optimiselist.h"

#include "core/kanjiset/recordexpect.h"

#include <QImage>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

KanjiRecord withKun(KanjiRecord record, const QString& kun) {
    record.KunYomi = kun;
    return record;
}

struct OptimiseCase {
    const char* name;
    std::vector<KanjiRecord> records;
    int current;
    std::vector<KanjiRecord> expected;
    int expectedCurrent;
    int merged;
    int removed;
};

TEST(OptimiseList, MergesByCodeAndRemovesEmptyRecords) {
    const KanjiRecord sun = makeKanji(1, 0x65E5, u"ニチ"_s);
    const KanjiRecord moon = makeKanji(2, 0x6708, u"ゲツ"_s);
    const KanjiRecord empty = makeKanji(7, 0);
    const KanjiRecord noteOnly = withKun(makeKanji(0, 0), u"nur Kun"_s);

    const OptimiseCase cases[] = {
        {"nothing to do", {sun, moon}, 1, {sun, moon}, 1, 0, 0},
        {"empty set", {}, -1, {}, -1, 0, 0},
        {"the first stays and keeps its texts; empty ones are filled",
         {sun, moon, withKun(makeKanji(9, 0x65E5, u"other"_s), u"ひ"_s)},
         0,
         {withKun(sun, u"ひ"_s), moon},
         0,
         1,
         0},
        {"an empty number is filled from the first later record that has one",
         {makeKanji(0, 0x65E5), makeKanji(0, 0x65E5), makeKanji(5, 0x65E5), makeKanji(6, 0x65E5)},
         0,
         {makeKanji(5, 0x65E5)},
         0,
         3,
         0},
        {"records without a kanji and without texts go, whatever their numbers",
         {empty, sun, empty, moon, empty},
         1,
         {sun, moon},
         0,
         0,
         3},
        {"records without a kanji but with a text stay, never merged",
         {noteOnly, noteOnly, sun},
         2,
         {noteOnly, noteOnly, sun},
         2,
         0,
         0},
        {"a merged current record hands over to the one it joined",
         {sun, moon, sun},
         2,
         {sun, moon},
         0,
         1,
         0},
        {"a removed current record hands over to the one before",
         {sun, empty, moon},
         1,
         {sun, moon},
         0,
         0,
         1},
        {"a removed first current record leaves none current", {empty, sun}, 0, {sun}, -1, 0, 1},
        {"the current record moves with the records before it",
         {empty, sun, sun, moon},
         3,
         {sun, moon},
         1,
         1,
         1},
    };
    for (const OptimiseCase& c : cases) {
        SCOPED_TRACE(c.name);
        KanjiSet set;
        set.records = c.records;
        set.current = c.current;
        const OptimiseResult result = optimiseList(set);
        expectSameRecords(set.records, c.expected);
        EXPECT_EQ(set.current, c.expectedCurrent);
        EXPECT_EQ(result.merged, c.merged);
        EXPECT_EQ(result.removed, c.removed);
    }
}

TEST(OptimiseList, EveryEmptyFieldIsFilled) {
    KanjiRecord later = makeKanji(3, 0x6728, u"ボク"_s, 5);
    later.Anim = u"6728.png"_s;
    later.KunYomi = u"き"_s;
    later.Bemerkung = u"Baum"_s;
    later.GenshiMeaning = u"Holz"_s;
    later.Genshi = u"75,"_s;
    later.KanjiImage = std::make_shared<QImage>();
    later.StrokeImage = std::make_shared<QImage>();
    for (size_t i = 0; i < 4; ++i) {
        later.SoundFile[i] = u"s"_s + QString::number(i);
        later.Beispiel[i] = u"b"_s + QString::number(i);
        later.ExampleMedia[i] = std::make_shared<QImage>();
    }
    KanjiSet set;
    set.records = {makeKanji(0, 0x6728), later};
    const OptimiseResult result = optimiseList(set);
    EXPECT_EQ(result.merged, 1);
    ASSERT_EQ(set.size(), 1);
    const KanjiRecord& kept = set.records.front();
    expectSameStoredFields(kept, later);
    EXPECT_EQ(kept.GenshiMeaning, later.GenshiMeaning);
    EXPECT_EQ(kept.KanjiImage, later.KanjiImage);
    EXPECT_EQ(kept.StrokeImage, later.StrokeImage);
    EXPECT_EQ(kept.ExampleMedia, later.ExampleMedia);
}

// A second import of the same file, optimised, leaves the set as the first import made it.
TEST(OptimiseList, ASecondImportIsFoldedAway) {
    std::vector<KanjiRecord> first;
    for (int i = 0; i < 100; ++i) {
        first.push_back(makeKanji(i + 1, 0x4E00 + i, u"on"_s + QString::number(i)));
    }
    KanjiSet set;
    set.records = first;
    set.records.insert(set.records.end(), first.begin(), first.end());
    const OptimiseResult result = optimiseList(set);
    EXPECT_EQ(result.merged, 100);
    EXPECT_EQ(result.removed, 0);
    expectSameRecords(set.records, first);
}

}  // namespace
