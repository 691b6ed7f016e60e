// Scenario tests of the statistics window, opened from the main menu and driven through its
// widgets from inside its modal loop.
#include "app/review/statisticswindow.h"
#include "app/shell/appfixture.h"
#include "app/state/cardids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "core/training/profilebuilders.h"
#include "ui/tablelist.h"
#include "ui/uitesting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// The open window as a test sees it: its widgets found by their captions.
class Stats {
public:
    explicit Stats(QWidget* top) : top_(top) {}

    QWidget* top() const { return top_; }
    ui::TableList* list() const { return top_->findChild<ui::TableList*>(); }
    QPlainTextEdit* summary() const { return top_->findChild<QPlainTextEdit*>(); }

    template <class T = QAbstractButton>
    T* widget(const QString& caption) const {
        for (T* w : top_->findChildren<T*>()) {
            if (w->text() == caption) {
                return w;
            }
        }
        ADD_FAILURE() << "no widget " << caption.toStdString();
        return nullptr;
    }
    QRect place(const QString& caption) const {
        const QAbstractButton* b = widget(caption);
        return b != nullptr ? b->geometry() : QRect();
    }
    void click(const QString& caption) const {
        if (QAbstractButton* b = widget(caption)) {
            b->click();
        }
    }
    bool checked(const QString& caption) const {
        const QAbstractButton* b = widget(caption);
        return b != nullptr && b->isChecked();
    }
    QStringList column(int column) const {
        QStringList texts;
        for (int row = 0; row < list()->rowCount(); ++row) {
            texts << list()->cellText(row, column);
        }
        return texts;
    }

private:
    QWidget* top_;
};

using Step = std::function<void(const Stats&)>;

constexpr qint32 Hon = 0x672C;    // 本
constexpr qint32 Ki = 0x6728;     // 木
constexpr qint32 Hi = 0x65E5;     // 日
constexpr qint32 Tsuki = 0x6708;  // 月

}  // namespace

class StatisticsTest : public AppFixture {
protected:
    void SetUp() override {
        writeSet(u"Statistik"_s,
                 {makeKanji(1, Hon), makeKanji(2, Ki), makeKanji(3, Hi), makeKanji(4, Tsuki)});
        writePreferences(u"Statistik"_s);
        start();
    }

    // Chooses "Statistik" in the main menu and plays one step each time the window waits for
    // the user; the last step has to end it.
    void run(const std::vector<Step>& steps) {
        playDialog(StatisticsWindowId, u"Statistik"_s, stepsOn(steps),
                   [&] { chooseMenu(MenuStatistics); });
    }

    QColor band(int band) const { return app.resources.quoteColours[static_cast<size_t>(band)]; }
    QString shownCode() const { return window().text(UnicodeField); }
};

