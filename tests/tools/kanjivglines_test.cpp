// Reading KanjiVG's stroke table line by line: comments, CR LF, and broken lines that cost only
// their own character.
#include "makestrokes/kanjivglines.h"

#include <gtest/gtest.h>

TEST(ReadKanjiVgStrokes, ReadsEveryGoodLineAndReportsEveryBadOne) {
    const QByteArray text =
        "# KanjiVG stroke paths\n"
        "20154\tM54.5,20c0.37,2.12,0.23,4.03-0.22,6.27C51.68,39.48,38.25,72.25,16.5,87.25\t"
        "M46,54.25c6.12,6,25.51,22.24,35.52,29.72\r\n"
        "\n"
        "19968\tM10,50L100,50\n"
        "20843\tM10,10L20,20\tM10,10 A5,5 0 0 1 20,20\n"  // an arc in stroke 2
        "abc\tM10,10L20,20\n"
        "1114112\tM10,10L20,20\n"  // beyond Unicode
        "55296\tM10,10L20,20\n"    // a surrogate
        "20843\n"                  // no strokes
        "20843\t\n"                // an empty path
        "131083\tM1,2L3,4";        // beyond the BMP, no line end
    const KanjiVgStrokes strokes = readKanjiVgStrokes(text, 0.25f);
    ASSERT_EQ(3u, strokes.characters.size());
    EXPECT_EQ(U'人', strokes.characters[0].first);
    ASSERT_EQ(2u, strokes.characters[0].second.size());
    EXPECT_GT(strokes.characters[0].second[0].size(), 2u);
    EXPECT_EQ((StrokePoint{81.52f, 83.97f}), strokes.characters[0].second[1].back())
        << "the CR is not part of the last path";
    EXPECT_EQ(U'一', strokes.characters[1].first);
    EXPECT_EQ((Stroke{{10, 50}, {100, 50}}), strokes.characters[1].second[0]);
    EXPECT_EQ(U'𠀋', strokes.characters[2].first);

    ASSERT_EQ(6, strokes.malformed.size()) << strokes.malformed.join(u'\n').toStdString();
    EXPECT_TRUE(strokes.malformed[0].startsWith(u"line 5: stroke 2: unsupported command 'A'"_qs))
        << strokes.malformed[0].toStdString();
    EXPECT_EQ(u"line 6: bad code point"_qs, strokes.malformed[1]);
    EXPECT_EQ(u"line 7: bad code point"_qs, strokes.malformed[2]);
    EXPECT_EQ(u"line 8: bad code point"_qs, strokes.malformed[3]);
    EXPECT_EQ(u"line 9: no strokes"_qs, strokes.malformed[4]);
    EXPECT_TRUE(strokes.malformed[5].startsWith(u"line 10: stroke 1: empty path"_qs))
        << strokes.malformed[5].toStdString();
}
