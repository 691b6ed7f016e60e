// Saves pictures of the main window's three pages, the About box and the training selection into
// the build directory, so a person can compare them with the intended layout.
#include "app/shell/appfixture.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/trainingids.h"
#include "app/training/selectiondialog.h"
#include "base/files.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

const QString ShotFolder = QStringLiteral(RENKARI_BINARY_DIR "/screenshots/");

}  // namespace

class Screenshots : public AppFixture {
protected:
    void SetUp() override {
        copyShippedMedia(u"Controls"_s);
        copyShippedMedia(u"Genshi"_s);
        std::vector<KanjiRecord> records;
        const char16_t codes[] = {0x6F22, 0x5B57, 0x65E5, 0x672C, 0x8A9E, 0x5B66, 0x6821,
                                  0x751F, 0x5148, 0x5E74, 0x6642, 0x9593, 0x5C71, 0x5DDD};
        for (int i = 0; i < static_cast<int>(std::size(codes)); ++i) {
            records.push_back(makeKanji(i + 1, codes[i], u"オン %1"_s.arg(i + 1), 4 - i % 4));
        }
        records[0].KunYomi = u"から"_s;
        records[0].Bemerkung = u"Han-Dynastie, China"_s;
        records[0].Genshi = u"84,90,"_s;
        records[0].Beispiel = {u"漢字 (Kanji)"_s, u"漢方 (Kampō)"_s, QString(), QString()};
        records[0].Anim = writeStrip(u"Bilder"_s, records[0].Unicode,
                                     {QColor(0xE0, 0xE0, 0xFF), QColor(0xC0, 0xC0, 0xFF)});
        writeSet(u"Bilder"_s, records);
        writePreferences(u"Bilder"_s);
        ASSERT_TRUE(QDir().mkpath(ShotFolder));
    }

    void shoot(const QString& name) {
        const QString path = ShotFolder + name;
        QFile::remove(path);
        ASSERT_TRUE(window().saveScreenshot(path)) << path.toStdString();
        const QImage saved(path);
        EXPECT_GE(saved.width(), 1000);
        EXPECT_GE(saved.height(), 702);
    }
};

TEST_F(Screenshots, MainWindowPagesAndAboutBox) {
    start();
    shoot(u"main-overview.png"_s);
    choosePage(ViewMode::Training);
    shoot(u"main-training.png"_s);
    // A question graded in the middle of a run, with its marks and the list of the run.
    app.ui.requesters().answerNext(ui::Answer::accept(u"Lerner"_s));
    chooseMenu(MenuCreateProfile);
    click(AskMeaningBox);
    click(StartButton);
    control<QLineEdit>(AnswerOn)->setText(u"nichi"_s);
    control<QLineEdit>(AnswerMeaning)->setText(u"Mond"_s);
    click(CheckButton);
    shoot(u"main-training-run.png"_s);
    click(TrainingEndButton);
    choosePage(ViewMode::Lists);
    shoot(u"main-lists.png"_s);

    const QString aboutPath = ShotFolder + u"about.png"_s;
    QFile::remove(aboutPath);
    playDialog(AboutWindowId, u"Über Renkari"_s, {[&](QWidget* about) {
                   EXPECT_TRUE(about->grab().save(aboutPath, "PNG"));
                   about->close();
               }},
               [&] { chooseMenu(MenuAbout); });
    EXPECT_EQ(QImage(aboutPath).size(), QSize(470, 340));
}

TEST_F(Screenshots, TrainingSelectionWithEveryBand) {
    start();
    const std::array<AnswerStats, 7> stats{
        {{0, 0, 4}, {1, 0, 3}, {3, 0, 2}, {4, 0, 1}, {19, 1, 0}, {6, 0, 0}, {0, 2, 0}}};
    for (qint32 i = 0; i < 40; ++i) {
        ProfileRecord record;
        record.Code = 0x4E00 + 7 * i;
        record.KindOn = stats[static_cast<size_t>(i) % stats.size()];
        record.KindMeaning = stats[static_cast<size_t>(i / 3) % stats.size()];
        app.learner.profile().records.push_back(record);
    }

    const QString path = ShotFolder + u"selection.png"_s;
    QFile::remove(path);
    std::optional<std::vector<qint32>> selected;
    playDialog(SelectionWindowId, u"Trainingsauswahl "_s,
               {[](QWidget* dialog) {
                    // Some rows selected, to show the selection over the band colours.
                    for (QAbstractButton* box : dialog->findChildren<QAbstractButton*>()) {
                        if (box->text() == u"Quote 90-99"_s) {
                            box->click();
                        }
                    }
                },
                [&](QWidget* dialog) {
                    EXPECT_TRUE(dialog->grab().save(path, "PNG"));
                    dialog->close();
                }},
               [&] { selected = openTrainingSelection(app); });
    EXPECT_TRUE(selected.has_value());
    EXPECT_EQ(QImage(path).size(), QSize(530, 500));
}
