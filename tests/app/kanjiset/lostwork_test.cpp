// Scenario tests of work that must survive: switching sets, a set without a name, a set that could
// not be read with its learner's profile, the card outside editing, the Genshi window with a short
// list, the blank record of a new set, the learner's first folder and a failed preference save.
#include "app/shell/appfixture.h"
#include "app/shell/startup.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "base/files.h"
#include "core/kanjiset/setfile.h"
#include "core/shell/preferences.h"
#include "core/shell/workdir.h"
#include "core/training/profilefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr qint32 Dog = 0x72AC;  // 犬

std::vector<KanjiRecord> threeKanji() {
    return {makeKanji(3, 0x6708, u"GETSU"_s, 4), makeKanji(12, 0x65E5, u"NICHI"_s, 4),
            makeKanji(20, 0x706B, u"KA"_s, 3)};
}

std::optional<std::vector<KanjiRecord>> setOnDisk(const QString& path) {
    const auto bytes = readWholeFile(path);
    return bytes ? parseSetFile(*bytes) : std::nullopt;
}

}  // namespace

class LostWork : public AppFixture {
protected:
    // "Neues Kanji erfassen" has put the card into editing; the kanji gets its character by a
    // click on its picture.
    void enterCharacter(const QString& character) {
        app.ui.requesters().answerNext(ui::Answer::accept(character));
        clickAt(control<ui::ImageView>(KanjiView), QPoint(20, 20));
        pass();
    }

    const ui::ShownRequester& lastShown() { return app.ui.requesters().shown().back(); }
};

