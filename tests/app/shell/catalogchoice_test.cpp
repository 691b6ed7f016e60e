// Scenario tests of the language catalog chosen at start-up: captions and menus of the main
// window, and the fall-back to the built-in German texts.
#include "app/shell/appfixture.h"

#include "app/shell/mainids.h"
#include "core/shell/preferences.h"
#include "core/shell/texttables.h"

#include <QAbstractButton>
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
        EXPECT_EQ(w.menuBarMenu(0)->title(), t.MainTexts[0]);
        EXPECT_EQ(actionTexts(w.menuBarMenu(0)),
                  (QStringList{t.MainTexts[52], t.MainTexts[1], t.MainTexts[2], t.MainTexts[3],
                               t.MainTexts[6], t.MainTexts[7]}));
        EXPECT_EQ(w.menuBarMenu(1)->title(), t.MainTexts[8]);
        EXPECT_EQ(actionTexts(w.menuBarMenu(3)), (QStringList{t.MainTexts[31], t.MainTexts[32]}));
        EXPECT_EQ(w.text(EditButton), t.MainTexts[10]);
        EXPECT_EQ(w.text(EndButton), t.MainTexts[38]);
        EXPECT_EQ(w.text(KanjiLabel), t.MainTexts[33]);
        EXPECT_EQ(w.text(NoteLabel), t.MainTexts[50]);
        EXPECT_EQ(w.text(StatisticsFrame), t.MainTexts[47]);
        EXPECT_EQ(w.text(ManualBox), t.TrainingTexts[32]);
        EXPECT_EQ(w.text(StartButton), t.TrainingTexts[17]);
        EXPECT_EQ(w.text(TrainingEndButton), t.MainTexts[38]);
        EXPECT_EQ(w.statusText(1), t.MainTexts[34] + u"1"_s);
        // Captions without a table entry stay as they are in every language.
        EXPECT_EQ(tabCaptions(control<ui::TabPanel>(Panel)),
                  (QStringList{u"Übersicht"_s, u"Trainieren"_s, u"Listen"_s}));
        EXPECT_EQ(actionTexts(app.gridContextMenu), QStringList{u"Als Genshi übernehmen"_s});
        EXPECT_EQ(w.statusText(0), u"Kanji: 1"_s);
    }
};

TEST_F(CatalogChoice, EnglishCatalogReplacesEveryTableCaption) {
    copyShippedCatalog(u"English"_s);
    const std::optional<QByteArray> bytes = readFile(u"catalog/English.catalog"_s);
    ASSERT_TRUE(bytes.has_value());
    const std::optional<TextTables> english = parseCatalog(*bytes);
    ASSERT_TRUE(english.has_value());
    // Otherwise the test could not tell the catalog's captions from the built-in ones.
    ASSERT_NE(english->MainTexts[10], builtInTexts().MainTexts[10]);
    ASSERT_NE(english->TrainingTexts[32], builtInTexts().TrainingTexts[32]);

    startInLanguage(u"English"_s);

    EXPECT_EQ(app.language, u"English"_s);
    EXPECT_TRUE(app.texts == *english);
    expectCaptionsFrom(*english);
    click(EditButton);
    EXPECT_EQ(window().text(EditButton), english->MainTexts[49]);

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
