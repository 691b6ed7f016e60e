// Tests of the About box and the guide, the modal windows opened from the "Hilfe" menu.
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "core/shell/credits.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QWidget* openAboutBox() {
    return DialogDriver::openDialog(AboutWindowId);
}

}  // namespace

class AboutBox : public AppFixture {
protected:
    void SetUp() override {
        writeSet(u"Info"_s, {makeKanji(1, 0x672C), makeKanji(2, 0x6728)});
        writePreferences(u"Info"_s);
        start();
    }
};

TEST_F(AboutBox, EndeButtonReturnsToTheMainLoop) {
    QString credits;
    QRect geometry;
    playDialog(AboutWindowId, u"Über Renkari"_s, {[&](QWidget* about) {
                   geometry = QRect(about->pos(), about->size());
                   if (const auto* editor = about->findChild<QPlainTextEdit*>()) {
                       credits = editor->toPlainText();
                   }
                   for (QPushButton* button : about->findChildren<QPushButton*>()) {
                       if (button->text() == app.texts.text(MainText::End)) {
                           button->click();
                       }
                   }
               }},
               [&] { chooseMenu(MenuAbout); });

    EXPECT_EQ(geometry, QRect(333, 229, 470, 340));
    EXPECT_EQ(credits, QString(creditsText()).replace(u"\r\n"_s, u"\n"_s));
    EXPECT_EQ(openAboutBox(), nullptr);
    EXPECT_TRUE(pass());
    EXPECT_EQ(app.viewMode, ViewMode::Overview);
    click(NextButton);
    EXPECT_EQ(app.kanjiSet.current, 1);
}

TEST_F(AboutBox, CloseBoxReturnsAndMainWindowEventsAreNotServed) {
    playDialog(AboutWindowId, u"Über Renkari"_s,
               {[&](QWidget*) {
                    // The main window is not served while the box is open.
                    control<QPushButton>(NextButton)->click();
                    window().top()->close();
                },
                [](QWidget* about) { about->close(); }},
               [&] { chooseMenu(MenuAbout); });

    EXPECT_EQ(openAboutBox(), nullptr);
    EXPECT_EQ(app.kanjiSet.current, 0);
    EXPECT_TRUE(pass());
    EXPECT_FALSE(app.loop.endRequested);
}

namespace {

void press(QWidget* widget, Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

}  // namespace

// "Hilfe" → "Info" opens the guide, which Escape and Enter close; the About box and the
// statistics window close on Escape.
TEST_F(AboutBox, InfoOpensTheGuideAndEscapeClosesEveryReadingWindow) {
    const QString title = u"Info – Renkari"_s;
    QString guide;
    playDialog(GuideWindowId, title, {[&](QWidget* window) {
                   auto* editor = window->findChild<QPlainTextEdit*>();
                   ASSERT_NE(editor, nullptr);
                   guide = editor->toPlainText();
                   EXPECT_TRUE(editor->isReadOnly());
                   EXPECT_EQ(editor->accessibleName(), u"Info"_s);
                   EXPECT_TRUE(editor->hasFocus());
                   const QString folder = QStringLiteral(RENKARI_BINARY_DIR "/screenshots/");
                   QDir().mkpath(folder);
                   EXPECT_TRUE(window->grab().save(folder + u"guide.png"_s));
                   press(editor, Qt::Key_Escape);
               }},
               [&] { chooseMenu(MenuInfo); });
    for (const QString& part : {u"Die erste Woche"_s, u"Die tägliche Wiederholung"_s,
                                u"Schreiben"_s, u"Drucken"_s, u"Tasten: F2"_s}) {
        EXPECT_TRUE(guide.contains(part)) << part.toStdString();
    }
    EXPECT_FALSE(guide.contains(u'|')) << "paragraphs are broken into lines";

    playDialog(GuideWindowId, title, {[](QWidget* window) {
                   press(window->findChild<QPlainTextEdit*>(), Qt::Key_Return);
               }},
               [&] { chooseMenu(MenuInfo); });
    playDialog(AboutWindowId, u"Über Renkari"_s,
               {[](QWidget* about) { press(about->findChild<QPlainTextEdit*>(), Qt::Key_Escape); }},
               [&] { chooseMenu(MenuAbout); });
    playDialog(StatisticsWindowId, u"Statistik"_s,
               {[](QWidget* statistics) { press(statistics, Qt::Key_Escape); }},
               [&] { chooseMenu(MenuStatistics); });
    EXPECT_TRUE(pass());
    click(NextButton);
    EXPECT_EQ(app.kanjiSet.current, 1);
}