TEST_F(LostWork, SwitchingSetsKeepsTheWorkOfEachAndABrokenSetKeepsItsProfile) {
    writeGenshiList(sixGenshi());
    writeSet(u"JLPT"_s, threeKanji());
    // A set file cut short, and its learner's profile of three kanji.
    writeFile(u"Media/Kaputt.rki"_s, writeSetFile(threeKanji()).left(301));
    std::vector<ProfileRecord> profile(3);
    for (size_t i = 0; i < profile.size(); ++i) {
        profile[i].Code = threeKanji()[i].Unicode;
        profile[i].KindOn.Right = static_cast<qint32>(i) + 4;
    }
    writeFile(u"Media/Kaputt/Lerner.rkpr"_s, writeProfileFile(profile));
    const std::optional<QByteArray> brokenSet = readFile(u"Media/Kaputt.rki"_s);
    const std::optional<QByteArray> brokenProfile = readFile(u"Media/Kaputt/Lerner.rkpr"_s);
    writeFile(u"Renkari.pref"_s,
              serializePreferences({u"Kaputt"_s, u"Lerner"_s, workDir(), workDir(), QString()}));
    start();

    // The broken set is named with the reason, not shown as an empty set without a word.
    ASSERT_EQ(app.ui.requesters().shown().size(), 1u);
    EXPECT_EQ(lastShown().kind, ui::RequesterKind::Message);
    EXPECT_TRUE(lastShown().text.contains(setPath(u"Kaputt"_s))) << lastShown().text.toStdString();
    EXPECT_TRUE(lastShown().text.contains(app.texts.text(MessageText::ReasonNoSetFile)));
    EXPECT_EQ(app.kanjiSet.size(), 0);
    chooseMenu(MenuSaveSet);

    // A new set: the broken one and its profile are left as they are.
    app.ui.requesters().answerNext(ui::Answer::accept(u"Tiere"_s));
    chooseMenu(MenuNewSet);
    EXPECT_EQ(app.setName, u"Tiere"_s);
    EXPECT_EQ(readFile(u"Media/Kaputt.rki"_s), brokenSet);
    EXPECT_EQ(readFile(u"Media/Kaputt/Lerner.rkpr"_s), brokenProfile);
    ASSERT_EQ(app.kanjiSet.size(), 1);
    EXPECT_TRUE(isBlank(app.kanjiSet.records[0]));

    // The first new kanji takes the blank record's place.
    chooseMenu(MenuNewKanji);
    EXPECT_EQ(app.kanjiSet.size(), 1);
    EXPECT_EQ(app.viewMode, ViewMode::Editing);
    enterCharacter(u"犬"_s);
    pressKeys(window().control(OnEditor), u"ken"_s);
    // References into a longer list than this one; "7" lacks its comma and is no reference.
    app.kanjiSet.currentRecord()->Genshi = u"40,2,7"_s;
    playDialog(GenshiWindowId, u"Genshiliste"_s, {[](QWidget* genshi) {
                   auto* list = genshi->findChild<ui::ReportList*>();
                   EXPECT_TRUE(list->isRowChecked(2));
                   list->setRowChecked(0, true);
                   genshi->close();
               }},
               [&] {
                   clickAt(control<ui::ReportList>(GenshiListView)->viewport(), QPoint(5, 5));
                   pass();
               });
    EXPECT_EQ(app.kanjiSet.currentRecord()->Genshi, u"0,2,40,"_s);
    click(EditButton);

    // Outside editing the card refuses typing that would be lost.
    pressKeys(window().control(OnEditor), u"x"_s);
    EXPECT_EQ(window().text(OnEditor), u"ken"_s);

    // Another set is loaded only after the open one is saved.
    app.ui.requesters().answerNext(ui::Answer::accept(setPath(u"JLPT"_s)));
    chooseMenu(MenuLoadSet);
    EXPECT_EQ(app.setName, u"JLPT"_s);
    EXPECT_EQ(app.kanjiSet.size(), 3);
    const auto animals = setOnDisk(setPath(u"Tiere"_s));
    ASSERT_TRUE(animals.has_value());
    ASSERT_EQ(animals->size(), 1u);
    EXPECT_EQ(animals->at(0).Unicode, Dog);
    EXPECT_EQ(animals->at(0).OnYomi, u"ken"_s);
    EXPECT_EQ(animals->at(0).Genshi, u"0,2,40,"_s);

    // A change to JLPT that cannot be saved: neither loading nor a new set drops it unasked.
    chooseMenu(MenuEditKanji);
    pressKeys(window().control(NoteEditor), u"mond"_s);
    click(EditButton);
    ASSERT_TRUE(QFile::remove(setPath(u"JLPT"_s)));
    ASSERT_TRUE(QDir(mediaDir()).mkdir(u"JLPT.rki"_s));
    app.ui.requesters().answerNext(ui::Answer::accept(setPath(u"Tiere"_s)));
    app.ui.requesters().answerNext(ui::Answer::cancel());
    chooseMenu(MenuLoadSet);
    EXPECT_EQ(lastShown().kind, ui::RequesterKind::YesNo);
    EXPECT_EQ(lastShown().preselected, ui::YesNoDefault::No);
    EXPECT_TRUE(lastShown().text.contains(setPath(u"JLPT"_s)));
    EXPECT_TRUE(lastShown().text.endsWith(app.texts.text(MessageText::LoadAnyway)))
        << lastShown().text.toStdString();
    app.ui.requesters().answerNext(ui::Answer::cancel());
    chooseMenu(MenuNewSet);
    EXPECT_TRUE(lastShown().text.endsWith(app.texts.text(MessageText::NewSetAnyway)))
        << lastShown().text.toStdString();
    EXPECT_EQ(app.setName, u"JLPT"_s);
    EXPECT_EQ(app.kanjiSet.currentRecord()->Bemerkung, u"mond"_s);

    // With room again the end saves the set; a preference file that cannot be written is told.
    ASSERT_TRUE(QDir(mediaDir()).rmdir(u"JLPT.rki"_s));
    ASSERT_TRUE(QFile::remove(preferencePath()));
    ASSERT_TRUE(QDir(workDir()).mkdir(u"Renkari.pref"_s));
    const size_t shownBeforeEnd = app.ui.requesters().shown().size();
    chooseMenu(MenuQuit);
    EXPECT_TRUE(finish());
    ASSERT_EQ(app.ui.requesters().shown().size(), shownBeforeEnd + 1);
    EXPECT_EQ(lastShown().kind, ui::RequesterKind::Message);
    EXPECT_TRUE(lastShown().text.contains(preferencePath())) << lastShown().text.toStdString();
    const auto jlpt = setOnDisk(setPath(u"JLPT"_s));
    ASSERT_TRUE(jlpt.has_value());
    EXPECT_EQ(jlpt->at(0).Bemerkung, u"mond"_s);
    EXPECT_EQ(readFile(u"Media/Kaputt.rki"_s), brokenSet);
    EXPECT_EQ(readFile(u"Media/Kaputt/Lerner.rkpr"_s), brokenProfile);
}

