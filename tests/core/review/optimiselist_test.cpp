// Tests of the list optimisation: merging records of one kanji only where no value is lost,
// removing blank records, which record stays current, and how an import updates known kanji.
#include "core/review/optimiselist.h"

#include "core/kanjiset/recordexpect.h"
#include "core/review/importmerge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>

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
    int keptTwice = 0;
};

KanjiRecord withExample(KanjiRecord record, const QString& sound, const QString& text) {
    record.SoundFile[1] = sound;
    record.Beispiel[1] = text;
    return record;
}

TEST(OptimiseList, MergesByCodeAndRemovesEmptyRecords) {
    const KanjiRecord sun = makeKanji(1, 0x65E5, u"ニチ"_s);
    const KanjiRecord moon = makeKanji(2, 0x6708, u"ゲツ"_s);
    const KanjiRecord empty = makeKanji(7, 0);
    const KanjiRecord noteOnly = withKun(makeKanji(0, 0), u"nur Kun"_s);

    const OptimiseCase cases[] = {
        {"nothing to do", {sun, moon}, 1, {sun, moon}, 1, 0, 0},
        {"empty set", {}, -1, {}, -1, 0, 0},
        {"the first stays and keeps its texts; empty ones are filled",
         {sun, moon, withKun(makeKanji(0, 0x65E5, u"ニチ"_s), u"ひ"_s)},
         0,
         {withKun(sun, u"ひ"_s), moon},
         0,
         1,
         0},
        {"an empty number is filled; a different one keeps its record",
         {makeKanji(0, 0x65E5), makeKanji(0, 0x65E5), makeKanji(5, 0x65E5), makeKanji(6, 0x65E5)},
         0,
         {makeKanji(5, 0x65E5), makeKanji(6, 0x65E5)},
         0,
         2,
         0,
         1},
        {"two readings of 日 both stay",
         {makeKanji(1, 0x65E5, u"NICHI"_s), moon, makeKanji(1, 0x65E5, u"JITSU"_s)},
         2,
         {makeKanji(1, 0x65E5, u"NICHI"_s), moon, makeKanji(1, 0x65E5, u"JITSU"_s)},
         2,
         0,
         0,
         1},
        {"a record joins the first of its kanji it agrees with",
         {makeKanji(1, 0x65E5, u"NICHI"_s), makeKanji(1, 0x65E5, u"JITSU"_s),
          withKun(makeKanji(0, 0x65E5, u"JITSU"_s), u"ひ"_s)},
         2,
         {makeKanji(1, 0x65E5, u"NICHI"_s), withKun(makeKanji(1, 0x65E5, u"JITSU"_s), u"ひ"_s)},
         1,
         1,
         0,
         1},
        {"a sound file and a text of two records are no example, until a third pairs them",
         {withExample(sun, u"n.mp3"_s, {}), withExample(sun, {}, u"日本"_s), moon,
          withExample(sun, u"n.mp3"_s, u"日本"_s)},
         1,
         {withExample(sun, u"n.mp3"_s, u"日本"_s), moon},
         0,
         2,
         0},
        {"an example's text alone is part of the same text with its sound",
         {withExample(sun, {}, u"日本"_s), withExample(sun, u"n.mp3"_s, u"日本"_s)},
         1,
         {withExample(sun, u"n.mp3"_s, u"日本"_s)},
         0,
         1,
         0},
        {"blanks hold no value: they neither conflict nor stay against a value",
         {withKun(sun, u" "_s), withKun(makeKanji(1, 0x65E5, u" "_s), u"ひ"_s)},
         0,
         {withKun(sun, u"ひ"_s)},
         0,
         1,
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
        const kanjilist::OptimiseResult result = optimiseList(set);
        expectSameRecords(set.records, c.expected);
        EXPECT_EQ(set.current, c.expectedCurrent);
        EXPECT_EQ(result.merged, c.merged);
        EXPECT_EQ(result.removed, c.removed);
        EXPECT_EQ(result.keptTwice, c.keptTwice);
    }
}

TEST(OptimiseList, EveryEmptyFieldIsFilled) {
    KanjiRecord later = makeKanji(3, 0x6728, u"ボク"_s, 5);
    later.Anim = u"6728.png"_s;
    later.KunYomi = u"き"_s;
    later.Bemerkung = u"Baum"_s;
    later.GenshiMeaning = u"Holz"_s;
    later.Genshi = u"75,"_s;
    for (size_t i = 0; i < 4; ++i) {
        later.SoundFile[i] = u"s"_s + QString::number(i);
        later.Beispiel[i] = u"b"_s + QString::number(i);
    }
    KanjiSet set;
    set.records = {makeKanji(0, 0x6728), later};
    const kanjilist::OptimiseResult result = optimiseList(set);
    EXPECT_EQ(result.merged, 1);
    ASSERT_EQ(set.size(), 1);
    const KanjiRecord& kept = set.records.front();
    expectSameStoredFields(kept, later);
    EXPECT_EQ(kept.GenshiMeaning, later.GenshiMeaning);
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
    const kanjilist::OptimiseResult result = optimiseList(set);
    EXPECT_EQ(result.merged, 100);
    EXPECT_EQ(result.removed, 0);
    expectSameRecords(set.records, first);
}

// Every value record holds is held the same in other, examples by sound file and text together.
bool heldIn(const KanjiRecord& record, const KanjiRecord& other) {
    const auto number = [](qint32 mine, qint32 theirs) { return mine == 0 || mine == theirs; };
    const auto text = [](const QString& mine, const QString& theirs) {
        return !holdsValue(mine) || mine == theirs;
    };
    bool held = record.Unicode == other.Unicode && number(record.Idx1, other.Idx1) &&
                number(record.Idx2, other.Idx2) && text(record.Anim, other.Anim) &&
                text(record.OnYomi, other.OnYomi) && text(record.KunYomi, other.KunYomi) &&
                text(record.Bemerkung, other.Bemerkung) &&
                text(record.GenshiMeaning, other.GenshiMeaning) &&
                text(record.Genshi, other.Genshi);
    for (size_t i = 0; i < 4; ++i) {
        held = held && text(record.SoundFile[i], other.SoundFile[i]) &&
               text(record.Beispiel[i], other.Beispiel[i]);
    }
    return held;
}

// Small sets of two to four records of one or two kanji, their fields drawn from a few values
// each (empty, blank, two that differ), so every kind of agreement and conflict comes up.
TEST(OptimiseList, NeverLosesAValueAndLeavesNoTwoRecordsThatCouldBeOne) {
    std::mt19937 random(18);
    const auto pick = [&random](std::initializer_list<QString> values) {
        return *(values.begin() + random() % values.size());
    };
    const auto pickNumber = [&random](std::initializer_list<qint32> values) {
        return *(values.begin() + random() % values.size());
    };
    int keptTwiceSeen = 0;
    int mergedSeen = 0;
    for (int round = 0; round < 4000; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        KanjiSet set;
        const int count = 2 + static_cast<int>(random() % 3);
        for (int r = 0; r < count; ++r) {
            KanjiRecord record;
            record.Unicode = pickNumber({0x65E5, 0x65E5, 0x65E5, 0x6708, 0});
            record.Idx1 = pickNumber({0, 0, 1, 2});
            record.Idx2 = pickNumber({0, 0, 0, 3, 4});
            record.OnYomi = pick({u""_s, u""_s, u" "_s, u"NICHI"_s, u"JITSU"_s});
            record.KunYomi = pick({u""_s, u""_s, u"ひ"_s, u"か"_s});
            record.Anim = pick({u""_s, u""_s, u""_s, u"65e5.png"_s});
            record.Genshi = pick({u""_s, u""_s, u"3,5"_s, u"3,5,"_s});
            record.GenshiMeaning = pick({u""_s, u""_s, u""_s, u"Sonne"_s});
            record.Bemerkung = pick({u""_s, u""_s, u""_s, u"Tag"_s, u"Sonne"_s});
            record.SoundFile[0] = pick({u""_s, u""_s, u"a.mp3"_s, u"b.mp3"_s});
            record.Beispiel[0] = pick({u""_s, u""_s, u"\t"_s, u"日本"_s, u"毎日"_s});
            record.Beispiel[3] = pick({u""_s, u""_s, u""_s, u"明日"_s});
            set.records.push_back(record);
        }
        set.current = static_cast<int>(random() % static_cast<unsigned>(count));
        const std::vector<KanjiRecord> before = set.records;
        const int currentBefore = set.current;
        const kanjilist::OptimiseResult result = optimiseList(set);

        for (size_t r = 0; r < before.size(); ++r) {
            SCOPED_TRACE(testing::Message() << "record " << r);
            // Records without a kanji and without a text that holds a value go, whatever
            // their numbers.
            KanjiRecord numbersOnly;
            numbersOnly.Idx1 = before[r].Idx1;
            numbersOnly.Idx2 = before[r].Idx2;
            if (heldIn(before[r], numbersOnly)) {
                continue;
            }
            EXPECT_TRUE(
                std::any_of(set.records.begin(), set.records.end(),
                            [&](const KanjiRecord& kept) { return heldIn(before[r], kept); }));
        }
        int twice = 0;
        for (size_t a = 0; a < set.records.size(); ++a) {
            EXPECT_FALSE(isBlank(set.records[a]));
            bool second = false;
            for (size_t b = 0; b < set.records.size(); ++b) {
                const KanjiRecord& first = set.records[a];
                const KanjiRecord& other = set.records[b];
                if (a == b || first.Unicode != other.Unicode || first.Unicode == 0) {
                    continue;
                }
                EXPECT_TRUE(recordsConflict(first, other)) << a << " and " << b;
                second = second || b < a;
            }
            // Counted at the first record of each kanji that has more.
            twice +=
                !second &&
                std::any_of(set.records.begin(), set.records.end(), [&](const KanjiRecord& other) {
                    return &other != &set.records[a] && other.Unicode == set.records[a].Unicode &&
                           other.Unicode != 0;
                });
        }
        EXPECT_EQ(result.keptTwice, twice);
        EXPECT_EQ(result.merged + result.removed + set.size(), count);
        // The current record stays current, or the one it was merged into.
        const KanjiRecord& wasCurrent = before[static_cast<size_t>(currentBefore)];
        KanjiRecord numbersOnly;
        numbersOnly.Idx1 = wasCurrent.Idx1;
        numbersOnly.Idx2 = wasCurrent.Idx2;
        if (!heldIn(wasCurrent, numbersOnly)) {
            ASSERT_GE(set.current, 0);
            ASSERT_LT(set.current, set.size());
            EXPECT_TRUE(heldIn(wasCurrent, set.records[static_cast<size_t>(set.current)]));
        }
        keptTwiceSeen += result.keptTwice;
        mergedSeen += result.merged;
    }
    // The values above were chosen so that both outcomes are common.
    EXPECT_GT(keptTwiceSeen, 500);
    EXPECT_GT(mergedSeen, 500);
}

// An import with optimising: a line of a kanji the set holds changes only the fields its
// mapping gives a value; lines of new kanji are added, merged among themselves where they agree.
TEST(ImportIntoSet, UpdatesKnownKanjiInTheGivenFieldsAndAddsNewOnes) {
    KanjiRecord sun = makeKanji(5, 0x65E5, u"NICHI"_s, 4);
    sun.KunYomi = u"ひ"_s;
    sun.Bemerkung = u"Sonne"_s;
    const KanjiRecord moon = makeKanji(6, 0x6708, u"GETSU"_s);
    KanjiSet set;
    set.records = {sun, moon};
    set.current = 0;

    // Columns: code, On, Kun, Anim, Idx1. Mapping: Idx1, "leere Spalte" for the JLPT, the
    // code, On, Kun, "leere Spalte" for Bemerkung and the Genshi fields, Anim.
    const std::vector<MappingCode> codes = {
        {MappingSource::Column, 4}, {MappingSource::Empty, 0},  {MappingSource::Column, 0},
        {MappingSource::Column, 1}, {MappingSource::Column, 2}, {MappingSource::Empty, 0},
        {MappingSource::Empty, 0},  {MappingSource::Empty, 0},  {MappingSource::Column, 3}};
    const std::vector<QStringList> rows = {
        {u"日"_s, u"JITSU"_s, u" "_s, u"65e5.png"_s, u""_s},  // On and Anim; Kun, Idx1 stay
        {u"月"_s, u"GETSU"_s, u""_s, u""_s, u"2"_s},          // Idx1 2 instead of 6
        {u"犬"_s, u"KEN"_s, u""_s, u""_s, u""_s},             // new
        {u"犬"_s, u""_s, u"いぬ"_s, u""_s, u""_s},            // agrees: merged with the above
        {u"本"_s, u"HON"_s, u""_s, u""_s, u""_s},             // new
        {u"本"_s, u"MOTO"_s, u""_s, u""_s, u""_s},            // disagrees: kept twice
        {u""_s, u""_s, u""_s, u""_s, u""_s},                  // no kanji, no value: not added
    };
    const ImportOutcome outcome = addImported(set, importMappedRecords(rows, codes, 1), true);

    EXPECT_EQ(outcome.updated, 2);
    EXPECT_EQ(outcome.added, 3);
    EXPECT_EQ(outcome.optimised.keptTwice, 1);
    ASSERT_EQ(set.size(), 5);
    const KanjiRecord& updated = set.records[0];
    EXPECT_EQ(updated.Idx1, 5);
    EXPECT_EQ(updated.Idx2, 4);
    EXPECT_EQ(updated.OnYomi, u"JITSU"_s);
    EXPECT_EQ(updated.KunYomi, u"ひ"_s);
    EXPECT_EQ(updated.Bemerkung, u"Sonne"_s);
    EXPECT_EQ(updated.Anim, u"65e5.png"_s);
    // The new records come after the current one.
    EXPECT_EQ(set.records[1].Unicode, 0x72AC);
    EXPECT_EQ(set.records[1].OnYomi, u"KEN"_s);
    EXPECT_EQ(set.records[1].KunYomi, u"いぬ"_s);
    EXPECT_EQ(set.records[2].OnYomi, u"HON"_s);
    EXPECT_EQ(set.records[3].OnYomi, u"MOTO"_s);
    EXPECT_EQ(set.records[4].Idx1, 2);
    EXPECT_EQ(set.records[4].OnYomi, u"GETSU"_s);

    // The same file again changes nothing, the kanji kept twice included.
    const std::vector<KanjiRecord> before = set.records;
    const ImportOutcome again = addImported(set, importMappedRecords(rows, codes, 1), true);
    EXPECT_EQ(again.updated, 0);
    EXPECT_EQ(again.added, 0);
    expectSameRecords(set.records, before);

    // Two lines of a kanji with one record: the second does not overwrite what the first gave.
    const std::vector<QStringList> twoReadings = {{u"月"_s, u"GATSU"_s, u""_s, u""_s, u""_s},
                                                  {u"月"_s, u"GETSU"_s, u""_s, u""_s, u""_s}};
    const ImportOutcome readings =
        addImported(set, importMappedRecords(twoReadings, codes, 1), true);
    EXPECT_EQ(readings.updated, 1);
    EXPECT_EQ(readings.added, 1);
    EXPECT_EQ(readings.optimised.keptTwice, 2);
    ASSERT_EQ(set.size(), 6);
    std::vector<KanjiRecord> moons;
    std::copy_if(set.records.begin(), set.records.end(), std::back_inserter(moons),
                 [](const KanjiRecord& r) { return r.Unicode == 0x6708; });
    ASSERT_EQ(moons.size(), 2u);
    const auto gatsu = std::find_if(moons.begin(), moons.end(),
                                    [](const KanjiRecord& r) { return r.OnYomi == u"GATSU"_s; });
    const auto getsu = std::find_if(moons.begin(), moons.end(),
                                    [](const KanjiRecord& r) { return r.OnYomi == u"GETSU"_s; });
    ASSERT_NE(gatsu, moons.end());
    ASSERT_NE(getsu, moons.end());
    // The updated record keeps its number; the second line's record, whose Idx1 column is
    // empty, is numbered after the set's kanji (日 5, then 犬 6 and 本 7 and 8 of the first
    // import).
    EXPECT_EQ(gatsu->Idx1, 2);
    EXPECT_EQ(getsu->Idx1, 9);

    // Without optimising every line is a record of its own.
    const ImportOutcome plain = addImported(set, importMappedRecords(rows, codes, 1), false);
    EXPECT_EQ(plain.added, static_cast<int>(rows.size()));
    EXPECT_EQ(plain.updated, 0);
    EXPECT_EQ(set.size(), 6 + static_cast<int>(rows.size()));
}

}  // namespace
