// Tests of whole-file reading and atomic saving: the reasons failures carry, the temporary files
// that killed saves leave behind, links, devices and pipes.
#include "base/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

void touch(const QString& path, const QByteArray& bytes = "x") {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

unsigned modeOf(const QString& path) {
    struct stat status {};
    stat(QFile::encodeName(path).constData(), &status);
    return status.st_mode & 0777;
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
    EXPECT_EQ(filesIn(dir.path()), (QStringList{u"Ordner.rki"_s, u"Voll.rki"_s}));
}

TEST(KilledSaveLeftovers, SuccessfulSaveRemovesOnlyTheProgramsTemporaryFilesOfItsTarget) {
    QTemporaryDir dir;
    const QString target = dir.filePath(u"export.csv"_s);
    touch(target, "old");
    // What saves of this file killed between writing and renaming leave behind.
    touch(dir.filePath(u".export.csv.renkari-save-a1B2c3"_s));
    touch(dir.filePath(u".export.csv.renkari-save-ZZZZZZ"_s));
    // The learner's own files, whatever they look like, and the temporary files of other saves.
    const QStringList kept{u".export.csv.renkari-save-a1B2c"_s,
                           u".export.csv.renkari-save-a1B2c3d"_s,
                           u".other.csv.renkari-save-a1B2c3"_s,
                           u"export.csv.2024v1"_s,
                           u"export.csv.Backup"_s,
                           u"export.csv.a1B2c3"_s,
                           u"export.csv.bak"_s};
    for (const QString& name : kept) {
        touch(dir.filePath(name));
    }

    ASSERT_TRUE(saveFileAtomically(target, "new"));

    QStringList expected = kept;
    expected << u"export.csv"_s;
    expected.sort();
    QStringList found = filesIn(dir.path());
    found.sort();
    EXPECT_EQ(found, expected);
    EXPECT_EQ(readWholeFile(target).value(), QByteArray("new"));
}

TEST(SaveHelper, KeepsTheModeOfAReplacedFileAndGivesANewOneTheUmasks) {
    QTemporaryDir dir;
    const QString own = dir.filePath(u"privat.rkpr"_s);
    touch(own, "old");
    ASSERT_EQ(chmod(QFile::encodeName(own).constData(), 0600), 0);
    const mode_t previousMask = umask(027);
    const auto replaced = saveFileAtomically(own, "new");
    const auto created = saveFileAtomically(dir.filePath(u"neu.rkpr"_s), "new");
    umask(previousMask);
    ASSERT_TRUE(replaced);
    ASSERT_TRUE(created);
    EXPECT_EQ(modeOf(own), 0600u);
    EXPECT_EQ(modeOf(dir.filePath(u"neu.rkpr"_s)), 0640u);
}

TEST(SaveHelper, TargetsWithLongNamesAreSavedToo) {
    QTemporaryDir dir;
    // With the marker added, the temporary file's name would be longer than a name can be.
    const QString target = dir.filePath(QString(250, u'n'));
    ASSERT_TRUE(saveFileAtomically(target, "one"));
    ASSERT_TRUE(saveFileAtomically(target, "two"));
    EXPECT_EQ(readWholeFile(target).value(), QByteArray("two"));
    EXPECT_EQ(filesIn(dir.path()), QStringList{QString(250, u'n')});
}

TEST(Links, SavingToALinkIsRefusedAndReadingThroughItAllowed) {
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.filePath(u"fremd.txt"_s);
    touch(outside, "outside");
    const QString link = dir.filePath(u"Demo.rki"_s);
    ASSERT_TRUE(QFile::link(outside, link));
    const QString dangling = dir.filePath(u"Neu.rki"_s);
    ASSERT_TRUE(QFile::link(elsewhere.filePath(u"gibtsnicht.txt"_s), dangling));

    EXPECT_EQ(readWholeFile(link).value(), QByteArray("outside"));
    for (const QString& name : {link, dangling}) {
        const auto saved = saveFileAtomically(name, "inside");
        ASSERT_FALSE(saved) << name.toStdString();
        EXPECT_EQ(saved.error().kind, FileErrorKind::IsLink);
        EXPECT_TRUE(QFileInfo(name).isSymLink());
    }
    // A backup kept under a link's name would write through it just the same.
    ASSERT_TRUE(QFile::link(outside, dir.filePath(u"Set.rki.bak"_s)));
    touch(dir.filePath(u"Set.rki"_s), "set");
    const auto backup = keepBackupOf(dir.filePath(u"Set.rki"_s));
    ASSERT_FALSE(backup);
    EXPECT_EQ(backup.error().kind, FileErrorKind::IsLink);

    EXPECT_EQ(readWholeFile(outside).value(), QByteArray("outside"));
    EXPECT_EQ(filesIn(elsewhere.path()), QStringList{u"fremd.txt"_s});
    EXPECT_EQ(filesIn(dir.path()),
              (QStringList{u"Demo.rki"_s, u"Neu.rki"_s, u"Set.rki"_s, u"Set.rki.bak"_s}));
}

TEST(Readers, TakeOnlyRegularFilesAndNeverWaitForAPipe) {
    QTemporaryDir dir;
    const QString zero = dir.filePath(u"Profil.rkpr"_s);
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, zero));
    const QString pipe = dir.filePath(u"Demo.rki"_s);
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);

    // A reader that opened the pipe as files are usually opened would wait here for a writer.
    for (const QString& path : {zero, pipe}) {
        const auto read = readWholeFile(path);
        ASSERT_FALSE(read) << path.toStdString();
        EXPECT_EQ(read.error().kind, FileErrorKind::NotRegularFile);
        const auto checked = checkRegularFile(path);
        ASSERT_FALSE(checked);
        EXPECT_EQ(checked.error().kind, FileErrorKind::NotRegularFile);
    }
    const auto folder = checkRegularFile(dir.path());
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.error().kind, FileErrorKind::IsFolder);

    // Saving replaces no pipe either; it stays for whoever made it.
    const auto saved = saveFileAtomically(pipe, "set");
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.error().kind, FileErrorKind::NotRegularFile);
    EXPECT_TRUE(QFileInfo(pipe).exists());
    EXPECT_FALSE(QFileInfo(pipe).isFile());
}

