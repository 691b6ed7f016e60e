// Tests of the integer reading rule.
#include "core/kanjiset/integerrule.h"

#include <QString>

#include <gtest/gtest.h>

#include <limits>

namespace {

struct Case {
    const char16_t* text;
    qint32 expected;
};

void expectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(readInteger(QStringView(c.text)), c.expected)
            << "text: " << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(IntegerRule, DecimalWithSignsAndLeadingBlanks) {
    expectAll(
        {{u"42", 42}, {u"+42", 42}, {u"-42", -42}, {u"  \t 17", 17}, {u"\t-3", -3}, {u"007", 7}});
}

TEST(IntegerRule, HexAndBinary) {
    expectAll({{u"$ff", 255},
               {u"$FF", 255},
               {u"-$10", -16},
               {u"%1011", 11},
               {u"+%11", 3},
               {u"%102", 2},
               {u"$fg", 15},
               {u"$", 0},
               {u"%", 0}});
}

TEST(IntegerRule, StopsAtFirstCharacterThatDoesNotFit) {
    expectAll({{u"12abc", 12},
               {u"3,5,", 3},
               {u"1 2", 1},
               {u"12.9", 12},
               {u"-", 0},
               {u"", 0},
               {u"abc", 0},
               {u"- 5", 0},
               {u"+-5", 0},
               {u"\n5", 0},
               {u"$-5", 0}});
}

TEST(IntegerRule, WrapsInThirtyTwoBits) {
    constexpr qint32 min = std::numeric_limits<qint32>::min();
    expectAll({{u"2147483647", 2147483647},
               {u"2147483648", min},
               {u"-2147483648", min},
               {u"4294967295", -1},
               {u"4294967296", 0},
               {u"4294967297", 1},
               {u"$FFFFFFFF", -1},
               {u"$100000005", 5},
               {u"-$80000000", min},
               // (10^20 - 1) mod 2^32
               {u"99999999999999999999", 1661992959}});
}

}  // namespace