TEST_F(StatisticsTest, OpensWithEveryControlTheRowsByCodeAndTheSummary) {
    // Out of order, so that the sorting on opening shows; kanji writing never counts.
    ProfileRecord hon = profileRecord(Hon, answers(1, 1, 2));
    hon.KindKanji = answers(9, 0, 0);
    app.learner.profile().records = {hon, profileRecord(Tsuki, answers(0, 5, 0)),
                                     profileRecord(Hi, answers(3, 0, 0)),
                                     profileRecord(Ki, answers(0, 0, 2))};
    const std::vector<ProfileRecord> before = app.learner.profile().records;

    run({[&](const Stats& s) {
        EXPECT_EQ(QRect(s.top()->pos(), s.top()->size()), QRect(216, 0, 600, 400));
        ASSERT_NE(s.list(), nullptr);
        EXPECT_EQ(s.list()->geometry(), QRect(5, 10, 220, 380));
        EXPECT_EQ(s.list()->selectionMode(), QAbstractItemView::SingleSelection);
        const QAbstractItemModel* model = s.list()->model();
        QStringList captions;
        std::vector<int> widths;
        for (int column = 0; column < model->columnCount(); ++column) {
            captions << model->headerData(column, Qt::Horizontal).toString();
            widths.push_back(s.list()->columnWidth(column));
        }
        // "Teilweise" takes what the counts beside it can spare.
        EXPECT_EQ(widths, (std::vector<int>{40, 34, 52, 34, 40}));
        EXPECT_EQ(captions,
                  (QStringList{u"Kanji"_s, u"Pos"_s, u"Teilweise"_s, u"Neg"_s, u"Quote"_s}));
        EXPECT_EQ(s.widget<QLabel>(u"Allgemein"_s)->geometry(), QRect(230, 10, 350, 20));
        EXPECT_EQ(s.widget<QLabel>(u"Auswahl"_s)->geometry(), QRect(230, 300, 120, 20));
        ASSERT_NE(s.summary(), nullptr);
        EXPECT_EQ(s.summary()->geometry(), QRect(230, 30, 350, 260));
        EXPECT_TRUE(s.summary()->isReadOnly());
        EXPECT_EQ(s.place(u"On-Lesung"_s), QRect(230, 320, 120, 20));
        EXPECT_EQ(s.place(u"Bedeutung"_s), QRect(230, 360, 120, 20));
        EXPECT_EQ(s.place(u"Sortiere nach Kanji"_s), QRect(360, 300, 170, 20));
        EXPECT_EQ(s.place(u"Sortiere nach Quote"_s), QRect(360, 360, 170, 20));
        EXPECT_EQ(s.place(u"OK"_s), QRect(540, 370, 50, 20));
        for (const QString& box :
             {u"On-Lesung"_s, u"Kun-Lesung"_s, u"Bedeutung"_s, u"Sortiere nach Kanji"_s}) {
            EXPECT_TRUE(s.checked(box)) << box.toStdString();
        }
        EXPECT_FALSE(s.checked(u"Sortiere nach Quote"_s));

        EXPECT_EQ(s.column(0), (QStringList{u"日"_s, u"月"_s, u"木"_s, u"本"_s}));
        EXPECT_EQ(s.column(1), (QStringList{u"3"_s, u"0"_s, u"0"_s, u"1"_s}));
        EXPECT_EQ(s.column(2), (QStringList{u"0"_s, u"5"_s, u"0"_s, u"1"_s}));
        EXPECT_EQ(s.column(3), (QStringList{u"0"_s, u"0"_s, u"2"_s, u"2"_s}));
        EXPECT_EQ(s.column(4), (QStringList{u"100"_s, u"-"_s, u"0"_s, u"25"_s}));
        EXPECT_EQ(s.list()->rowColour(0), band(5));
        EXPECT_FALSE(s.list()->rowColour(1).isValid());
        EXPECT_EQ(s.list()->rowColour(2), band(0));
        EXPECT_EQ(s.list()->rowColour(3), band(1));

        EXPECT_EQ(s.summary()->toPlainText(),
                  u"Zusammenfassung\n\n"
                  u"Kanji insgesamt: 4\n\n"
                  u"Trainiert: 3  - Quote: 75%\n"
                  u"Noch nicht trainiert: 1  - Quote: 25%\n\n"
                  u"Die einzelnen Kanji \n"
                  u"Immer richtig (100%): \t1\n"
                  u"Sehr oft richtig (90-99%): \t0\n"
                  u"Meist richtig (75-89%): \t0\n"
                  u"Öfter richtig (50-74%): \t0\n"
                  u"Manchmal richtig (0-49%): \t1\n"
                  u"Nie richtig (0%): \t\t1\n\n"
                  u"Beste Einzel-Quote: 100\n"
                  u"Schlechteste Einzel-Quote: 0\n\n"_s);
        s.click(u"OK"_s);
    }});

    // Sorted by code, every counter as it was.
    std::vector<ProfileRecord> sorted = before;
    std::sort(sorted.begin(), sorted.end(),
              [](const ProfileRecord& a, const ProfileRecord& b) { return a.Code < b.Code; });
    EXPECT_EQ(app.learner.profile().records, sorted);
    // The main loop goes on.
    EXPECT_TRUE(pass());
}

