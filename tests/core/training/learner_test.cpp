// Tests of the learner of a set: answering, undoing and merging move profile, log and memory
// together, against counters worked out by hand; a log the profile fell behind; a version 1 log.
#include "core/training/learner.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr qint64 Day = 86400;
constexpr qint64 T0 = 1'780'000'000;
constexpr qint32 Sun = 0x65E5;
constexpr qint32 Moon = 0x6708;

// UTC, so the profile's local times are the log's times.
const QTimeZone Zone = QTimeZone::utc();

// Sun's meaning has a history from before the log: 5 right, 1 partly, 2 wrong, a series of 3,
// last answered ten days before T0. Moon is unanswered.
ProfileList startingProfile() {
    ProfileList profile;
    ProfileRecord sun;
    sun.Code = Sun;
    sun.KindMeaning = AnswerStats{5, 1, 2, storedQuota(5, 2), 3, quint32(T0 - 10 * Day)};
    ProfileRecord moon;
    moon.Code = Moon;
    profile.records = {sun, moon};
    return profile;
}

AnswerStats stats(qint32 right, qint32 partly, qint32 wrong, qint32 series, qint64 last) {
    return AnswerStats{right, partly, wrong, storedQuota(right, wrong), series, quint32(last)};
}

const AnswerStats& statsOf(const Learner& learner, qint32 code, AnswerKind kind) {
    return learner.profile().records[size_t(profileIndexOf(learner.profile(), code))].stats(kind);
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int versionOfFile(const QString& path) {
    const QByteArray bytes = contentOf(path);
    return bytes.size() >= 6 ? int(quint8(bytes[4])) : 0;
}

class LearnerTest : public ::testing::Test {
protected:
    LearnerFiles files() const {
        return {dir_.filePath(QStringLiteral("Lerner.rklog")),
                dir_.filePath(QStringLiteral("Lerner.rktrain"))};
    }
    Learner load(const ProfileList& profile, LearnerLoadReport* report = nullptr) const {
        LoadedLearner loaded = Learner::load(files(), profile, Zone);
        if (report != nullptr) {
            *report = loaded.report;
        }
        return std::move(loaded.learner);
    }

    QTemporaryDir dir_;
};

// Sun asked for meaning and kanji at T0; Moon for On a minute later.
const GradedQuestion SunQuestion{
    Sun, {{AnswerKind::Meaning, Grade::Right}, {AnswerKind::Kanji, Grade::Wrong}}, T0, 1500};
const GradedQuestion MoonQuestion{Moon, {{AnswerKind::On, Grade::Partly}}, T0 + 60, 800};

TEST_F(LearnerTest, AnswersAndUndoesProfileLogAndMemoryTogether) {
    Learner learner = load(startingProfile());
    ASSERT_TRUE(learner.active());
    // No log yet: the seed of Sun's meaning already stands in the memory.
    EXPECT_FALSE(QFile::exists(files().log));
    ASSERT_NE(learner.states().find(Sun, AnswerKind::Meaning), nullptr);

    ASSERT_TRUE(learner.answer(SunQuestion).has_value());
    EXPECT_EQ(statsOf(learner, Sun, AnswerKind::Meaning), stats(6, 1, 2, 4, T0));
    EXPECT_EQ(statsOf(learner, Sun, AnswerKind::Kanji), stats(0, 0, 1, 0, T0));
    const MemoryState meaning = *learner.states().find(Sun, AnswerKind::Meaning);
    EXPECT_EQ(meaning.lastReview, T0);
    ASSERT_NE(learner.states().find(Sun, AnswerKind::Kanji), nullptr);

    ASSERT_TRUE(learner.answer(MoonQuestion).has_value());
    EXPECT_EQ(statsOf(learner, Moon, AnswerKind::On), stats(0, 1, 0, 0, T0 + 60));
    ASSERT_NE(learner.states().find(Moon, AnswerKind::On), nullptr);

    // The log began with the seed, then the answers with their durations.
    auto log = readReviewLog(files().log);
    ASSERT_TRUE(log.has_value());
    EXPECT_EQ(log->version, 2);
    ASSERT_EQ(log->entries.size(), 4u);
    EXPECT_EQ(log->entries[0].type, ReviewEntryType::Seed);
    EXPECT_EQ(log->entries[0].series, 3);
    EXPECT_EQ(log->entries[1], answerEntry(T0, Sun, AnswerKind::Meaning, Grade::Right, 1500));
    EXPECT_EQ(log->entries[3], answerEntry(T0 + 60, Moon, AnswerKind::On, Grade::Partly, 800));

    const std::optional<Undone> undone = learner.undo();
    ASSERT_TRUE(undone.has_value());
    EXPECT_EQ(undone->question, MoonQuestion);
    EXPECT_FALSE(undone->logFailure.has_value());
    EXPECT_EQ(statsOf(learner, Moon, AnswerKind::On), AnswerStats{});
    EXPECT_EQ(learner.states().find(Moon, AnswerKind::On), nullptr);
    // One level: Sun's answers stay.
    EXPECT_FALSE(learner.undo().has_value());
    EXPECT_EQ(statsOf(learner, Sun, AnswerKind::Meaning), stats(6, 1, 2, 4, T0));

    log = readReviewLog(files().log);
    ASSERT_TRUE(log.has_value());
    ASSERT_EQ(log->entries.size(), 5u);
    EXPECT_EQ(log->entries[4], undoEntry(log->entries[3]));
    auto history = readReviewHistory(files().log);
    ASSERT_TRUE(history.has_value());
    ASSERT_EQ(history->size(), 4u);
    EXPECT_EQ(history->back().type, ReviewEntryType::Undo);
    ASSERT_TRUE(learner.sync().has_value());

    // A crash before the profile was saved: loaded with the profile as it was before the run,
    // the learner counts the answers the log holds after it, and leaves the undone one out.
    LearnerLoadReport report;
    const Learner reloaded = load(startingProfile(), &report);
    EXPECT_EQ(report.kindsUpdated, 2);
    EXPECT_TRUE(report.problems.empty());
    EXPECT_EQ(reloaded.profile().records, learner.profile().records);
    const MemoryState replayed = *reloaded.states().find(Sun, AnswerKind::Meaning);
    EXPECT_DOUBLE_EQ(replayed.stability, meaning.stability);
    EXPECT_DOUBLE_EQ(replayed.difficulty, meaning.difficulty);
    EXPECT_EQ(replayed.reviews, meaning.reviews);
    EXPECT_EQ(reloaded.states().find(Moon, AnswerKind::On), nullptr);
    // A profile that is up to date is left as it is.
    const Learner again = load(learner.profile(), &report);
    EXPECT_EQ(report.kindsUpdated, 0);
    EXPECT_EQ(again.profile().records, learner.profile().records);
}

TEST_F(LearnerTest, MergesABatchInTimeOrderAndRebuildsTheCounters) {
    Learner learner = load(startingProfile());
    ASSERT_TRUE(learner.answer(SunQuestion).has_value());
    ASSERT_TRUE(learner.answer(MoonQuestion).has_value());
    ASSERT_TRUE(learner.undo().has_value());

    const std::vector<ReviewEntry> batch{
        // Older than Sun's seed: counted on top of it, and first in time.
        answerEntry(T0 - 20 * Day, Sun, AnswerKind::Meaning, Grade::Wrong),
        // Already in the log (its duration is not what tells answers apart).
        answerEntry(T0, Sun, AnswerKind::Meaning, Grade::Right, 99),
        answerEntry(T0 + Day, Sun, AnswerKind::Meaning, Grade::Easy),
        answerEntry(T0 - 30 * Day, Moon, AnswerKind::Kun, Grade::Right),
        // Another computer's copy of the answer undone here.
        answerEntry(T0 + 60, Moon, AnswerKind::On, Grade::Partly, 800),
        // A code no log can hold.
        answerEntry(T0, 0, AnswerKind::On, Grade::Right)};
    const FileResult<MergeOutcome> merged = learner.merge(batch);
    ASSERT_TRUE(merged.has_value());
    EXPECT_EQ(merged->added, 3);
    EXPECT_EQ(merged->duplicates, 2);
    EXPECT_EQ(merged->refused, 1);

    // Worked by hand, in time order: wrong (T0-20d), seed 5/1/2 with series 3 (T0-10d), right
    // (T0), easy (T0+1d): 7 right, 1 partly, 3 wrong; no wrong after the seed, so the series is
    // the seed's 3 and the 2 rights after it.
    EXPECT_EQ(statsOf(learner, Sun, AnswerKind::Meaning), stats(7, 1, 3, 5, T0 + Day));
    EXPECT_EQ(statsOf(learner, Sun, AnswerKind::Kanji), stats(0, 0, 1, 0, T0));
    EXPECT_EQ(statsOf(learner, Moon, AnswerKind::Kun), stats(1, 0, 0, 1, T0 - 30 * Day));
    // The undone answer stays undone.
    EXPECT_EQ(statsOf(learner, Moon, AnswerKind::On), AnswerStats{});
    EXPECT_EQ(learner.states().find(Moon, AnswerKind::On), nullptr);
    // The memory replays the answers from the oldest; the seed after them is passed over.
    const MemoryState* meaning = learner.states().find(Sun, AnswerKind::Meaning);
    ASSERT_NE(meaning, nullptr);
    EXPECT_EQ(meaning->firstReview, T0 - 20 * Day);
    EXPECT_EQ(meaning->reviews, 3);
    EXPECT_EQ(meaning->lastReview, T0 + Day);
    // No undo across a merge.
    EXPECT_FALSE(learner.canUndo());

    auto log = readReviewLog(files().log);
    ASSERT_TRUE(log.has_value());
    EXPECT_EQ(log->version, 2);
    std::vector<qint64> times;
    for (const ReviewEntry& entry : log->entries) {
        times.push_back(entry.time);
    }
    EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
    // Moon kun, Sun wrong, seed, Sun's two answers, Moon's undo, Sun easy.
    ASSERT_EQ(log->entries.size(), 7u);
    EXPECT_EQ(log->entries[2].type, ReviewEntryType::Seed);
    EXPECT_EQ(log->entries[5].type, ReviewEntryType::Undo);

    // The same batch again adds nothing, and leaves the log as it is.
    const QByteArray before = contentOf(files().log);
    const FileResult<MergeOutcome> twice = learner.merge(batch);
    ASSERT_TRUE(twice.has_value());
    EXPECT_EQ(twice->added, 0);
    EXPECT_EQ(statsOf(learner, Sun, AnswerKind::Meaning), stats(7, 1, 3, 5, T0 + Day));
    EXPECT_EQ(contentOf(files().log), before);

    // Answers go on after a merge, into the rewritten log.
    ASSERT_TRUE(learner.answer(MoonQuestion).has_value());
    EXPECT_EQ(statsOf(learner, Moon, AnswerKind::On), stats(0, 1, 0, 0, T0 + 60));
}

TEST_F(LearnerTest, AppendsToAVersionOneLogUntilAMergeRewritesItAsVersionTwo) {
    const ReviewEntry old = answerEntry(T0 - Day, Sun, AnswerKind::Kanji, Grade::Right);
    {
        QFile file(files().log);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reviewLogHeader(1) + reviewRecordBytes(old, 1));
    }
    const qint64 v1Size = ReviewLogHeaderBytes + ReviewRecordBytesV1;
    ASSERT_EQ(contentOf(files().log).size(), v1Size);
    LearnerLoadReport report;
    Learner learner = load(startingProfile(), &report);
    EXPECT_TRUE(report.problems.empty());
    // The profile never saw that answer: the log brings it in.
    EXPECT_EQ(statsOf(learner, Sun, AnswerKind::Kanji), stats(1, 0, 0, 1, T0 - Day));

    ASSERT_TRUE(learner.answer(SunQuestion).has_value());
    EXPECT_EQ(versionOfFile(files().log), 1);
    EXPECT_EQ(contentOf(files().log).size(), v1Size + 2 * ReviewRecordBytesV1);
    // Version 1 has no undo record: the undone answers are cut off the end.
    ASSERT_TRUE(learner.undo().has_value());
    EXPECT_EQ(contentOf(files().log).size(), v1Size);
    ASSERT_TRUE(learner.answer(SunQuestion).has_value());

    ASSERT_TRUE(learner.merge({}).has_value());
    EXPECT_EQ(versionOfFile(files().log), 2);
    auto log = readReviewLog(files().log);
    ASSERT_TRUE(log.has_value());
    // This log began without a seed of Sun's meaning, whose history the profile holds: the
    // history goes into a seed (the profile's 6/1/2 and series 4, less the log's right answer),
    // so the rebuild loses none of it. The version 1 answers kept no duration.
    ReviewEntry seed;
    seed.type = ReviewEntryType::Seed;
    seed.kind = AnswerKind::Meaning;
    seed.code = Sun;
    seed.time = T0;
    seed.right = 5;
    seed.partly = 1;
    seed.wrong = 2;
    seed.series = 3;
    const std::vector<ReviewEntry> expected{old, seed,
                                            answerEntry(T0, Sun, AnswerKind::Meaning, Grade::Right),
                                            answerEntry(T0, Sun, AnswerKind::Kanji, Grade::Wrong)};
    EXPECT_EQ(log->entries, expected);
    EXPECT_EQ(statsOf(learner, Sun, AnswerKind::Meaning), stats(6, 1, 2, 4, T0));
    EXPECT_EQ(statsOf(learner, Sun, AnswerKind::Kanji), stats(1, 0, 1, 0, T0));
    // From now on answers are version 2 records, durations and undos kept.
    ASSERT_TRUE(learner.answer(MoonQuestion).has_value());
    ASSERT_TRUE(learner.undo().has_value());
    log = readReviewLog(files().log);
    ASSERT_TRUE(log.has_value());
    ASSERT_EQ(log->entries.size(), 6u);
    EXPECT_EQ(log->entries[4].durationMs, 800);
    EXPECT_EQ(log->entries[5].type, ReviewEntryType::Undo);
}

