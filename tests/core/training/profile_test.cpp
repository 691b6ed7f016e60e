// Tests of the learning profile: the file byte for byte, damaged files, and the rules that merge,
// sync, find and count records.
#include "core/training/profilefile.h"
#include "core/training/profilerecord.h"

#include "core/kanjiset/recordexpect.h"
#include "core/training/profilebuilders.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

ProfileRecord recordWith(qint32 code, qint32 onRight = 0) {
    return profileRecord(code, answers(onRight, 0, 0));
}

std::vector<qint32> codesOf(const ProfileList& list) {
    std::vector<qint32> codes;
    for (const ProfileRecord& record : list.records) {
        codes.push_back(record.Code);
    }
    return codes;
}

KanjiSet setOf(std::initializer_list<qint32> codes) {
    KanjiSet set;
    qint32 idx1 = 1;
    for (qint32 code : codes) {
        set.records.push_back(makeKanji(idx1++, code));
    }
    set.current = 0;
    return set;
}

}  // namespace

TEST(ProfileFile, WritesCountAndTwentyFiveLittleEndianNumbersPerRecord) {
    ProfileRecord record;
    record.Code = 0x65E5;
    qint32 value = 1;
    for (AnswerKind kind :
         {AnswerKind::On, AnswerKind::Kun, AnswerKind::Meaning, AnswerKind::Kanji}) {
        AnswerStats& stats = record.stats(kind);
        for (qint32* field :
             {&stats.Right, &stats.Partly, &stats.Wrong, &stats.Quota, &stats.Series}) {
            *field = value++;
        }
        stats.LastAnswer = static_cast<quint32>(value++);
    }
    // An answer in 2106, beyond what a signed number holds.
    record.KindKanji.LastAnswer = 0xFFFFFFFEu;
    const QByteArray bytes = writeProfileFile({record, recordWith(-7)});

    ASSERT_EQ(bytes.size(), 4 + 2 * 100);
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData()), 2);
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 4), 0x65E5);
    // The blocks follow the code in the order On, Kun, meaning, kanji.
    for (int i = 1; i < 24; ++i) {
        EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 4 + 4 * i), i) << "field " << i;
    }
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 4 + 96), 0xFFFFFFFEu);
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 104), -7);

    const ProfileFileContent read = parseProfileFile(bytes);
    EXPECT_TRUE(read.whole);
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.records[0], record);
    EXPECT_EQ(read.records[1], recordWith(-7));
    EXPECT_EQ(writeProfileFile(read.records), bytes);
}

TEST(ProfileFile, DamagedFilesGiveTheWholeRecordsTheyHold) {
    const QByteArray three = writeProfileFile({recordWith(1), recordWith(2), recordWith(3)});

    // Cut inside the third record: two whole records, the file marked as not whole.
    const ProfileFileContent cut = parseProfileFile(three.left(4 + 250));
    EXPECT_FALSE(cut.whole);
    EXPECT_EQ(cut.records.size(), 2u);

    // A count far beyond the bytes allocates nothing for records that are not there.
    QByteArray huge = three;
    qToLittleEndian<qint32>(0x7FFFFFFF, huge.data());
    const ProfileFileContent promised = parseProfileFile(huge);
    EXPECT_FALSE(promised.whole);
    EXPECT_EQ(promised.records.size(), 3u);

    // Bytes beyond the count are not records of the profile either.
    QByteArray longer = three + QByteArray(100, '\x01');
    const ProfileFileContent extra = parseProfileFile(longer);
    EXPECT_FALSE(extra.whole);
    EXPECT_EQ(extra.records.size(), 3u);

    QByteArray negative = three;
    qToLittleEndian<qint32>(-1, negative.data());
    EXPECT_TRUE(parseProfileFile(negative).records.empty());
    EXPECT_FALSE(parseProfileFile(negative).whole);

    EXPECT_FALSE(parseProfileFile(QByteArray("\x02\x00", 2)).whole);
    EXPECT_TRUE(parseProfileFile(QByteArray(4, '\0')).whole);
}

