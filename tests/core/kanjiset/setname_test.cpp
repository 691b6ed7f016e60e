// Tests of the names a set may have.
#include "core/kanjiset/setname.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(SetName, NamesThatStayInTheMediaFolderAreUsable) {
    for (const QString& name : {u"JLPT"_s, u"Jōyō 2010"_s, u"漢字.alt"_s, u"a.b"_s}) {
        EXPECT_TRUE(isUsableSetName(name)) << name.toStdString();
    }
    for (const QString& name :
         {QString(), u"../Fremd/evil"_s, u"Unter/Set"_s, u"Unter\\Set"_s, u".."_s, u"a..b"_s,
          u"Zeile\nzwei"_s, u"Tab\tSet"_s, u"Nul"_s + QChar(0) + u"x"_s, u"del\x7f"_s}) {
        EXPECT_FALSE(isUsableSetName(name)) << name.toStdString();
    }
}
