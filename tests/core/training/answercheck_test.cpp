// Tests of the answer comparison: the word rule on Latin text, letters of every script, kana
// readings answered in kana or romaji, and inputs that must merely not break it.
#include "core/training/answercheck.h"

#include <QString>
#include <QStringView>

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string_view>

using namespace Qt::StringLiterals;

void PrintTo(Grade result, std::ostream* out) {
    switch (result) {
        case Grade::Wrong:
            *out << "Wrong";
            return;
        case Grade::Partly:
            *out << "Partly";
            return;
        case Grade::Right:
            *out << "Right";
            return;
        case Grade::Easy:
            *out << "Easy";
            return;
    }
    *out << "Grade(" << int(result) << ')';
}

namespace {

constexpr auto Right = Grade::Right;
constexpr auto Partly = Grade::Partly;
constexpr auto Wrong = Grade::Wrong;

struct Case {
    std::u16string_view reference;
    std::u16string_view typed;
    Grade expected;
};

QString text(std::u16string_view view) {
    return QStringView(view).toString();
}

void expectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(compareAnswer(text(c.reference), text(c.typed)), c.expected)
            << "reference \"" << text(c.reference).toStdString() << "\", typed \""
            << text(c.typed).toStdString() << '"';
    }
}

TEST(CompareAnswer, LatinWords) {
    expectAll({
        // The examples the rule was written down with.
        {u"ka, ke", u"ka", Right},
        {u"ka", u"ka ke", Partly},
        {u"mizu", u"Mizu ", Right},
        {u"hito(tsu)", u"hitotsu", Right},
        {u"hitotsu", u"hito(tsu)", Wrong},
        {u"ka", u".ka", Partly},
        {u"", u"", Right},
        {u"ka", u"", Wrong},
        {u"", u"x", Wrong},
        // Blanks at either end and case do not matter, on either side.
        {u"  Mizu  ", u"MIZU", Right},
        {u"WATER", u"  water", Right},
        // Order does not matter; each reference word answers one typed word.
        {u"water, sea", u"sea water", Right},
        {u"ka", u"ka ka", Partly},
        {u"ka, ka", u"ka ka", Right},
        {u"ka ke ko", u"ke x", Partly},
        // Separators: runs yield nothing, a leading one yields the empty word.
        {u"ka", u"ka.", Right},
        {u"ka", u"ka,,, ..", Right},
        {u".ka", u"ka", Right},
        {u".ka", u".ka", Right},
        {u"", u" ", Right},
        {u"ka", u" ", Wrong},
        {u"ka2ke", u"ka ke", Right},
        {u"a{b", u"a b", Right},
        // Only U+0020 is a blank to trim: a tab is a separator like any other.
        {u"ka", u"\tka", Partly},
        // "-" joins on both sides, "(" only in the reference, where it is dropped.
        {u"a-b", u"A-B", Right},
        {u"a-b", u"a b", Wrong},
        // ")" is a separator even in the reference.
        {u"x(y)z", u"xyz", Wrong},
        {u"x(y)z", u"xy z", Right},
        {u"(ka)", u"ka", Right},
        {u"ka", u"(ka)", Partly},
        // [ \ ] ^ _ ` lie between the capitals and the small letters and are word characters.
        {u"a_b", u"a_b", Right},
        {u"a_b", u"a b", Wrong},
        {u"[x]", u"[X]", Right},
        // "'" separates while the reference holds no kana.
        {u"don't", u"don't", Right},
        {u"don't", u"don", Right},
        {u"kon ya", u"kon'ya", Right},
        {u"konya", u"kon'ya", Wrong},
    });
}

