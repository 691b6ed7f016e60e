// Scenario tests of the language catalog chosen at start-up: captions and menus of the main
// window, and the fall-back to the built-in German texts.
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/trainingids.h"
#include "core/shell/preferences.h"
#include "core/shell/texttables.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMenu>
#include <QTabBar>

using namespace Qt::StringLiterals;

namespace {

QStringList actionTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            texts << action->text();
        }
    }
    return texts;
}

QStringList tabCaptions(const ui::TabPanel* panel) {
    QStringList captions;
    const auto* tabs = panel->findChild<QTabBar*>();
    for (int i = 0; tabs != nullptr && i < tabs->count(); ++i) {
        captions << tabs->tabText(i);
    }
    return captions;
}

// A standard button's caption as Qt's dialogs show it.
QString qtButton(const char* english) {
    return QCoreApplication::translate("QPlatformTheme", english);
}

}  // namespace

class CatalogChoice : public AppFixture {
protected:
    void startInLanguage(const QString& language) {
        writeSet(u"Sprache"_s, {makeKanji(1, 0x8A9E)});
        writePreferences(u"Sprache"_s, language);
        start();
    }

    // The captions that come from the tables, as the window shows them.
    void expectCaptionsFrom(const TextTables& t) {
        const ui::Window& w = window();
        ASSERT_NE(w.menuBarMenu(3), nullptr);
        EXPECT_EQ(w.menuBarMenu(0)->title(), t.text(MainText::File));
        EXPECT_EQ(actionTexts(w.menuBarMenu(0)),
                  (QStringList{t.text(MainText::NewSet), t.text(MainText::LoadSet),
                               t.text(MainText::SaveSet), t.text(MainText::Export),
                               t.text(MainText::PrintCards), t.text(MainText::Quit)}));
        EXPECT_EQ(w.menuBarMenu(1)->title(), t.text(MainText::Edit));
        EXPECT_EQ(actionTexts(w.menuBarMenu(3)),
                  (QStringList{t.text(MainText::Info), t.text(MainText::About)}));
        EXPECT_EQ(w.text(EditButton), t.text(MainText::EditKanji));
        EXPECT_EQ(w.text(EndButton), t.text(MainText::End));
        EXPECT_EQ(w.text(KanjiLabel), t.text(MainText::Kanji));
        EXPECT_EQ(w.text(NoteLabel), t.text(MainText::Mnemonic));
        EXPECT_EQ(w.text(StatisticsFrame), t.text(MainText::StatisticsPanel));
        EXPECT_EQ(w.text(ManualBox), t.text(TrainingText::Manual));
        EXPECT_EQ(w.text(StartButton), t.text(TrainingText::Start));
        EXPECT_EQ(w.text(TrainingEndButton), t.text(MainText::End));
        EXPECT_EQ(w.statusText(1), t.text(MainText::CurrentKanji) + u"1"_s);
        EXPECT_EQ(tabCaptions(control<ui::TabPanel>(Panel)),
                  (QStringList{t.text(MessageText::OverviewTab), t.text(MessageText::TrainingTab),
                               t.text(MessageText::ListsTab)}));
        EXPECT_EQ(actionTexts(app.gridContextMenu), QStringList{t.text(MessageText::TakeAsGenshi)});
        EXPECT_EQ(w.statusText(0), t.text(MessageText::KanjiCount) + u"1"_s);
    }
};

TEST_F(CatalogChoice, EnglishCatalogReplacesEveryTableCaption) {
    copyShippedCatalog(u"English"_s);
    const std::optional<QByteArray> bytes = readFile(u"catalog/English.catalog"_s);
    ASSERT_TRUE(bytes.has_value());
    const std::optional<TextTables> english = parseCatalog(*bytes);
    ASSERT_TRUE(english.has_value());
    // Otherwise the test could not tell the catalog's captions from the built-in ones.
    ASSERT_NE(english->text(MainText::EditKanji), builtInTexts().text(MainText::EditKanji));
    ASSERT_NE(english->text(TrainingText::Manual), builtInTexts().text(TrainingText::Manual));
    ASSERT_NE(english->text(MessageText::OverviewTab),
              builtInTexts().text(MessageText::OverviewTab));

    startInLanguage(u"English"_s);

    EXPECT_EQ(app.language, u"English"_s);
    EXPECT_TRUE(app.texts == *english);
    expectCaptionsFrom(*english);
    EXPECT_EQ(qtButton("&Yes"), u"&Yes"_s);
    click(EditButton);
    EXPECT_EQ(window().text(EditButton), english->text(MainText::EndEdit));

    chooseMenu(MenuQuit);
    finish();
    const std::optional<QByteArray> prefs = readFile(u"Renkari.pref"_s);
    ASSERT_TRUE(prefs.has_value());
    EXPECT_EQ(parsePreferences(*prefs, {}).Language, u"English"_s);
}

// Catalogs the program cannot use: the wrong first line, or no file of that name.
class UnusableCatalog : public CatalogChoice, public testing::WithParamInterface<bool> {};

TEST_P(UnusableCatalog, FallsBackToGermanAndForgetsTheLanguage) {
    copyShippedCatalog(u"English"_s);
    if (GetParam()) {
        std::optional<QByteArray> bytes = readFile(u"catalog/English.catalog"_s);
        ASSERT_TRUE(bytes.has_value());
        ASSERT_TRUE(bytes->startsWith("Catalog"));
        bytes->replace(0, 7, "Katalog");
        writeFile(u"catalog/English.catalog"_s, *bytes);
    }
    startInLanguage(GetParam() ? u"English"_s : u"Klingonisch"_s);

    EXPECT_EQ(app.language, QString());
    EXPECT_TRUE(app.texts == builtInTexts());
    expectCaptionsFrom(builtInTexts());
    EXPECT_EQ(window().text(EditButton), u"Kanji editieren"_s);
    EXPECT_EQ(window().statusText(0), u"Kanji: 1"_s);
    // Qt's own buttons and file dialog speak German with the built-in texts.
    EXPECT_EQ(qtButton("&Yes"), u"&Ja"_s);
    EXPECT_EQ(qtButton("&No"), u"&Nein"_s);
    EXPECT_EQ(qtButton("Cancel"), u"Abbrechen"_s);
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "File &name:"), u"File &name:"_s);

    chooseMenu(MenuQuit);
    finish();
    const std::optional<QByteArray> prefs = readFile(u"Renkari.pref"_s);
    ASSERT_TRUE(prefs.has_value());
    EXPECT_EQ(*prefs,
              serializePreferences({u"Sprache"_s, QString(), workDir(), workDir(), QString()}));
}

INSTANTIATE_TEST_SUITE_P(Catalogs, UnusableCatalog, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "WrongFirstLine" : "NoSuchFile");
                         });
