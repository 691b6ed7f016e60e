// Tests of telling the sync engines' conflict copies from the learners' own files, and of what
// becomes of a copy after its merge.
#include "core/shell/conflictcopy.h"
#include "core/shell/mergedcopies.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString originalOf(const QString& name) {
    return conflictCopyOriginal(name).value_or(u"<none>"_s);
}

}  // namespace

TEST(ConflictCopy, EachEngineNamesTheOriginalWithItsExtension) {
    EXPECT_EQ(originalOf(u"Anna.sync-conflict-20261208-101500-ABCDEFG.rklog"_s), u"Anna.rklog"_s);
    EXPECT_EQ(originalOf(u"Anna (conflicted copy 2026-12-08 101500).rklog"_s), u"Anna.rklog"_s);
    EXPECT_EQ(originalOf(u"Anna (Laptop's conflicted copy 2026-12-08).rklog"_s), u"Anna.rklog"_s);
    // Nextcloud with the user's name, Dropbox's second copy of a day and its typographic
    // apostrophe.
    EXPECT_EQ(originalOf(u"Anna (conflicted copy anna 2026-12-08 101500).rkpr"_s), u"Anna.rkpr"_s);
    EXPECT_EQ(originalOf(u"Anna (Laptop's conflicted copy 2026-12-08 (1)).rktrain"_s),
              u"Anna.rktrain"_s);
    EXPECT_EQ(originalOf(u"Anna (Anna\u2019s Laptop\u2019s conflicted copy 2026-12-08).rklog"_s),
              u"Anna.rklog"_s);
    // Names with dots and spaces of their own keep them; a copy of a copy leads to the first.
    EXPECT_EQ(originalOf(u"JLPT 3.2.sync-conflict-20261208-101500-ABC2345.rki"_s),
              u"JLPT 3.2.rki"_s);
    EXPECT_EQ(originalOf(u"Renkari.sync-conflict-20261208-101500-ABCDEFG"
                         u".sync-conflict-20261209-090000-QRSTUVW.pref"_s),
              u"Renkari.pref"_s);
}

TEST(ConflictCopy, OtherLearnersAndSetsAreNoCopies) {
    for (const QString& name : {
             u"Anna.rklog"_s,
             // Learners whose own names hold parts of a mark.
             u"Anna.sync-conflict.rklog"_s,
             u"Anna.sync-conflict-20261208-101500.rklog"_s,
             u"Anna (conflicted copy).rklog"_s,
             u"Anna (Laptop's conflicted copy).rklog"_s,
             u"Anna (conflicted copy 2026-12-08).rklog"_s,
             // Marks a digit, a letter or a place off: a lower-case or non-base32 device id, a
             // short date, the time missing, the mark after the extension or with no name before.
             u"Anna.sync-conflict-20261208-101500-abcdefg.rklog"_s,
             u"Anna.sync-conflict-20261208-101500-ABCDEF1.rklog"_s,
             u"Anna.sync-conflict-2026128-101500-ABCDEFG.rklog"_s,
             u"Anna (conflicted copy 2026-12-08 1015).rklog"_s,
             u"Anna (Laptop's conflicted copy 2026-12-08 101500).rklog"_s,
             u"Anna.rklog.sync-conflict-20261208-101500-ABCDEFG"_s,
             u".sync-conflict-20261208-101500-ABCDEFG.rklog"_s,
             u"Anna (conflicted copy 2026-12-08 101500)"_s,
             u"Media/Anna (conflicted copy 2026-12-08 101500).rklog"_s,
         }) {
        EXPECT_EQ(conflictCopyOriginal(name), std::nullopt) << name.toStdString();
    }
}

// A folder after two machines changed their preferences apart: the youngest usable copy's content
// is found, copies are set aside under names no longer taken for copies, and only merged copies
// older than their keeping time are removed.
TEST(MergedCopies, LaterCopyTakenCopiesSetAsideAndExpiredOnesRemoved) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + u"/"_s;
    const auto write = [&](const QString& name, const QByteArray& bytes, int minutesAgo) {
        QFile file(folder + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        ASSERT_TRUE(file.flush());
        ASSERT_TRUE(
            file.setFileTime(QDateTime(QDate(2026, 12, 8), QTime(10, 0)).addSecs(-60 * minutesAgo),
                             QFileDevice::FileModificationTime));
    };
    write(u"Renkari.pref"_s, "desktop", 10);
    write(u"Renkari.sync-conflict-20261208-101500-ABCDEFG.pref"_s, "laptop", 5);
    write(u"Renkari (conflicted copy 2026-12-08 090000).pref"_s, "older", 60);
    write(u"Renkari (conflicted copy 2026-12-08 080000).pref"_s, "damaged", 1);
    write(u"Anna.sync-conflict-20261001-101500-ABCDEFG.rklog.merged-2026-11-07"_s, "old", 0);
    write(u"Anna.sync-conflict-20261001-101500-ABCDEFG.rklog.merged-2026-11-08"_s, "recent", 0);
    write(u"Notizen.merged-2020-01-01"_s, "the learner's own", 0);

    const std::vector<QString> copies = conflictCopiesOf(folder, u"Renkari.pref"_s);
    ASSERT_EQ(copies.size(), 3u);
    const UsableBytes usable = [](const QByteArray& bytes) { return bytes != "damaged"; };
    const QDate today(2026, 12, 8);
    const FileResult<std::optional<QByteArray>> latest =
        latestCopyContent(folder + u"Renkari.pref"_s, copies, usable);
    ASSERT_TRUE(latest.has_value());
    EXPECT_EQ(*latest, std::optional<QByteArray>("laptop"));
    for (const QString& copy : copies) {
        ASSERT_TRUE(setMergedCopyAside(copy, today).has_value());
    }
    removeExpiredMergedCopies(folder, today);

    EXPECT_TRUE(conflictCopiesOf(folder, u"Renkari.pref"_s).empty());
    EXPECT_EQ(
        QDir(folder).entryList(QDir::Files, QDir::Name),
        (QStringList{u"Anna.sync-conflict-20261001-101500-ABCDEFG.rklog.merged-2026-11-08"_s,
                     u"Notizen.merged-2020-01-01"_s,
                     u"Renkari (conflicted copy 2026-12-08 080000).pref.merged-2026-12-08"_s,
                     u"Renkari (conflicted copy 2026-12-08 090000).pref.merged-2026-12-08"_s,
                     u"Renkari.pref"_s,
                     u"Renkari.sync-conflict-20261208-101500-ABCDEFG.pref.merged-2026-12-08"_s}));
}
