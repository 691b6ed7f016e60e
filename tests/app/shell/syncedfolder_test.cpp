// Tests of a working folder a sync engine shares with another machine: starting in it after both
// machines worked apart, and the engine replacing the log while the program runs.
#include "app/shell/appfixture.h"
#include "app/state/trainingids.h"
#include "core/shell/preferences.h"
#include "core/training/profilefile.h"
#include "core/training/reviewlog.h"
#include "core/training/trainingchoices.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

class SyncedFolder : public AppFixture {
protected:
    // The file as the engine leaves it: written on the machine at that time.
    void writeFileAt(const QString& relativePath, const QByteArray& bytes, const QDateTime& time) {
        writeFile(relativePath, bytes);
        QFile file(workDir() + relativePath);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    }
    QStringList filesIn(const QString& relativeFolder) const {
        return QDir(workDir() + relativeFolder).entryList(QDir::Files, QDir::Name);
    }
};

const QDateTime Morning(QDate(2026, 12, 8), QTime(8, 0));
const QDateTime Noon(QDate(2026, 12, 8), QTime(12, 0));

}  // namespace

// The laptop last chose another set, an import folder this machine lacks and more new kanji a
// day; its files came back as conflict copies of the desktop's older ones.
TEST_F(SyncedFolder, PreferencesAndChoicesSavedLastWinAndForeignFoldersFallBack) {
    const std::vector<KanjiRecord> kanji{makeKanji(1, 0x4E00, u"イチ"_s)};
    writeSet(u"Drei"_s, kanji);
    writeSet(u"Vier"_s, kanji);
    writeFileAt(u"Renkari.pref"_s,
                serializePreferences({u"Drei"_s, u"Anna"_s, workDir(), workDir(), QString()}),
                Morning);
    const QString copy = u"Renkari (conflicted copy 2026-12-08 120000).pref"_s;
    writeFileAt(copy,
                serializePreferences(
                    {u"Vier"_s, u"Anna"_s, u"/home/laptop/Downloads/"_s, workDir(), QString()}),
                Noon);
    TrainingChoices desktopChoices;
    desktopChoices.newPerDay = 5;
    TrainingChoices laptopChoices;
    laptopChoices.newPerDay = 25;
    writeFileAt(u"Media/Vier/Anna.rktrain"_s, writeTrainingChoices(desktopChoices), Morning);
    writeFileAt(u"Media/Vier/Anna (Laptop's conflicted copy 2026-12-08).rktrain"_s,
                writeTrainingChoices(laptopChoices), Noon);

    app.ui.setLocalNow([] { return Noon.addSecs(600); });
    start();

    EXPECT_EQ(app.setName, u"Vier"_s);
    EXPECT_EQ(app.paths.importPath, workDir());
    EXPECT_EQ(app.paths.exportPath, workDir());
    const std::optional<QByteArray> choices = readFile(u"Media/Vier/Anna.rktrain"_s);
    ASSERT_TRUE(choices.has_value());
    EXPECT_EQ(parseTrainingChoices(*choices).value_or(TrainingChoices{}).newPerDay, 25);
    EXPECT_EQ(filesIn({}).filter(u"conflicted copy"_s),
              QStringList{copy + u".merged-2026-12-08"_s});
    EXPECT_EQ(filesIn(u"Media/Vier"_s).filter(u"conflicted copy"_s).filter(u".merged-"_s).size(),
              1);
    EXPECT_EQ(filesIn(u"Media/Vier"_s).filter(u"conflicted copy"_s).size(), 1);
    ASSERT_TRUE(finish());
}

namespace {

constexpr qint64 T = 1796716800;  // 2026-12-08 00:00 UTC
constexpr qint32 One = 0x4E00, Two = 0x4E8C;

ReviewEntry seedOf(qint64 time, qint32 code, AnswerKind kind, qint32 right, qint32 wrong) {
    ReviewEntry seed;
    seed.type = ReviewEntryType::Seed;
    seed.kind = kind;
    seed.time = time;
    seed.code = code;
    seed.right = right;
    seed.wrong = wrong;
    return seed;
}

class SyncedLearner : public SyncedFolder {
protected:
    QString logPath() const { return mediaDir() + u"Zwei/Anna.rklog"_s; }
    void writeLearner(const std::vector<ReviewEntry>& log,
                      const std::vector<ProfileRecord>& profile) {
        writeSet(u"Zwei"_s, {makeKanji(1, One, u"イチ"_s), makeKanji(2, Two, u"ニ"_s)});
        writeFile(u"Renkari.pref"_s,
                  serializePreferences({u"Zwei"_s, u"Anna"_s, workDir(), workDir(), QString()}));
        writeFile(u"Media/Zwei/Anna.rkpr"_s, writeProfileFile(profile));
        ASSERT_TRUE(startReviewLog(logPath(), log));
    }
    std::vector<ReviewEntry> answersInLog() const {
        std::vector<ReviewEntry> answers;
        for (const ReviewEntry& entry : readReviewHistory(logPath()).value_or({})) {
            if (entry.type == ReviewEntryType::Answer) {
                answers.push_back(entry);
            }
        }
        return answers;
    }
    const AnswerStats& counted(qint32 code, AnswerKind kind) const {
        const ProfileList& profile = app.learner.profile();
        return profile.records[size_t(profileIndexOf(profile, code))].stats(kind);
    }
    std::vector<ProfileRecord> profileOnDisk() const {
        const std::optional<QByteArray> bytes = readFile(u"Media/Zwei/Anna.rkpr"_s);
        return bytes ? parseProfileFile(*bytes).records : std::vector<ProfileRecord>{};
    }
};

}  // namespace

