// Slips of the keyboard in a typed reading, which a lenient learner may type again.
#include "core/training/readingslip.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(ReadingSlip, OnlySlipsOfTheKeyboardAreSlips) {
    const struct {
        QString reference;
        QString typed;
        bool slip;
    } cases[] = {
        // A long vowel left out, put in, or spelt the other way; in kana or romaji.
        {u"コウ"_s, u"ko"_s, true},
        {u"コウ"_s, u"こ"_s, true},
        {u"コウ"_s, u"koo"_s, true},
        {u"コ"_s, u"kou"_s, true},
        {u"セイ、ショウ"_s, u"se"_s, true},
        {u"セイ、ショウ"_s, u"sho"_s, true},
        // A small kana left out or full size; ん left as a final n.
        {u"がっ.こう"_s, u"gakou"_s, true},
        {u"キョウ"_s, u"きよう"_s, true},
        {u"キョウ"_s, u"kiyou"_s, true},
        {u"コン"_s, u"こn"_s, true},
        // Right, wrong, empty and meanings are no slips.
        {u"コウ"_s, u"kou"_s, false},
        {u"コウ"_s, u"ka"_s, false},
        {u"コウ"_s, u"ku"_s, false},
        {u"コウ"_s, QString(), false},
        {u"キョウ"_s, u"kyo ka"_s, false},
        {u"Sonne"_s, u"Sone"_s, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isReadingSlip(c.reference, c.typed), c.slip)
            << c.reference.toStdString() << " typed " << c.typed.toStdString();
    }
}