TEST(CompareAnswer, LettersOfEveryScript) {
    expectAll({
        {u"kō", u"kō", Right},
        {u"kō", u"KŌ", Right},
        {u"kō", u"ko", Wrong},
        // Romaji is read only against kana.
        {u"kō", u"kou", Wrong},
        {u"groß, klein", u"groß", Right},
        {u"Straße", u"strasse", Wrong},
        {u"日本", u"日本", Right},
        {u"日本", u"日", Wrong},
        {u"日", u"hi", Wrong},
        // A combining mark belongs to its word.
        {u"cafe\u0301", u"cafe", Wrong},
        {u"cafe\u0301", u"CAFE\u0301", Right},
        // A kanji beyond U+FFFF is one letter, not two separators.
        {u"𠮟る", u"𠮟る", Right},
        {u"𠮟る", u"る", Wrong},
        // Japanese punctuation and the full-width space separate; only U+0020 is trimmed.
        {u"ka、ke", u"ke", Right},
        {u"ka　ke", u"ka・ke", Right},
        {u"ka。", u"ka", Right},
        {u"ka", u"　ka", Partly},
        // Iteration marks and the prolonged sound mark are letters.
        {u"人々", u"人々", Right},
        {u"人々", u"人", Wrong},
        {u"コーヒー", u"こーひー", Right},
        {u"コーヒー", u"こひ", Wrong},
    });
}

TEST(CompareAnswer, KanaAnsweredInKana) {
    expectAll({
        {u"ニチ、ジツ", u"にち", Right},
        {u"ニチ、ジツ", u"ニチ", Right},
        {u"ニチ、ジツ", u"ジツ にち", Right},
        {u"にち", u"ニチ", Right},
        {u"ひ、-び、-か", u"び", Right},
        {u"ひ、-び、-か", u"-び", Right},
        {u"-び", u"び", Right},
        {u"ヽ", u"ゝ", Right},
        // Okurigana dots join and are ignored, in the reference and in the answer.
        {u"ま.つ", u"まつ", Right},
        {u"ま.つ", u"マツ", Right},
        {u"ま.つ", u"ま.つ", Right},
        {u"まつ", u"ま.つ", Right},
        {u"ま.つ", u"ま つ", Wrong},
        {u"ま.つ", u"ま", Wrong},
        {u"おお.きい、ちい.さい", u"ちいさい", Right},
        // A dot not between two kana still separates.
        {u"ま.", u"ま", Right},
        {u"ka.ま", u"ま", Right},
        // Kana next to kanji is not a kana word: compared exactly, dot and all.
        {u"日ま.つ", u"日まつ", Wrong},
        {u"日ま.つ", u"日マ.ツ", Right},
    });
}