TEST_F(StatisticsTest, SortOptionsAndKindBoxesRefillTheListAndTheSummary) {
    app.learner.profile().records = {
        profileRecord(0x4E00, answers(2, 0, 2)),                        // 50
        profileRecord(0x4E01, answers(0, 4, 0)),                        // untrained
        profileRecord(0x4E02, answers(9, 1, 0)),                        // 90
        profileRecord(0x4E03, {}, answers(0, 0, 3)),                    // 0, by its Kun answers
        profileRecord(0x4E04, answers(2, 0, 0)),                        // 100
        profileRecord(0x4E05, answers(1, 0, 3), {}, answers(0, 0, 5)),  // 25, 10 with meanings
    };
    const auto codes = [](const Stats& s) {
        std::vector<qint64> codes;
        for (int row = 0; row < s.list()->rowCount(); ++row) {
            codes.push_back(s.list()->rowData(row) - 0x4E00);
        }
        return codes;
    };

    run({
        [](const Stats& s) { s.click(u"Sortiere nach Falschen"_s); },
        [&](const Stats& s) {
            EXPECT_EQ(codes(s), (std::vector<qint64>{5, 3, 0, 1, 2, 4}));
            EXPECT_EQ(s.column(3), (QStringList{u"8"_s, u"3"_s, u"2"_s, u"0"_s, u"0"_s, u"0"_s}));
            s.click(u"Sortiere nach Richtigen"_s);
        },
        [&](const Stats& s) {
            EXPECT_EQ(codes(s), (std::vector<qint64>{2, 0, 4, 5, 1, 3}));
            s.click(u"Sortiere nach Quote"_s);
        },
        [&](const Stats& s) {
            EXPECT_EQ(codes(s), (std::vector<qint64>{4, 2, 0, 5, 1, 3}));
            EXPECT_EQ(s.column(4),
                      (QStringList{u"100"_s, u"90"_s, u"50"_s, u"11"_s, u"-"_s, u"0"_s}));
            EXPECT_TRUE(s.summary()->toPlainText().contains(u"Beste Einzel-Quote: 100\n"_s));
            // Without its Kun answers the kanji of quota 0 is untrained.
            s.click(u"Kun-Lesung"_s);
        },
        [&](const Stats& s) {
            EXPECT_FALSE(s.checked(u"Kun-Lesung"_s));
            EXPECT_EQ(s.column(4),
                      (QStringList{u"100"_s, u"90"_s, u"50"_s, u"11"_s, u"-"_s, u"-"_s}));
            EXPECT_TRUE(s.summary()->toPlainText().contains(
                u"Trainiert: 4  - Quote: 66%\nNoch nicht trainiert: 2  - Quote: 33%\n"_s))
                << s.summary()->toPlainText().toStdString();
            s.click(u"Bedeutung"_s);
        },
        [&](const Stats& s) {
            EXPECT_EQ(s.column(4),
                      (QStringList{u"100"_s, u"90"_s, u"50"_s, u"25"_s, u"-"_s, u"-"_s}));
            EXPECT_EQ(s.list()->rowColour(3), band(1));
            s.click(u"On-Lesung"_s);
        },
        [&](const Stats& s) {
            // Nothing counted: every kanji untrained, in the order of the profile, and nothing to
            // sum up.
            EXPECT_EQ(s.column(4), QStringList(6, u"-"_s));
            for (int row = 0; row < 6; ++row) {
                EXPECT_FALSE(s.list()->rowColour(row).isValid()) << row;
            }
            EXPECT_EQ(s.summary()->toPlainText(), QString());
            s.click(u"Kun-Lesung"_s);
        },
        [&](const Stats& s) {
            EXPECT_EQ(s.column(4), (QStringList{u"-"_s, u"-"_s, u"-"_s, u"0"_s, u"-"_s, u"-"_s}));
            EXPECT_TRUE(s.summary()->toPlainText().endsWith(
                u"Beste Einzel-Quote: 0\nSchlechteste Einzel-Quote: 0\n\n"_s));
            s.top()->close();
        },
    });
}

