// Reading kanjidraw's stroke table, including its broken corners.
#include "makestrips/strokedata.h"

#include <gtest/gtest.h>

TEST(ParseStrokeData, ReadsStrokesInOrderUnderTheirCodePoint) {
    const std::optional<StrokeTable> table = parseStrokeData(
        R"({"1": {"一": [[25, 126, 226, 116]]},
            "2": {"人": [[127, 46, 38, 204], [107.5, 126, 217, 209]]},
            "3": {"𠀋": [[1, 2, 3, 4], [5, 6, 7, 8], [9, 10, 11, 12]]}})");
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(3u, table->size());
    const std::vector<StrokeSegment>& person = table->at(U'人');
    ASSERT_EQ(2u, person.size());
    EXPECT_EQ(127, person[0].x1);
    EXPECT_EQ(204, person[0].y2);
    EXPECT_EQ(107.5f, person[1].x1);
    EXPECT_EQ(3u, table->at(U'𠀋').size()) << "a character beyond U+FFFF is one key";
}

TEST(ParseStrokeData, BrokenEntriesCostOnlyTheirKanji) {
    const std::optional<StrokeTable> table = parseStrokeData(
        R"({"2": {"人": [[127, 46, 38, 204], [107, 126, 217, 209]],
                  "入": [[1, 2, 3], [1, 2, 3, 4]],
                  "八": [[1, 2, "x", 4]],
                  "九": [],
                  "十": "no strokes",
                  "二つ": [[1, 2, 3, 4]]}})");
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(1u, table->size());
    EXPECT_TRUE(table->contains(U'人'));
}

TEST(ParseStrokeData, RejectsTextOfAnotherShape) {
    EXPECT_FALSE(parseStrokeData("").has_value());
    EXPECT_FALSE(parseStrokeData("[1, 2, 3]").has_value());
    EXPECT_FALSE(parseStrokeData(R"({"1": [1, 2]})").has_value());
    EXPECT_FALSE(parseStrokeData(R"({"1": {"一": [[1, 2, 3, 4]]})").has_value());
}
