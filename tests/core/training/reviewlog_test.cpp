// Tests of the review log: appended, cut short by a crash, reopened and read back; damaged
// logs; the seeds a profile without a log gets.
#include "core/training/reviewlog.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

constexpr qint64 T0 = 1'780'000'000;
constexpr qint32 Sun = 0x65E5;
constexpr qint32 Moon = 0x6708;

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

TEST(ReviewLog, KeepsTheWholeRecordsOfALogATornRecordEnds) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lerner.rklog"));
    ReviewEntry seed;
    seed.type = ReviewEntryType::Seed;
    seed.kind = AnswerKind::On;
    seed.time = T0 - 86400;
    seed.code = Moon;
    seed.right = 7;
    seed.partly = 1;
    seed.wrong = 2;
    const std::vector<ReviewEntry> written{
        seed, answerEntry(T0, Sun, AnswerKind::Kanji, Grade::Right),
        answerEntry(T0 + 5, Sun, AnswerKind::Meaning, Grade::Partly),
        answerEntry(T0 + 9, 0x20B9F, AnswerKind::Kun, Grade::Easy)};
    {
        auto log = ReviewLogWriter::open(path);
        ASSERT_TRUE(log.has_value());
        ASSERT_TRUE(log->append(written).has_value());
        ASSERT_TRUE(log->sync().has_value());
    }
    const QByteArray bytes = contentOf(path);
    ASSERT_EQ(bytes.size(), ReviewLogHeaderBytes + 4 * ReviewRecordBytes);
    EXPECT_EQ(bytes.left(4), QByteArray("RKLG"));

    // A power cut in the middle of the next record.
    const ReviewEntry cut = answerEntry(T0 + 20, Moon, AnswerKind::On, Grade::Wrong);
    writeBytes(path, bytes + reviewRecordBytes(cut).left(11));
    auto torn = readReviewLog(path);
    ASSERT_TRUE(torn.has_value());
    EXPECT_TRUE(torn->torn);
    EXPECT_EQ(torn->entries, written);

    // Reopened, the log drops the torn part, so the next answer stays aligned.
    const ReviewEntry next = answerEntry(T0 + 30, Moon, AnswerKind::On, Grade::Wrong);
    {
        auto log = ReviewLogWriter::open(path);
        ASSERT_TRUE(log.has_value());
        ASSERT_TRUE(log->append(next).has_value());
    }
    auto reread = readReviewLog(path);
    ASSERT_TRUE(reread.has_value());
    EXPECT_FALSE(reread->torn);
    std::vector<ReviewEntry> expected = written;
    expected.push_back(next);
    EXPECT_EQ(reread->entries, expected);
}

TEST(ReviewLog, RefusesDamagedLogsAndLinks) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Lerner.rklog"));
    const QByteArray good =
        reviewLogHeader() + reviewRecordBytes(answerEntry(T0, Sun, AnswerKind::On, Grade::Right));

    QByteArray header = good;
    header[4] = 9;  // a version this program does not know
    writeBytes(path, header);
    auto read = readReviewLog(path);
    ASSERT_FALSE(read.has_value());
    EXPECT_EQ(read.error().kind, FileErrorKind::Malformed);
    // The writer leaves such a file as it is, for the app to keep it as .bak.
    auto writer = ReviewLogWriter::open(path);
    ASSERT_FALSE(writer.has_value());
    EXPECT_EQ(writer.error().kind, FileErrorKind::Malformed);
    EXPECT_EQ(contentOf(path), header);
    // Kept as .bak, it gives way to a new log that starts with the profile's seeds.
    ASSERT_TRUE(keepBackupOf(path).has_value());
    ReviewEntry seed;
    seed.type = ReviewEntryType::Seed;
    seed.code = Sun;
    seed.time = T0;
    seed.right = 2;
    ASSERT_TRUE(startReviewLog(path, {seed}).has_value());
    EXPECT_EQ(contentOf(path + QStringLiteral(".bak")), header);
    auto restarted = readReviewLog(path);
    ASSERT_TRUE(restarted.has_value());
    EXPECT_EQ(restarted->entries, std::vector<ReviewEntry>{seed});

    QByteArray kind = good + good.mid(ReviewLogHeaderBytes);
    kind[ReviewLogHeaderBytes + ReviewRecordBytes + 1] = 4;  // the second record's kind
    read = parseReviewLog(kind);
    ASSERT_FALSE(read.has_value());
    EXPECT_EQ(read.error().kind, FileErrorKind::Malformed);
    EXPECT_EQ(read.error().systemText, QStringLiteral("record 2"));

    EXPECT_FALSE(parseReviewLog(good.left(5)).has_value());
    EXPECT_TRUE(parseReviewLog(reviewLogHeader()).has_value());

    const QString link = dir.filePath(QStringLiteral("Link.rklog"));
    ASSERT_EQ(::symlink(QFile::encodeName(path).constData(), QFile::encodeName(link).constData()),
              0);
    writer = ReviewLogWriter::open(link);
    ASSERT_FALSE(writer.has_value());
    EXPECT_EQ(writer.error().kind, FileErrorKind::IsLink);
}

TEST(ReviewLog, SeedsAProfileWithItsLocalTimesTurnedIntoUtc) {
    ProfileList profile;
    ProfileRecord record;
    record.Code = Sun;
    // 2026-07-01 12:00 on a Berlin clock (summer time, UTC+2), stored as if it were UTC.
    record.KindMeaning = AnswerStats{3, 1, 2, 60, 0, 1'782'907'200};
    // 2026-01-15 08:00 in Berlin (winter, UTC+1).
    record.KindKanji = AnswerStats{0, 0, 1, 0, 0, 1'768'464'000};
    ProfileRecord unanswered;
    unanswered.Code = Moon;
    profile.records = {record, unanswered};

    const std::vector<ReviewEntry> seeds =
        seedEntries(profile, QTimeZone(QByteArrayLiteral("Europe/Berlin")));
    ASSERT_EQ(seeds.size(), 2u);
    EXPECT_EQ(seeds[0].kind, AnswerKind::Meaning);
    EXPECT_EQ(seeds[0].type, ReviewEntryType::Seed);
    EXPECT_EQ(seeds[0].time, 1'782'907'200 - 2 * 3600);
    EXPECT_EQ(seeds[0].right, 3);
    EXPECT_EQ(seeds[0].partly, 1);
    EXPECT_EQ(seeds[0].wrong, 2);
    EXPECT_EQ(seeds[1].kind, AnswerKind::Kanji);
    EXPECT_EQ(seeds[1].time, 1'768'464'000 - 3600);
    // Seeds go into the log like answers and come back the same.
    auto back = parseReviewLog(reviewLogHeader() + reviewRecordBytes(seeds[0]) +
                               reviewRecordBytes(seeds[1]));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->entries, seeds);
}

}  // namespace