TEST_F(StatisticsTest, SelectedRowShowsItsKanjiOnTheMainCard) {
    app.learner.profile().records = {
        profileRecord(Hi, answers(1, 0, 1)),
        profileRecord(Ki, answers(0, 0, 7)),
        profileRecord(Hon, answers(2, 0, 3)),
        // A kanji the set no longer holds.
        profileRecord(0x4E00, answers(0, 0, 1)),
    };
    ASSERT_EQ(shownCode(), QString::number(Hon));

    run({
        [](const Stats& s) { s.click(u"Sortiere nach Falschen"_s); },
        [](const Stats& s) { clickTableRow(s.list(), 0); },
        [&](const Stats& s) {
            // The kanji with the most wrong answers, not the profile's first.
            EXPECT_EQ(shownCode(), QString::number(Ki));
            EXPECT_EQ(app.kanjiSet.current, 1);
            EXPECT_EQ(s.list()->selectedRows(), (std::vector<int>{0}));
            // The keyboard moves the selection, and the card follows.
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QCoreApplication::sendEvent(s.list(), &down);
        },
        [&](const Stats& s) {
            EXPECT_EQ(s.list()->selectedRows(), (std::vector<int>{1}));
            EXPECT_EQ(shownCode(), QString::number(Hon));
            // One row at a time: a second click with Ctrl replaces the first.
            clickTableRow(s.list(), 2, Qt::ControlModifier);
        },
        [&](const Stats& s) {
            EXPECT_EQ(s.list()->selectedRows(), (std::vector<int>{2}));
            // Not in the set: the card keeps its kanji and the status bar says why.
            EXPECT_EQ(s.list()->rowData(2), 0x4E00);
            EXPECT_EQ(shownCode(), QString::number(Hon));
            EXPECT_EQ(app.kanjiSet.current, 0);
            EXPECT_EQ(window().statusText(2), u"一 ist nicht im Set"_s);
            clickTableRow(s.list(), 3);
        },
        [&](const Stats& s) {
            EXPECT_EQ(shownCode(), QString::number(Hi));
            EXPECT_EQ(app.kanjiSet.current, 2);
            s.click(u"OK"_s);
        },
    });
    EXPECT_EQ(shownCode(), QString::number(Hi));
}

TEST_F(StatisticsTest, ScreenshotWithEveryBand) {
    const std::array<AnswerStats, 7> stats{
        {{0, 0, 4}, {1, 0, 3}, {3, 0, 2}, {4, 0, 1}, {19, 1, 0}, {6, 0, 0}, {0, 2, 0}}};
    for (qint32 i = 0; i < 40; ++i) {
        app.learner.profile().records.push_back(
            profileRecord(0x4E00 + 7 * i, stats[static_cast<size_t>(i) % stats.size()], {},
                          stats[static_cast<size_t>(i / 3) % stats.size()]));
    }
    const QString folder = QStringLiteral(RENKARI_BINARY_DIR "/screenshots/");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + u"statistics.png"_s;
    QFile::remove(path);

    run({[&](const Stats& s) {
        EXPECT_TRUE(s.top()->grab().save(path, "PNG"));
        // The six band counts stand in one column, whether one TAB or two lead to them.
        std::vector<qreal> columns;
        for (QTextBlock block = s.summary()->document()->begin(); block.isValid();
             block = block.next()) {
            const int tab = static_cast<int>(block.text().lastIndexOf(u'\t'));
            if (tab >= 0 && block.layout() != nullptr && block.layout()->lineCount() > 0) {
                columns.push_back(block.layout()->lineAt(0).cursorToX(tab + 1));
            }
        }
        ASSERT_EQ(columns.size(), 6u);
        for (const qreal x : columns) {
            EXPECT_EQ(x, columns.front());
        }
        EXPECT_GT(columns.front(), 0);
        s.top()->close();
    }});
    EXPECT_EQ(QImage(path).size(), QSize(600, 400));
}
