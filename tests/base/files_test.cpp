// Tests of whole-file reading and atomic saving: the reasons failures carry and the temporary
// copies that killed saves leave behind.
#include "base/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

void touch(const QString& path, const QByteArray& bytes = "x") {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

}  // namespace

TEST(FileReasons, ReadingTellsMissingFolderAndTooLargeApart) {
    QTemporaryDir dir;
    const auto missing = readWholeFile(dir.filePath(u"nichts.rki"_s));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, FileErrorKind::NotFound);

    const auto folder = readWholeFile(dir.path());
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.error().kind, FileErrorKind::IsFolder);

    touch(dir.filePath(u"gross.rki"_s), QByteArray(100, 'a'));
    const auto large = readWholeFile(dir.filePath(u"gross.rki"_s), 99);
    ASSERT_FALSE(large);
    EXPECT_EQ(large.error().kind, FileErrorKind::TooLarge);
    EXPECT_EQ(readWholeFile(dir.filePath(u"gross.rki"_s), 100).value(), QByteArray(100, 'a'));
}

TEST(FileReasons, SavingTellsMissingFolderTargetFolderAndFullDiskApart) {
    QTemporaryDir dir;
    const auto noFolder = saveFileAtomically(dir.filePath(u"fehlt/Set.rki"_s), "abc");
    ASSERT_FALSE(noFolder);
    EXPECT_EQ(noFolder.error().kind, FileErrorKind::NotFound);

    ASSERT_TRUE(QDir(dir.path()).mkdir(u"Ordner.rki"_s));
    const auto onFolder = saveFileAtomically(dir.filePath(u"Ordner.rki"_s), "abc");
    ASSERT_FALSE(onFolder);
    EXPECT_EQ(onFolder.error().kind, FileErrorKind::IsFolder);

    // A file size limit makes writes fail as a full disk does; a file small enough to be written
    // in one piece at the very end must not replace the whole one truncated.
    touch(dir.filePath(u"Voll.rki"_s), "alt");
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    auto* const previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lowered = previous;
    lowered.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &lowered), 0);
    const auto full = saveFileAtomically(dir.filePath(u"Voll.rki"_s), QByteArray(8192, 'v'));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_FALSE(full);
    EXPECT_EQ(full.error().kind, FileErrorKind::NoSpace) << full.error().systemText.toStdString();
    EXPECT_EQ(readWholeFile(dir.filePath(u"Voll.rki"_s)).value(), QByteArray("alt"));
    EXPECT_EQ(filesIn(dir.path()), QStringList{u"Voll.rki"_s});
}

TEST(KilledSaveLeftovers, SuccessfulSaveRemovesOnlyTemporaryCopiesOfItsOwnFile) {
    QTemporaryDir dir;
    const QString set = dir.filePath(u"Demo.rki"_s);
    touch(set, "old");
    // What a save killed between linking its temporary copy and renaming it leaves behind.
    touch(set + u".a1B2c3"_s);
    touch(set + u".Zz9Yy8"_s);
    // Files of other names and of the user's own naming stay.
    touch(set + u".bak"_s);
    touch(set + u".backup"_s);
    touch(set + u".a1B2c3d"_s);
    touch(dir.filePath(u"Other.rki.a1B2c3"_s));

    ASSERT_TRUE(saveFileAtomically(set, "new"));

    EXPECT_EQ(filesIn(dir.path()),
              (QStringList{u"Demo.rki"_s, u"Demo.rki.a1B2c3d"_s, u"Demo.rki.backup"_s,
                           u"Demo.rki.bak"_s, u"Other.rki.a1B2c3"_s}));
    EXPECT_EQ(readWholeFile(set).value(), QByteArray("new"));
}
