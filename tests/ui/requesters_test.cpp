// Tests of the requester seam and of the conversion of the program's file filters.
#include "ui/requesters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(FileFilter, PairsBecomeQtFilters) {
    EXPECT_EQ(ui::toQtFilter(u"Kanjiset (*.rki)|*.rki"_s), u"Kanjiset (*.rki)"_s);
    EXPECT_EQ(ui::toQtFilter(u"Text|*.csv;*.txt"_s), u"Text (*.csv *.txt)"_s);
    EXPECT_EQ(ui::toQtFilter(u"Profil (*.rkpr)|*.rkpr|Alle|*.*"_s),
              u"Profil (*.rkpr);;Alle (*.*)"_s);
    // A description without its pattern is dropped, a bare pattern kept.
    EXPECT_EQ(ui::toQtFilter(u"Set|*.rki|Rest"_s), u"Set (*.rki)"_s);
    EXPECT_EQ(ui::toQtFilter(u"*.rki"_s), u"*.rki"_s);
    EXPECT_EQ(ui::toQtFilter(QString()), QString());
}

TEST(RequesterSeam, PreparedAnswersAreUsedInOrderAndRecorded) {
    ui::Requesters requesters;
    EXPECT_FALSE(requesters.scripted());
    requesters.answerNext(ui::Answer::accept(u"/media/Set.rki"_s));
    requesters.answerNext(ui::Answer::cancel());
    requesters.answerNext(ui::Answer::accept(u"Anna"_s));
    requesters.answerNext(ui::Answer::accept());
    EXPECT_TRUE(requesters.scripted());

    EXPECT_EQ(requesters.openFile(nullptr, u"Lade Kanjiset"_s, u"/media/"_s, u"*.rki"_s),
              std::optional<QString>(u"/media/Set.rki"_s));
    EXPECT_EQ(requesters.saveFile(nullptr, u"Export"_s, u"/export/"_s, u"*.csv"_s), std::nullopt);
    // A message takes no prepared answer.
    requesters.message(nullptr, u"Hinweis"_s, u"gespeichert"_s);
    EXPECT_EQ(requesters.inputLine(nullptr, u"Profil"_s, u"Name?"_s),
              std::optional<QString>(u"Anna"_s));
    EXPECT_TRUE(requesters.yesNo(nullptr, u"Löschen"_s, u"Sicher?"_s));
    EXPECT_EQ(requesters.unanswered(), 0);

    // Without an answer left a requester is cancelled and counted.
    EXPECT_FALSE(requesters.yesNo(nullptr, u"Löschen"_s, u"Noch einmal?"_s));
    EXPECT_EQ(requesters.openFile(nullptr, u"Lade Kanjiset"_s, u"/media/"_s, u"*.rki"_s),
              std::nullopt);
    EXPECT_EQ(requesters.unanswered(), 2);

    const auto& shown = requesters.shown();
    ASSERT_EQ(shown.size(), 7u);
    const ui::RequesterKind kinds[] = {ui::RequesterKind::OpenFile, ui::RequesterKind::SaveFile,
                                       ui::RequesterKind::Message,  ui::RequesterKind::InputLine,
                                       ui::RequesterKind::YesNo,    ui::RequesterKind::YesNo,
                                       ui::RequesterKind::OpenFile};
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].kind, kinds[i]) << "requester " << i;
    }
    EXPECT_EQ(shown[0].title, u"Lade Kanjiset"_s);
    EXPECT_EQ(shown[0].text, u"/media/"_s);
    EXPECT_EQ(shown[2].text, u"gespeichert"_s);
    EXPECT_EQ(shown[3].text, u"Name?"_s);
}

TEST(RequesterSeam, ScriptedWithoutAnswersCancelsEverything) {
    ui::Requesters requesters;
    requesters.setScripted(true);
    EXPECT_EQ(requesters.inputLine(nullptr, u"Kanji"_s, u"Zeichen"_s, u"x"_s), std::nullopt);
    requesters.message(nullptr, u"Hinweis"_s, u"Text"_s);
    EXPECT_EQ(requesters.unanswered(), 1);
    EXPECT_EQ(requesters.shown().size(), 2u);
}
