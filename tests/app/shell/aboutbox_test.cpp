// Tests of the About box, the modal window opened from the menu.
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "core/shell/credits.h"

#include <QApplication>
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