TEST_F(LearnerTest, KeepsDamagedFilesAsBackups) {
    {
        QFile log(files().log);
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write("no log at all");
        // Over the 64 KiB a choices file may have.
        QFile choices(files().choices);
        ASSERT_TRUE(choices.open(QIODevice::WriteOnly));
        choices.write(QByteArray("Renkari-Training 1\n") + QByteArray(70 * 1024, '#'));
    }
    LearnerLoadReport report;
    Learner learner = load(startingProfile(), &report);
    ASSERT_EQ(report.problems.size(), 2u);
    EXPECT_EQ(report.problems[0].kind, LearnerProblem::Kind::ChoicesDamaged);
    EXPECT_EQ(report.problems[0].error.kind, FileErrorKind::TooLarge);
    EXPECT_EQ(report.problems[1].kind, LearnerProblem::Kind::LogDamaged);
    EXPECT_EQ(contentOf(files().log + QStringLiteral(".bak")), QByteArray("no log at all"));
    EXPECT_EQ(contentOf(files().choices + QStringLiteral(".bak")).size(), 19 + 70 * 1024);
    EXPECT_FALSE(learner.choicesKept());
    // The next answer starts a new log from the profile's counters.
    ASSERT_TRUE(learner.answer(SunQuestion).has_value());
    auto log = readReviewLog(files().log);
    ASSERT_TRUE(log.has_value());
    EXPECT_EQ(log->entries.size(), 3u);
}

}  // namespace
