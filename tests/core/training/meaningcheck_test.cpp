// The meaning asked of a German learner: German spelling variants, articles, either language.
#include "core/training/meaningcheck.h"

#include <QString>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(CompareMeaning, GermanAndEnglishAgainstOneReference) {
    const QString sun = u"Sonne, Sonnenlicht, Tag; day, sun, Japan"_s;
    const struct {
        QString reference;
        QString typed;
        Grade expected;
    } cases[] = {
        // Either language, and both at once; untaken reference words do not matter.
        {sun, u"Sonne"_s, Grade::Right},
        {sun, u"sun"_s, Grade::Right},
        {sun, u"Tag, day"_s, Grade::Right},
        {sun, u"Mond"_s, Grade::Wrong},
        {sun, u"Sonne, Mond"_s, Grade::Partly},
        // A leading article goes when a word follows it, also after a separator.
        {sun, u"die Sonne"_s, Grade::Right},
        {sun, u"Die Sonne; der Tag"_s, Grade::Right},
        {sun, u"the sun"_s, Grade::Right},
        {sun, u"die"_s, Grade::Wrong},
        // Inside an answer an article is a word like any other.
        {sun, u"Sonne die"_s, Grade::Partly},
        // "ein" alone is an answer, for 一.
        {u"ein, derselbe; one"_s, u"ein"_s, Grade::Right},
        {u"ein, derselbe; one"_s, u"eine"_s, Grade::Wrong},
        {u"ein, derselbe; one"_s, u"der derselbe"_s, Grade::Right},
        // Umlauts and ß meet their spelled-out forms, either way round, in either case.
        {u"Bein, Fuß; leg, foot"_s, u"Fuss"_s, Grade::Right},
        {u"Bein, Fuß; leg, foot"_s, u"FUSS"_s, Grade::Right},
        {u"Bein, Fuss"_s, u"Fuß"_s, Grade::Right},
        {u"Süden; south"_s, u"Sueden"_s, Grade::Right},
        {u"Süden; south"_s, u"süden"_s, Grade::Right},
        {u"Sueden"_s, u"Süden"_s, Grade::Right},
        // A decomposed umlaut (u and a combining diaeresis) is the same letter.
        {u"Süden"_s, u"Su\u0308den"_s, Grade::Right},
        {u"Süden"_s, u"Suden"_s, Grade::Wrong},
        // Nothing typed stays wrong.
        {sun, QString(), Grade::Wrong},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, compareMeaning(c.reference, c.typed))
            << "reference \"" << c.reference.toStdString() << "\", typed \""
            << c.typed.toStdString() << '"';
    }
}
