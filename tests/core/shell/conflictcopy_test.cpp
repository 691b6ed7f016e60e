// Tests of telling the sync engines' conflict copies from the learners' own files.
#include "core/shell/conflictcopy.h"

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
