// Tests of the credits text: its lines end in one column.
#include "core/shell/credits.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int CreditsColumn = 75;

}  // namespace

TEST(Credits, LinesEndInColumn75) {
    const QString full(CreditsColumn, u'x');
    const QString longer(CreditsColumn + 5, u'y');
    EXPECT_EQ(alignCredits({full}), full + u"\r\n"_s);
    EXPECT_EQ(alignCredits({longer}), longer + u"\r\n"_s);
    EXPECT_EQ(alignCredits({u" "_s}), QString(CreditsColumn, u' ') + u"\r\n"_s);
    EXPECT_EQ(alignCredits({u"abc"_s, u""_s}),
              QString(72, u' ') + u"abc\r\n"_s + QString(CreditsColumn, u' ') + u"\r\n"_s);
    EXPECT_EQ(alignCredits({}), QString());
}

TEST(Credits, TextHasTwentyTwoAlignedLines) {
    const QString text = creditsText();
    ASSERT_TRUE(text.endsWith(u"\r\n"_s));
    QStringList lines = text.split(u"\r\n"_s);
    lines.removeLast();
    ASSERT_EQ(lines.size(), 22);
    for (const QString& line : lines) {
        EXPECT_FALSE(line.contains(u'\r') || line.contains(u'\n')) << line.toStdString();
        // Short lines are filled up to the column, longer ones start at once.
        if (line.size() > CreditsColumn) {
            EXPECT_NE(line.front(), u' ') << line.toStdString();
        } else {
            EXPECT_EQ(line.size(), CreditsColumn) << line.toStdString();
        }
    }
    EXPECT_EQ(lines[0].trimmed(), u"Dieses Programm wurde"_s);
    EXPECT_TRUE(lines[2].contains(u"GNU GPL 3.0 oder neuer"_s)) << lines[2].toStdString();
    EXPECT_EQ(lines[19].trimmed(), u"Credits go to..."_s);
    for (int blank : {3, 8, 18, 21}) {
        EXPECT_EQ(lines[blank], QString(CreditsColumn, u' ')) << "line " << blank + 1;
    }
}

TEST(Credits, NameKanjiVgItsAuthorsAndLicenceForTheStrokes) {
    const QString text = creditsText();
    for (const QString& part : {u"KanjiVG"_s, u"https://kanjivg.tagaini.net"_s, u"Ulrich Apel"_s,
                                u"CC BY-SA 3.0"_s, u"KANJIDIC2"_s, u"CC BY-SA 4.0"_s, u"EDICT"_s,
                                u"https://www.edrdg.org/edrdg/licence.html"_s, u"FreeDict"_s,
                                u"https://freedict.org"_s}) {
        EXPECT_TRUE(text.contains(part)) << part.toStdString();
    }
    EXPECT_FALSE(text.contains(u"kanjidraw"_s)) << "the strokes come from KanjiVG itself";
}