TEST_F(LostWork, NamelessWorkInTheLearnersFirstFolderIsSavedUnderTheNameAskedFor) {
    // Started from the menu on an empty home, without installed data.
    const QString startedIn = workDir() + u"elsewhere"_s;
    ASSERT_TRUE(QDir().mkpath(startedIn));
    const QString own = chooseWorkingDirectory(startedIn, workDir() + u"no-installation"_s,
                                               workDir() + u"home"_s, workDir() + u"xdg"_s);
    ASSERT_EQ(own, workDir() + u"xdg/Renkari"_s);
    const QString media = own + u"/Media/"_s;
    ASSERT_TRUE(QFileInfo(media).isDir());
    app.ui.requesters().setScripted(true);
    app.ui.setSleepUntilEvent([] {});
    app.ui.setClock([this] { return now; });
    app.ui.setMouse([this] { return mouse; });
    // No set to remember: the learner escapes the set requester.
    app.ui.requesters().answerNext(ui::Answer::cancel());
    initialiseApp(app, own);
    ASSERT_TRUE(startUp(app));
    ASSERT_EQ(app.setName, QString());

    // A blank record is nothing to ask a name for.
    chooseMenu(MenuNewKanji);
    click(EditButton);
    chooseMenu(MenuSaveSet);
    EXPECT_EQ(app.ui.requesters().shown().size(), 1u);
    chooseMenu(MenuNewKanji);
    EXPECT_EQ(app.kanjiSet.size(), 1);
    enterCharacter(u"犬"_s);
    click(EditButton);

    // A kanji is: saving asks for a name by the rules of "Neues Set".
    app.ui.requesters().answerNext(ui::Answer::accept(u"../Hund"_s));
    chooseMenu(MenuSaveSet);
    EXPECT_EQ(lastShown().kind, ui::RequesterKind::Message);
    EXPECT_EQ(app.ui.requesters().shown().rbegin()[1].title, u"Neues Set"_s);
    EXPECT_EQ(app.setName, QString());
    EXPECT_EQ(QDir(media).entryList({u"*.rki"_s}), QStringList());

    // Ending without a name asks before the kanji is given up; No stays.
    app.ui.requesters().answerNext(ui::Answer::cancel());
    app.ui.requesters().answerNext(ui::Answer::cancel());
    chooseMenu(MenuQuit);
    EXPECT_FALSE(finish());
    EXPECT_EQ(lastShown().kind, ui::RequesterKind::YesNo);
    EXPECT_EQ(lastShown().preselected, ui::YesNoDefault::No);
    EXPECT_TRUE(lastShown().text.startsWith(app.texts.text(MessageText::SetUnnamed)));
    EXPECT_TRUE(lastShown().text.endsWith(app.texts.text(MessageText::EndAnyway)));
    ASSERT_TRUE(app.mainWindow != nullptr);

    // A name that is taken is only used when the learner agrees to replace that set.
    ASSERT_TRUE(saveFileAtomically(media + u"Hund.rki"_s, writeSetFile(threeKanji())));
    app.ui.requesters().answerNext(ui::Answer::accept(u"Hund"_s));
    app.ui.requesters().answerNext(ui::Answer::accept());
    chooseMenu(MenuQuit);
    EXPECT_TRUE(finish());
    EXPECT_EQ(lastShown().text, u"Das Set Hund gibt es schon. Ersetzen?"_s);
    const auto saved = setOnDisk(media + u"Hund.rki"_s);
    ASSERT_TRUE(saved.has_value());
    ASSERT_EQ(saved->size(), 1u);
    EXPECT_EQ(saved->at(0).Unicode, Dog);
    EXPECT_TRUE(QFileInfo(media + u"Hund/Anim"_s).isDir());
    // The first start wrote its preference file, naming the set for the next start.
    const auto prefs = readWholeFile(own + u"/Renkari.pref"_s);
    ASSERT_TRUE(prefs.has_value());
    EXPECT_EQ(parsePreferences(*prefs, {}).LastSet, u"Hund"_s);
}
