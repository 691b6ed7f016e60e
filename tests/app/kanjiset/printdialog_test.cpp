// Scenario tests of "Lernkarten drucken"'s dialog through its widgets: the ways of choosing the
// kanji, Enter and Escape, and the choice kept beside the profile across a restart.
#include "app/kanjiset/pdfreading.h"
#include "app/shell/appfixture.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/trainingids.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace {

const QString Characters = u"一二三四五六七八九十日月"_s;

// Twelve kanji: the even ones of JLPT level 3, the odd ones of level 4.
std::vector<KanjiRecord> twelveKanji() {
    std::vector<KanjiRecord> records;
    for (int i = 0; i < 12; ++i) {
        records.push_back(makeKanji(i + 1, static_cast<qint32>(Characters.at(i).unicode()),
                                    u"ON%1"_s.arg(i), i % 2 == 0 ? 3 : 4));
    }
    return records;
}

// The open dialog as a test sees it: options by caption, the choice box, and the spins in their
// order (from, to, at most).
class PrintView {
public:
    explicit PrintView(QWidget* top) : top_(top) {}

    QRadioButton* option(const QString& caption) const {
        QRadioButton* option = captioned<QRadioButton>(top_, caption);
        EXPECT_NE(option, nullptr) << "no option " << caption.toStdString();
        return option;
    }
    QComboBox* level() const { return top_->findChild<QComboBox*>(); }
    QSpinBox* spin(int nth) const { return top_->findChildren<QSpinBox*>().value(nth); }
    QSpinBox* atMost() const { return spin(2); }
    // A key pressed in the control that has the focus; it passes on what it has no use for.
    static void press(QWidget* focus, Qt::Key key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(focus, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(focus, &release);
    }

private:
    QWidget* top_;
};

const QString Weakest = u"die schwächsten im Profil, mit Schreiben"_s;
const QString LastRun = u"die des letzten Trainings"_s;
const QString Level = u"JLPT-Stufe"_s;
const QString Range = u"Spanne"_s;

}  // namespace

class PrintDialogTest : public AppFixture {
protected:
    void SetUp() override {
        writeSet(u"Druck"_s, twelveKanji());
        writePreferences(u"Druck"_s);
        start();
    }

    void play(const std::vector<std::function<void(const PrintView&)>>& steps) {
        playDialog(PrintWindowId, u"Lernkarten drucken"_s, stepsOn(steps),
                   [this] { chooseMenu(MenuPrintCards); });
    }

    // The kanji of Characters a PDF's text holds, in order; nullopt without pdftotext.
    std::optional<QString> kanjiOf(const QString& name) const {
        const std::optional<QString> text = pdfText(workDir() + name);
        if (!text) {
            return std::nullopt;
        }
        QString found;
        for (const QChar c : *text) {
            if (Characters.contains(c) && !found.contains(c)) {
                found += c;
            }
        }
        return found;
    }
};