TEST(ProfileRules, MergeAddsCountsRecomputesQuotaAndKeepsTheLaterSeries) {
    ProfileList list;
    ProfileRecord first = recordWith(100, 2);
    first.KindOn.Wrong = 2;
    first.KindOn.Quota = 50;
    first.KindOn.Series = 7;
    // Answered in 2033 and in 2065: the later answer's time lies beyond 2038.
    first.KindOn.LastAnswer = 2'000'000'000u;
    ProfileRecord second = recordWith(100, 3);
    second.KindOn.Partly = 4;
    second.KindOn.Series = 1;
    second.KindOn.LastAnswer = 3'000'000'000u;
    first.KindKanji.Right = 9;
    list.records = {recordWith(300), second, first};

    mergeDuplicateRecords(list);

    ASSERT_EQ(codesOf(list), (std::vector<qint32>{100, 300}));
    const AnswerStats& on = list.records[0].KindOn;
    EXPECT_EQ(on.Right, 5);
    EXPECT_EQ(on.Partly, 4);
    EXPECT_EQ(on.Wrong, 2);
    EXPECT_EQ(on.Quota, 71);
    EXPECT_EQ(on.Series, 1);
    EXPECT_EQ(on.LastAnswer, 3'000'000'000u);
    // The kanji block of the record folded into the first is dropped.
    EXPECT_EQ(list.records[0].KindKanji.Right, 0);
}

TEST(ProfileRules, SyncGivesEveryKanjiOneRecordAndDropsTheOthers) {
    // The loaded file: 100 twice, 300 not in the set.
    ProfileList list;
    list.records = {recordWith(100, 2), recordWith(100, 3), recordWith(300, 1)};
    mergeDuplicateRecords(list);
    KanjiSet set = setOf({200, 100});
    syncProfile(list, set);
    ASSERT_EQ(codesOf(list), (std::vector<qint32>{100, 200}));
    EXPECT_EQ(list.records[0].KindOn.Right, 5);
    EXPECT_EQ(list.records[1], recordWith(200));
    // The set keeps its order and its current kanji.
    EXPECT_EQ(set.records[0].Unicode, 200);
    EXPECT_EQ(set.current, 0);

    // A profile without a file: its one free record goes to a kanji, none is left over.
    ProfileList fresh;
    fresh.records.assign(1, ProfileRecord{});
    syncProfile(fresh, setOf({30, 10, 20}));
    EXPECT_EQ(codesOf(fresh), (std::vector<qint32>{10, 20, 30}));
}

TEST(ProfileRules, FindWorksOnSortedUnsortedAndEmptyLists) {
    ProfileList list;
    EXPECT_FALSE(findProfileRecord(list, 5));
    for (qint32 code : {1, 3, 5, 7, 9, 11, 13}) {
        addProfileRecord(list, code);
    }
    for (qint32 code : {1, 7, 13}) {
        ASSERT_TRUE(findProfileRecord(list, code));
        EXPECT_EQ(list.currentRecord()->Code, code);
    }
    EXPECT_FALSE(findProfileRecord(list, 4));
    EXPECT_EQ(list.currentRecord(), nullptr);

    std::reverse(list.records.begin(), list.records.end());
    ASSERT_TRUE(findProfileRecord(list, 3));
    EXPECT_EQ(list.currentRecord()->Code, 3);

    // Adding sorts the list again, duplicates included.
    addProfileRecord(list, 2);
    EXPECT_EQ(codesOf(list), (std::vector<qint32>{1, 2, 3, 5, 7, 9, 11, 13}));
    ProfileList sorted;
    addProfileRecord(sorted, 9);
    addProfileRecord(sorted, -4);
    addProfileRecord(sorted, 9);
    EXPECT_EQ(codesOf(sorted), (std::vector<qint32>{-4, 9, 9}));
}

TEST(ProfileRules, AnswersMoveCountsQuotaSeriesAndTime) {
    AnswerStats stats;
    for (int i = 0; i < 3; ++i) {
        recordInStats(stats, Grade::Right, 100 + i);
    }
    EXPECT_EQ(stats.Series, 3);
    EXPECT_EQ(stats.Quota, 100);
    recordInStats(stats, Grade::Partly, 200);
    EXPECT_EQ(stats.Series, 3);
    EXPECT_EQ(stats.Quota, 100);
    EXPECT_EQ(stats.Partly, 1);
    EXPECT_EQ(stats.LastAnswer, 200);
    recordInStats(stats, Grade::Wrong, 300);
    EXPECT_EQ(stats.Series, 0);
    EXPECT_EQ(stats.Quota, 75);
    EXPECT_EQ(stats.LastAnswer, 300);
    EXPECT_EQ(storedQuota(0, 0), 0);
    EXPECT_EQ(storedQuota(1, 2), 33);

    // The local clock's reading, not shifted by the time zone.
    const QDateTime local(QDate(2026, 12, 7), QTime(9, 30, 15), Qt::LocalTime);
    EXPECT_EQ(answerTime(local), 1796635815u);

    // Answers after 2038 keep their time through the file, up to the end of 2106's range.
    const quint32 in2050 = answerTime(QDateTime(QDate(2050, 1, 1), QTime(0, 0), Qt::LocalTime));
    EXPECT_EQ(in2050, 2524608000u);
    EXPECT_EQ(answerTime(QDateTime(QDate(2107, 1, 1), QTime(0, 0), Qt::LocalTime)), 0xFFFFFFFFu);
    EXPECT_EQ(answerTime(QDateTime(QDate(1969, 1, 1), QTime(0, 0), Qt::LocalTime)), 0u);
    ProfileRecord record = recordWith(0x65E5);
    recordInStats(record.KindOn, Grade::Right, in2050);
    const ProfileFileContent read = parseProfileFile(writeProfileFile({record}));
    ASSERT_EQ(read.records.size(), 1u);
    EXPECT_EQ(read.records[0].KindOn.LastAnswer, in2050);
}

TEST(ProfileRules, NamesComeFromTheFilePartBeforeTheFirstDot) {
    EXPECT_EQ(profileNameOf(u"Lerner.test"_s), u"Lerner"_s);
    EXPECT_EQ(profileNameOf(u"C:\\Daten\\Lerner.rkpr"_s), u"Lerner"_s);
    EXPECT_EQ(profileNameOf(u"/home/a/\"Anna\".rkpr"_s), u"Anna"_s);
    EXPECT_EQ(profileNameOf(u".rkpr"_s), QString());
    EXPECT_TRUE(isUsableProfileInput(u"Lerner.2008"_s));
    for (const QString& refused : {QString(), u".hidden"_s, u"a/b"_s, u"..\\x"_s, u"Tab\t"_s}) {
        EXPECT_FALSE(isUsableProfileInput(refused)) << refused.toStdString();
    }
}

TEST(ProfileFuzzInputs, LoadMergeAndSyncWithoutHarm) {
    const QDir folder(QStringLiteral(RENKARI_TEST_DATA "/profile/fuzz"));
    const QStringList files = folder.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        ProfileList list;
        list.records = parseProfileFile(file.readAll()).records;
        mergeDuplicateRecords(list);
        syncProfile(list, setOf({1, 2}));
        EXPECT_EQ(codesOf(list), (std::vector<qint32>{1, 2}));
    }
}
