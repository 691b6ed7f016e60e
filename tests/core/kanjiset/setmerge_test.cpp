// Tests of merging a set that two machines changed apart.
#include "core/kanjiset/setmerge.h"

#include "core/kanjiset/recordexpect.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

std::vector<qint32> codesOf(const std::vector<KanjiRecord>& records) {
    std::vector<qint32> codes;
    for (const KanjiRecord& record : records) {
        codes.push_back(record.Unicode);
    }
    return codes;
}

const KanjiRecord* recordOf(const std::vector<KanjiRecord>& records, qint32 code) {
    for (const KanjiRecord& record : records) {
        if (record.Unicode == code) {
            return &record;
        }
    }
    return nullptr;
}

QString onYomiOf(const std::vector<KanjiRecord>& records, qint32 code) {
    const KanjiRecord* record = recordOf(records, code);
    return record ? record->OnYomi : u"<missing>"_s;
}

constexpr qint32 Sun = 0x65E5, Moon = 0x6708, Fire = 0x706B, Water = 0x6C34, Tree = 0x6728,
                 Gold = 0x91D1, Earth = 0x571F, Mountain = 0x5C71, River = 0x5DDD;

}  // namespace

// The desktop changed the sun's reading and the moon's note and removed water; the laptop changed
// the sun's reading otherwise, fire's, removed the tree and added the mountain and the river at one
// index while the desktop added gold.
TEST(SetMerge, ChangesOfEitherSideMergeAndABothSidedChangeIsTold) {
    const std::vector<KanjiRecord> base{
        makeKanji(1, Sun, u"NICHI"_s), makeKanji(2, Moon, u"GETSU"_s), makeKanji(3, Fire, u"KA"_s),
        makeKanji(4, Water, u"SUI"_s), makeKanji(5, Tree, u"MOKU"_s)};
    std::vector<KanjiRecord> desktop = base;
    desktop[0].OnYomi = u"NICHI, JITSU"_s;
    desktop[1].Bemerkung = u"month"_s;
    desktop.erase(desktop.begin() + 3);
    desktop.push_back(makeKanji(6, Gold, u"KIN"_s));
    std::vector<KanjiRecord> laptop = base;
    laptop[0].OnYomi = u"NICHI, NI"_s;
    laptop[2].OnYomi = u"KA, KO"_s;
    laptop.erase(laptop.begin() + 4);
    laptop.push_back(makeKanji(7, River, u"SEN"_s));
    laptop.push_back(makeKanji(7, Mountain, u"SAN"_s));

    const SetMerge merged = mergeSets(base, desktop, laptop);

    EXPECT_EQ(merged.conflicts, std::vector<qint32>{Sun});
    EXPECT_EQ(onYomiOf(merged.records, Sun), u"NICHI, JITSU"_s);
    EXPECT_EQ(recordOf(merged.records, Moon)->Bemerkung, u"month"_s);
    EXPECT_EQ(onYomiOf(merged.records, Fire), u"KA, KO"_s);
    // Removals on one side are honoured; additions of either side kept, by index, then by code.
    EXPECT_EQ(codesOf(merged.records),
              (std::vector<qint32>{Sun, Moon, Fire, Gold, Mountain, River}));

    // The same merge seen from the laptop keeps the laptop's sun and tells the same kanji.
    const SetMerge mirrored = mergeSets(base, laptop, desktop);
    EXPECT_EQ(mirrored.conflicts, std::vector<qint32>{Sun});
    EXPECT_EQ(onYomiOf(mirrored.records, Sun), u"NICHI, NI"_s);
    EXPECT_EQ(codesOf(mirrored.records), codesOf(merged.records));
}

TEST(SetMerge, RemovalAgainstAChangeAndTheSameChangeOnBothSides) {
    const std::vector<KanjiRecord> base{makeKanji(1, Sun, u"NICHI"_s),
                                        makeKanji(2, Moon, u"GETSU"_s),
                                        makeKanji(3, Earth, u"DO"_s)};
    // The desktop removed the sun, which the laptop changed; both made the same change to the moon
    // and both removed earth.
    const std::vector<KanjiRecord> desktop{makeKanji(2, Moon, u"GETSU, GATSU"_s)};
    const std::vector<KanjiRecord> laptop{makeKanji(1, Sun, u"NICHI, JITSU"_s),
                                          makeKanji(2, Moon, u"GETSU, GATSU"_s)};

    const SetMerge merged = mergeSets(base, desktop, laptop);
    EXPECT_EQ(merged.conflicts, std::vector<qint32>{Sun});
    EXPECT_EQ(codesOf(merged.records), std::vector<qint32>{Moon});
}

TEST(SetMerge, WithoutABaseEveryDifferenceIsToldAndNothingLost) {
    const std::vector<KanjiRecord> desktop{
        makeKanji(1, Sun, u"NICHI"_s), makeKanji(2, Moon, u"GETSU"_s), makeKanji(3, Fire, u"KA"_s)};
    const std::vector<KanjiRecord> laptop{makeKanji(1, Sun, u"NICHI"_s),
                                          makeKanji(2, Moon, u"GATSU"_s),
                                          makeKanji(4, Water, u"SUI"_s)};

    const SetMerge merged = mergeSets(std::nullopt, desktop, laptop);
    EXPECT_EQ(merged.conflicts, (std::vector<qint32>{Moon, Water, Fire}));
    EXPECT_EQ(onYomiOf(merged.records, Moon), u"GETSU"_s);
    EXPECT_EQ(codesOf(merged.records), (std::vector<qint32>{Sun, Moon, Fire, Water}));
}