TEST_F(PrintDialogTest, AChoiceWithoutKanjiIsToldAndTheLevelAndNumberAreKeptWithTheProfile) {
    app.ui.requesters().answerNext(ui::Answer::accept(u"Lerner"_s));
    chooseMenu(MenuCreateProfile);

    // A level the set does not hold: nothing to print, so no file is asked for.
    play({[](const PrintView& d) {
              // A new profile starts with its weakest; no training has been run yet.
              EXPECT_TRUE(d.option(Weakest)->isChecked());
              EXPECT_FALSE(d.option(LastRun)->isEnabled());
              EXPECT_FALSE(d.level()->isEnabled());
              EXPECT_EQ(d.atMost()->value(), 40);
              d.option(Level)->click();
          },
          [](const PrintView& d) {
              EXPECT_TRUE(d.level()->isEnabled());
              EXPECT_FALSE(d.spin(0)->isEnabled());
              d.level()->setCurrentIndex(d.level()->findText(u"1"_s));
              // Enter in the list passes on to the dialog: OK.
              PrintView::press(d.level(), Qt::Key_Return);
          }});
    EXPECT_EQ(requestersShown(ui::RequesterKind::SaveFile), 0);
    ASSERT_FALSE(app.ui.requesters().shown().empty());
    EXPECT_EQ(app.ui.requesters().shown().back().text, u"Keine Kanji passen zu dieser Auswahl."_s);

    // Level 3, at most four: the first four even kanji; Enter ends the typing of the number and
    // answers the dialog.
    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"stufe3.pdf"_s));
    play({[](const PrintView& d) {
              EXPECT_TRUE(d.option(Level)->isChecked());
              EXPECT_EQ(d.level()->currentText(), u"1"_s);
              d.level()->setCurrentIndex(d.level()->findText(u"3"_s));
          },
          [](const PrintView& d) { d.atMost()->setValue(4); },
          [](const PrintView& d) { PrintView::press(d.atMost(), Qt::Key_Enter); }});
    EXPECT_EQ(requestersShown(ui::RequesterKind::SaveFile), 1);
    const std::optional<QByteArray> kept = readFile(u"Media/Druck/Lerner.rktrain"_s);
    ASSERT_TRUE(kept.has_value());
    EXPECT_TRUE(kept->contains("\nprint=jlpt\n")) << kept->toStdString();
    EXPECT_TRUE(kept->contains("\nprintJlpt=3\n")) << kept->toStdString();
    EXPECT_TRUE(kept->contains("\nprintMax=4\n")) << kept->toStdString();

    // After a restart the dialog starts where the learner left it; Escape prints nothing.
    ASSERT_TRUE(finish());
    start();
    const int savesBefore = requestersShown(ui::RequesterKind::SaveFile);
    ASSERT_EQ(app.profile.profileName, u"Lerner"_s);
    play({[](const PrintView& d) {
        EXPECT_TRUE(d.option(Level)->isChecked());
        EXPECT_EQ(d.level()->currentText(), u"3"_s);
        EXPECT_EQ(d.atMost()->value(), 4);
        PrintView::press(d.option(Level), Qt::Key_Escape);
    }});
    EXPECT_EQ(requestersShown(ui::RequesterKind::SaveFile), savesBefore);

    const std::optional<QString> printed = kanjiOf(u"stufe3.pdf"_s);
    if (!printed) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    EXPECT_EQ(*printed, u"一三五七"_s);
}

TEST_F(PrintDialogTest, TheKanjiTheLastRunAskedAndARangeOfPositions) {
    ASSERT_TRUE(app.profile.profileName.isEmpty());
    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"spanne.pdf"_s));
    play({[](const PrintView& d) {
              // Without a profile there are no weakest, and without a run no last training.
              EXPECT_FALSE(d.option(Weakest)->isEnabled());
              EXPECT_FALSE(d.option(LastRun)->isEnabled());
              EXPECT_TRUE(d.option(Range)->isChecked());
              d.spin(1)->setValue(3);
          },
          [](const PrintView& d) { d.spin(0)->setValue(10); },
          [](const PrintView& d) {
              // The end follows a start moved past it.
              EXPECT_EQ(d.spin(1)->value(), 10);
              d.spin(1)->setValue(12);
          },
          [](const PrintView& d) { PrintView::press(d.spin(1), Qt::Key_Return); }});
    EXPECT_EQ(requestersShown(ui::RequesterKind::SaveFile), 1);

    // A run of all twelve in the set's order, ended after the third question.
    choosePage(ViewMode::Training);
    click(OrderIndex);
    click(ScopeAll);
    click(StartButton);
    ASSERT_TRUE(app.training.running());
    for (int question = 0; question < 3; ++question) {
        control<QLineEdit>(AnswerOn)->setText(u"x"_s);
        click(CheckButton);
        if (question < 2) {
            click(NextQuestionButton);
        }
    }
    click(TrainingEndButton);
    ASSERT_FALSE(app.training.running());

    app.ui.requesters().answerNext(ui::Answer::accept(workDir() + u"training.pdf"_s));
    play({[](const PrintView& d) {
              EXPECT_TRUE(d.option(LastRun)->isEnabled());
              // The range chosen before is still what this program run remembers.
              EXPECT_TRUE(d.option(Range)->isChecked());
              EXPECT_EQ(d.spin(0)->value(), 10);
              d.option(LastRun)->click();
          },
          [](const PrintView& d) { PrintView::press(d.option(LastRun), Qt::Key_Return); }});
    EXPECT_EQ(requestersShown(ui::RequesterKind::SaveFile), 2);

    const std::optional<QString> range = kanjiOf(u"spanne.pdf"_s);
    if (!range) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    EXPECT_EQ(*range, u"十日月"_s);
    // The three asked, not the nine the run never came to.
    EXPECT_EQ(kanjiOf(u"training.pdf"_s), u"一二三"_s);
}