TEST(CompareAnswer, KanaAnsweredInRomaji) {
    expectAll({
        {u"ニチ、ジツ", u"nichi", Right},
        {u"ニチ、ジツ", u"NICHI", Right},
        {u"ニチ、ジツ", u"nichi jitsu", Right},
        {u"ニチ、ジツ", u"nichi ka", Partly},
        {u"ニチ、ジツ", u"ni-chi", Right},
        {u"ニチ、ジツ", u"ni'chi", Wrong},
        {u"ひ、-び、-か", u"hi", Right},
        {u"ひ、-び、-か", u"bi", Right},
        {u"ひ、-び、-か", u"-bi ka", Right},
        {u"ま.つ", u"matsu", Right},
        {u"ま.つ", u"ma tsu", Wrong},
        // Hepburn, Kunrei and Nihon-shiki spellings.
        {u"ちょう", u"chou", Right},
        {u"ちょう", u"tyou", Right},
        {u"ちょう", u"cyou", Right},
        {u"ちょう", u"cho", Wrong},
        {u"シャ", u"sha", Right},
        {u"シャ", u"sya", Right},
        {u"し、ち、つ、ふ、じ", u"si ti tu hu zi", Right},
        {u"し、ち、つ、ふ、じ", u"shi chi tsu fu ji", Right},
        {u"じゃ", u"ja", Right},
        {u"じゃ", u"zya", Right},
        {u"じゃ", u"jya", Right},
        {u"ぢ、づ", u"di du", Right},
        {u"つづ.く", u"tsuzuku", Right},
        {u"つづ.く", u"tsuduku", Right},
        {u"はなぢ", u"hanaji", Right},
        {u"を", u"wo", Right},
        {u"を", u"o", Wrong},
        {u"くゎ", u"kwa", Right},
        // Long vowels with macron or circumflex, precomposed or combining.
        {u"ちょう", u"chō", Right},
        {u"ちょう", u"CHŌ", Right},
        {u"ちょう", u"chô", Right},
        {u"ちょう", u"cho\u0304", Right},
        {u"おお.きい", u"ōkii", Right},
        {u"おお.きい", u"ookii", Right},
        {u"えい", u"ē", Right},
        {u"ええ", u"ē", Right},
        {u"おねえさん", u"onēsan", Right},
        {u"ああ、いい、うう", u"ā ī ū", Right},
        {u"ちょう", u"c\u0304hou", Wrong},
        // ん and っ.
        {u"がっこう", u"gakkou", Right},
        {u"がっこう", u"gakkō", Right},
        {u"がっこう", u"gakou", Wrong},
        {u"まっち", u"matchi", Right},
        {u"しんぶん", u"shinbun", Right},
        {u"しんぶん", u"shimbun", Right},
        {u"こんや", u"kon'ya", Right},
        {u"こんや", u"konnya", Right},
        {u"こんや", u"konya", Wrong},
        {u"こにゃ", u"konya", Right},
        {u"こんにち", u"konnichi", Right},
        {u"こんにち", u"kon'nichi", Right},
        {u"こんにち", u"konnnichi", Right},
        {u"おんな", u"onna", Right},
        {u"ほん", u"hon", Right},
        // Small kana as input methods type them.
        {u"ぁ、っ、ゃ、ゎ", u"xa ltsu xya lwa", Right},
        {u"ぁ、っ、ゃ", u"la xtu lya", Right},
        // Romaji that does not spell out stays as typed.
        {u"にち", u"nichx", Wrong},
        {u"にち", u"nichiq", Wrong},
        {u"こんや", u"kon'", Wrong},
        // An "'" that joins nothing separates: here it yields the empty word first.
        {u"にち", u"'nichi", Partly},
        // Only kana references are read as romaji; Latin words still compare exactly.
        {u"nichi", u"nichi", Right},
        {u"nichi", u"にち", Wrong},
        {u"hi", u"ひ", Wrong},
        // With a kana word in the reference, "n'" joins the answer word.
        {u"こんや, kon", u"kon'ya", Right},
    });
}

TEST(CompareAnswer, HostileInputsComeBackGraded) {
    // Half a surrogate pair separates like punctuation.
    expectAll({
        {u"ka ke",
         u"ka\xD800"
         u"ke",
         Right},
        {u"ka", u"\xDC00", Wrong},
        {u"\xD800", u"\xDC00", Right},
        {u"𠮟", u"\xD842", Wrong},
        {u",,,", u"...", Right},
        {u"ka", u"...", Wrong},
        {u"、。", u"・", Right},
        {u"こんや", u"n'", Wrong},
        {u"こんや", u"'''", Wrong},
    });

    const QString longWord(1'000'000, u'a');
    EXPECT_EQ(compareAnswer(longWord, longWord), Right);
    EXPECT_EQ(compareAnswer(longWord, u"a"_s), Wrong);
    EXPECT_EQ(compareAnswer(u"a"_s, longWord), Wrong);

    // Thousands of words, typed in the opposite order.
    QString manyWords;
    QString reversed;
    for (int i = 0; i < 3000; ++i) {
        QString word;
        for (int n = i; n > 0 || word.isEmpty(); n /= 26) {
            word.append(QChar(u'a' + n % 26));
        }
        manyWords.append(word + u", "_s);
        reversed.prepend(word + u' ');
    }
    EXPECT_EQ(compareAnswer(manyWords, reversed), Right);

    // Every n is ん on its own, before another n, or as part of "nn": many ways to read it.
    const QString hatsuon(200, u'ん');
    EXPECT_EQ(compareAnswer(hatsuon, QString(400, u'n')), Right);
    EXPECT_EQ(compareAnswer(hatsuon, QString(300, u'n')), Right);
    EXPECT_EQ(compareAnswer(hatsuon, QString(199, u'n')), Wrong);
    // No reading is that long; it must only come back quickly.
    EXPECT_EQ(compareAnswer(QString(100'000, u'ん'), QString(200'000, u'n')), Wrong);
}

}  // namespace
