// Tests of the About box, the modal window opened from the menu.
#include "app/shell/appfixture.h"

#include "app/shell/mainids.h"
#include "core/shell/credits.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

QWidget* openAboutBox() {
    return visibleWindowTitled(u"Über Renkari"_s);
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
    int hookCalls = 0;
    QString credits;
    QRect geometry;
    app.ui.setWaitHook([&] {
        ++hookCalls;
        QWidget* about = openAboutBox();
        ASSERT_NE(about, nullptr);
        geometry = QRect(about->pos(), about->size());
        if (const auto* editor = about->findChild<QPlainTextEdit*>()) {
            credits = editor->toPlainText();
        }
        for (QPushButton* button : about->findChildren<QPushButton*>()) {
            if (button->text() == app.texts.text(MainText::End)) {
                button->click();
            }
        }
    });

    chooseMenu(MenuAbout);

    EXPECT_EQ(hookCalls, 1);
    EXPECT_EQ(geometry, QRect(333, 229, 470, 340));
    EXPECT_EQ(credits, QString(creditsText()).replace(u"\r\n"_s, u"\n"_s));
    EXPECT_EQ(openAboutBox(), nullptr);
    EXPECT_TRUE(pass());
    EXPECT_EQ(app.viewMode, ViewMode::Overview);
    click(NextButton);
    EXPECT_EQ(app.kanjiSet.current, 1);
}

TEST_F(AboutBox, CloseBoxReturnsAndMainWindowEventsAreNotServed) {
    int hookCalls = 0;
    app.ui.setWaitHook([&] {
        ++hookCalls;
        QWidget* about = openAboutBox();
        ASSERT_NE(about, nullptr);
        if (hookCalls == 1) {
            // The main window is not served while the box is open.
            control<QPushButton>(NextButton)->click();
            window().top()->close();
        } else {
            about->close();
        }
    });

    chooseMenu(MenuAbout);

    EXPECT_EQ(hookCalls, 2);
    EXPECT_EQ(openAboutBox(), nullptr);
    EXPECT_EQ(app.kanjiSet.current, 0);
    EXPECT_TRUE(pass());
    EXPECT_FALSE(app.loop.endRequested);
}
