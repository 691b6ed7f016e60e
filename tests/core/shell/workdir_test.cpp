// Tests of the choice of the working folder and of filling it from the installed data.
#include "core/shell/workdir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

TEST(WorkingDirectory, LearnerFolderFollowsXdgDataHome) {
    EXPECT_EQ(userWorkingDirectory(u"/home/a"_s, u"/data"_s), u"/data/Renkari"_s);
    EXPECT_EQ(userWorkingDirectory(u"/home/a"_s, QString()), u"/home/a/.local/share/Renkari"_s);
    // A relative XDG_DATA_HOME is invalid and ignored.
    EXPECT_EQ(userWorkingDirectory(u"/home/a"_s, u"data"_s), u"/home/a/.local/share/Renkari"_s);
}

TEST(WorkingDirectory, FolderWithPreferencesOrMediaIsKept) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString installed = root.filePath(u"share"_s);
    writeFile(installed + u"/catalog/English.catalog"_s, "x");
    const QString xdg = root.filePath(u"xdg"_s);

    const QString withMedia = root.filePath(u"media"_s);
    QDir().mkpath(withMedia + u"/Media"_s);
    EXPECT_EQ(chooseWorkingDirectory(withMedia, installed, root.path(), xdg), withMedia);
    const QString withPrefs = root.filePath(u"prefs"_s);
    writeFile(withPrefs + u"/Renkari.pref"_s, "");
    EXPECT_EQ(chooseWorkingDirectory(withPrefs, installed, root.path(), xdg), withPrefs);
    // Neither start touched the learner's folder.
    EXPECT_FALSE(QFileInfo::exists(xdg));
}

TEST(WorkingDirectory, LearnerFolderIsFilledWithoutOverwriting) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString installed = root.filePath(u"share"_s);
    writeFile(installed + u"/Renkari.pref"_s, "LastSet = JLPT\n");
    writeFile(installed + u"/Media/Controls/ok.ico"_s, "icon");
    writeFile(installed + u"/Media/JLPT.rki"_s, "installed set");
    const QString empty = root.filePath(u"empty"_s);
    QDir().mkpath(empty);
    const QString xdg = root.filePath(u"xdg"_s);
    const QString own = xdg + u"/Renkari"_s;

    ASSERT_EQ(chooseWorkingDirectory(empty, installed, root.path(), xdg), own);
    EXPECT_EQ(readFile(own + u"/Renkari.pref"_s), "LastSet = JLPT\n");
    EXPECT_EQ(readFile(own + u"/Media/Controls/ok.ico"_s), "icon");
    EXPECT_EQ(readFile(own + u"/Media/JLPT.rki"_s), "installed set");

    // The learner changed the set and lost an icon; a newer installation changed the set too.
    writeFile(own + u"/Media/JLPT.rki"_s, "learner's set");
    QFile::remove(own + u"/Media/Controls/ok.ico"_s);
    writeFile(installed + u"/Media/JLPT.rki"_s, "newer installed set");
    ASSERT_EQ(chooseWorkingDirectory(empty, installed, root.path(), xdg), own);
    EXPECT_EQ(readFile(own + u"/Media/JLPT.rki"_s), "learner's set");
    EXPECT_EQ(readFile(own + u"/Media/Controls/ok.ico"_s), "icon");
    EXPECT_FALSE(QFileInfo::exists(own + u"/Media/JLPT.rki.part"_s));
}

TEST(WorkingDirectory, MissingInstalledDataIsReported) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    EXPECT_FALSE(copyMissingFiles(root.filePath(u"nothing"_s), root.filePath(u"own"_s)));
}