// Both machines began from one seed of 一's On reading and shared one answer; each gave its own
// after, the laptop took one back, and its log began with a seed of its own a little later.
TEST_F(SyncedLearner, ConflictCopyOfTheLogIsUnitedAndTheProfileRebuiltFromIt) {
    const ReviewEntry shared = answerEntry(T + 500, One, AnswerKind::On, Grade::Partly);
    const ReviewEntry desktop = answerEntry(T + 1000, One, AnswerKind::On, Grade::Right);
    const ReviewEntry laptopWrong = answerEntry(T + 2000, One, AnswerKind::On, Grade::Wrong);
    const ReviewEntry laptopUndone = answerEntry(T + 3000, One, AnswerKind::On, Grade::Right);
    const ReviewEntry laptopTwo = answerEntry(T + 3500, Two, AnswerKind::Kun, Grade::Easy);
    writeLearner(
        {seedOf(T, One, AnswerKind::On, 3, 1), shared, desktop},
        {ProfileRecord{One, {4, 1, 1, 0, 0, 0}, {}, {}, {}}, ProfileRecord{Two, {}, {}, {}, {}}});
    const QString copy = u"Media/Zwei/Anna.sync-conflict-20261208-101500-ABCDEFG.rklog"_s;
    ASSERT_TRUE(startReviewLog(workDir() + copy,
                               {seedOf(T + 100, One, AnswerKind::On, 9, 9), shared, laptopWrong,
                                laptopUndone, undoEntry(laptopUndone), laptopTwo}));
    writeFile(u"Media/Zwei/Anna (conflicted copy 2026-12-08 101500).rkpr"_s,
              writeProfileFile({ProfileRecord{One, {12, 1, 10, 0, 0, 0}, {}, {}, {}}}));

    start();

    EXPECT_EQ(answersInLog(), (std::vector<ReviewEntry>{shared, desktop, laptopWrong, laptopTwo}));
    // The first seed and every answer once, the undone one not, the later seed passed over.
    const AnswerStats& one = counted(One, AnswerKind::On);
    EXPECT_EQ((std::array{one.Right, one.Partly, one.Wrong, one.Series}), (std::array{4, 1, 2, 0}));
    const AnswerStats& two = counted(Two, AnswerKind::Kun);
    EXPECT_EQ((std::array{two.Right, two.Partly, two.Wrong, two.Series}), (std::array{1, 0, 0, 1}));
    EXPECT_EQ(profileOnDisk(), app.learner.profile().records);
    const QStringList left = filesIn(u"Media/Zwei"_s).filter(u"conflict"_s);
    EXPECT_EQ(left.size(), 2);
    EXPECT_EQ(left.filter(u".merged-"_s), left);
    ASSERT_TRUE(finish());
}

// The program is open on the desktop, in a run, while the engine renames the laptop's log over the
// one it appends to: the next answer goes to the new file, which also takes the desktop's answer
// that only the old file held.
TEST_F(SyncedLearner, AnswerAfterTheLogWasReplacedKeepsBothMachinesAnswers) {
    const ReviewEntry earlier = answerEntry(T, One, AnswerKind::On, Grade::Right);
    writeLearner({earlier}, {ProfileRecord{One, {1, 0, 0, 100, 1, 0}, {}, {}, {}},
                             ProfileRecord{Two, {}, {}, {}, {}}});
    QDateTime now = QDateTime::fromSecsSinceEpoch(T + 600, QTimeZone::utc());
    app.ui.setLocalNow([&now] { return now; });
    start();
    choosePage(ViewMode::Training);
    click(OrderIndex);
    click(StartButton);
    control<QLineEdit>(AnswerOn)->setText(u"ichi"_s);
    click(CheckButton);
    click(NextQuestionButton);

    const ReviewEntry laptop = answerEntry(T + 700, Two, AnswerKind::Meaning, Grade::Right);
    ASSERT_TRUE(startReviewLog(logPath(), {earlier, laptop}));
    now = now.addSecs(200);
    control<QLineEdit>(AnswerOn)->setText(u"ni"_s);
    click(CheckButton);

    const std::vector<ReviewEntry> answers = answersInLog();
    const auto given = [&](qint64 time, qint32 code) {
        return std::ranges::any_of(answers, [&](const ReviewEntry& entry) {
            return entry.time == time && entry.code == code && entry.kind == AnswerKind::On;
        });
    };
    EXPECT_TRUE(given(T, One));
    EXPECT_TRUE(given(T + 600, One)) << "the answer only the replaced log held";
    EXPECT_TRUE(given(T + 800, Two)) << "the answer given after the log was replaced";
    EXPECT_EQ(std::ranges::count(answers, laptop), 1);
    EXPECT_EQ(counted(One, AnswerKind::On).Right, 2);
    EXPECT_EQ(counted(Two, AnswerKind::Meaning).Right, 1);
    EXPECT_EQ(counted(Two, AnswerKind::On).Right, 1);
    click(TrainingEndButton);
    ASSERT_TRUE(finish());
    EXPECT_EQ(profileOnDisk(), app.learner.profile().records);
}