TEST(Readers, ReadAtMostTheLimitWhateverSizeTheFileClaims) {
    // Files of /proc claim a size of 0 and hold more.
    const QString claimsNothing = u"/proc/self/status"_s;
    ASSERT_EQ(QFileInfo(claimsNothing).size(), 0);
    const auto whole = readWholeFile(claimsNothing, 1 << 20);
    ASSERT_TRUE(whole);
    EXPECT_TRUE(whole->startsWith("Name:")) << whole->left(40).toStdString();
    const auto limited = readWholeFile(claimsNothing, 16);
    ASSERT_FALSE(limited);
    EXPECT_EQ(limited.error().kind, FileErrorKind::TooLarge);
}

TEST(FileReasons, AReadOnlyFolderOrFileIsMissingPermission) {
    QTemporaryDir dir;
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    const QString folder = dir.filePath(u"nurlesen"_s);
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"nurlesen"_s));
    touch(folder + u"/Demo.rki"_s, "old");
    ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), 0555), 0);

    // Permissions stop no one running as root, so the save runs as nobody then.
    const auto kindInChild = [](const QString& target) {
        const pid_t child = fork();
        if (child == 0) {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
                _exit(100);
            }
            const auto saved = saveFileAtomically(target, "new");
            _exit(saved ? 101 : int(saved.error().kind));
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(kindInChild(folder + u"/Demo.rki"_s), int(FileErrorKind::AccessDenied));
    EXPECT_EQ(kindInChild(folder + u"/Neu.rki"_s), int(FileErrorKind::AccessDenied));
    // A file made read-only in a folder open to all is not replaced either.
    const QString open = dir.filePath(u"offen"_s);
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"offen"_s));
    ASSERT_EQ(chmod(QFile::encodeName(open).constData(), 0777), 0);
    touch(open + u"/Demo.rki"_s, "old");
    ASSERT_EQ(chmod(QFile::encodeName(open + u"/Demo.rki"_s).constData(), 0444), 0);
    EXPECT_EQ(kindInChild(open + u"/Demo.rki"_s), int(FileErrorKind::AccessDenied));

    chmod(QFile::encodeName(folder).constData(), 0755);
    for (const QString& each : {folder, open}) {
        EXPECT_EQ(filesIn(each), QStringList{u"Demo.rki"_s});
        EXPECT_EQ(readWholeFile(each + u"/Demo.rki"_s).value(), QByteArray("old"));
    }
}
