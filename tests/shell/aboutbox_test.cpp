// Tests of the About box: the credits' alignment and the modal window opened from the menu.
#include "appfixture.h"

#include "shell/credits.h"
#include "shell/mainids.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int CreditsColumn = 75;

QWidget* openAboutBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->windowTitle() == u"Über Renkari"_s) {
            return widget;
        }
    }
    return nullptr;
}

}  // namespace

TEST(Credits, LinesEndInColumn75) {
    const QString full(CreditsColumn, u'x');
    const QString longer(CreditsColumn + 5, u'y');
    EXPECT_EQ(alignCredits({full}), full + u"\r\n"_s);
    EXPECT_EQ(alignCredits({longer}), longer + u"\r\n"_s);
    EXPECT_EQ(alignCredits({u" "_s}), QString(CreditsColumn, u' ') + u"\r\n"_s);
    EXPECT_EQ(alignCredits({u"abc"_s, u""_s}),
              QString(72, u' ') + u"abc\r\n"_s + QString(CreditsColumn, u' ') + u"\r\n"_s);
    EXPECT_EQ(alignCredits({}), QString());
}

TEST(Credits, TextHasEighteenAlignedLines) {
    const QString text = creditsText();
    ASSERT_TRUE(text.endsWith(u"\r\n"_s));
    QStringList lines = text.split(u"\r\n"_s);
    lines.removeLast();
    ASSERT_EQ(lines.size(), 18);
    for (const QString& line : lines) {
        EXPECT_FALSE(line.contains(u'\r') || line.contains(u'\n')) << line.toStdString();
        // Short lines are filled up to the column, longer ones start at once.
        if (line.size() > CreditsColumn) {
            EXPECT_NE(line.front(), u' ') << line.toStdString();
        } else {
            EXPECT_EQ(line.size(), CreditsColumn) << line.toStdString();
        }
    }
    EXPECT_EQ(lines[0].trimmed(), u"Dieses Programm wurde"_s);
    EXPECT_EQ(lines[15].trimmed(), u"Credits go to..."_s);
    for (int blank : {3, 8, 14, 17}) {
        EXPECT_EQ(lines[blank], QString(CreditsColumn, u' ')) << "line " << blank + 1;
    }
}

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
            if (button->text() == app.texts.MainTexts[38]) {
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
    EXPECT_EQ(app.ViewMode, ModeOverview);
    click(NextButton);
    EXPECT_EQ(app.CurrentIndex, 1);
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
    EXPECT_EQ(app.CurrentIndex, 0);
    EXPECT_TRUE(pass());
    EXPECT_FALSE(app.endRequested);
}
