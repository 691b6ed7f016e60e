// Tests of the training selection, driven through its widgets from inside its modal loop.
#include "app/shell/appfixture.h"
#include "app/state/mainwindowids.h"
#include "app/training/selectiondialog.h"
#include "core/training/profilebuilders.h"
#include "ui/tablelist.h"
#include "ui/uitesting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

ProfileRecord record(qint32 code, AnswerStats on, AnswerStats kun = {}, AnswerStats meaning = {}) {
    ProfileRecord r = profileRecord(code, on, kun, meaning);
    // Kanji writing never counts towards the quota.
    r.KindKanji = answers(0, 0, 50);
    return r;
}

// The open dialog as a test sees it: its widgets found by their captions.
class Dialog {
public:
    explicit Dialog(QWidget* top) : top_(top) {}

    QWidget* top() const { return top_; }
    ui::TableList* list() const { return top_->findChild<ui::TableList*>(); }

    template <class T = QAbstractButton>
    T* button(const QString& caption) const {
        for (T* button : top_->findChildren<T*>()) {
            if (button->text() == caption) {
                return button;
            }
        }
        ADD_FAILURE() << "no button " << caption.toStdString();
        return nullptr;
    }
    void click(const QString& caption) const {
        if (QAbstractButton* b = button(caption)) {
            b->click();
        }
    }
    bool checked(const QString& caption) const {
        const QAbstractButton* b = button(caption);
        return b != nullptr && b->isChecked();
    }
    bool okEnabled() const {
        const QAbstractButton* ok = button<QPushButton>(u"OK"_s);
        return ok != nullptr && ok->isEnabled();
    }

    // The status field whose text starts with prefix.
    QString status(const QString& prefix) const {
        for (const QLabel* label : top_->findChildren<QLabel*>()) {
            if (label->text().startsWith(prefix)) {
                return label->text();
            }
        }
        return {};
    }

    // A click on the kanji column of a row as the user makes it.
    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        clickTableRow(list(), row, modifiers);
    }

    QStringList column(int column) const {
        QStringList texts;
        for (int row = 0; row < list()->rowCount(); ++row) {
            texts << list()->cellText(row, column);
        }
        return texts;
    }
    std::vector<int> selectedRows() const { return list()->selectedRows(); }

private:
    QWidget* top_;
};

using Step = std::function<void(const Dialog&)>;

}  // namespace

class SelectionDialogTest : public AppFixture {
protected:
    void SetUp() override {
        // The set holds two kanji; the profile's records need not be among them.
        writeSet(u"Auswahl"_s, {makeKanji(1, 0x672C), makeKanji(2, 0x6728)});
        writePreferences(u"Auswahl"_s);
        start();
    }

    // Opens the dialog and plays one step each time it waits for the user; every step but the
    // last has to do something the dialog answers. Returns what the dialog returned.
    std::optional<std::vector<qint32>> run(const std::vector<Step>& steps) {
        std::optional<std::vector<qint32>> result;
        playDialog(SelectionWindowId, u"Trainingsauswahl "_s, stepsOn(steps),
                   [&] { result = openTrainingSelection(app); });
        return result;
    }

    QColor band(int band) const { return app.resources.quoteColours[static_cast<size_t>(band)]; }
};

TEST_F(SelectionDialogTest, OpensWithEveryRecordColouredByItsBand) {
    app.learner.profile().records = {
        record(0x4E00, answers(0, 0, 3)),                    // trained, nothing right: band 0
        record(0x4E01, answers(1, 0, 199)),                  // quota 0 with one right: band 1
        record(0x4E02, answers(1, 0, 1)),                    // 50: band 2
        record(0x4E03, answers(3, 0, 1)),                    // 75: band 3
        record(0x4E04, answers(4, 1, 0), answers(5, 0, 0)),  // 90: band 4
        record(0x4E05, answers(10, 0, 0)),                   // 100: band 5
        record(0x4E06, answers(0, 2, 0)),                    // partly only: untrained
        record(0x20B9F, answers(3, 1, 0)),                   // 75, beyond the basic plane
    };

    const auto result = run({[&](const Dialog& d) {
        EXPECT_EQ(QRect(d.top()->pos(), d.top()->size()), QRect(216, 0, 530, 500));
        ui::TableList* list = d.list();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->geometry(), QRect(10, 10, 265, 450));
        EXPECT_EQ(d.button(u"OK"_s)->geometry(), QRect(470, 450, 50, 20));
        EXPECT_EQ(d.button(u"Abbruch"_s)->geometry(), QRect(400, 450, 50, 20));
        EXPECT_EQ(d.button(u"Quote 90-99"_s)->geometry(), QRect(280, 270, 170, 20));
        const QAbstractItemModel* model = list->model();
        QStringList captions;
        for (int column = 0; column < model->columnCount(); ++column) {
            captions << model->headerData(column, Qt::Horizontal).toString();
        }
        EXPECT_EQ(captions,
                  (QStringList{u"Kanji"_s, u"Richtig"_s, u"Teilweise"_s, u"Falsch"_s, u"Quote"_s}));

        EXPECT_TRUE(d.checked(u"ON-Lesung"_s));
        EXPECT_TRUE(d.checked(u"KUN-Lesung"_s));
        EXPECT_TRUE(d.checked(u"Bedeutung"_s));
        EXPECT_TRUE(d.checked(u"Sortiere nach Kanji"_s));
        EXPECT_FALSE(d.checked(u"Sortiere nach Quote"_s));
        for (const QString& box : {u"bisher nur falsch"_s, u"Quote 1-49%"_s, u"Quote 50-74%"_s,
                                   u"Quote 75-89%"_s, u"Quote 90-99"_s}) {
            EXPECT_FALSE(d.checked(box)) << box.toStdString();
        }
        EXPECT_EQ(d.status(u"Insgesamt"_s), u"Insgesamt: 8"_s);
        EXPECT_EQ(d.status(u"Selektiert"_s), u"Selektiert: 0"_s);
        EXPECT_FALSE(d.okEnabled());

        EXPECT_EQ(d.column(0), (QStringList{u"一"_s, u"丁"_s, u"丂"_s, u"七"_s, u"丄"_s, u"丅"_s,
                                            u"丆"_s, u"𠮟"_s}));
        EXPECT_EQ(d.column(1),
                  (QStringList{u"0"_s, u"1"_s, u"1"_s, u"3"_s, u"9"_s, u"10"_s, u"0"_s, u"3"_s}));
        EXPECT_EQ(d.column(2),
                  (QStringList{u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"1"_s, u"0"_s, u"2"_s, u"1"_s}));
        EXPECT_EQ(d.column(3),
                  (QStringList{u"3"_s, u"199"_s, u"1"_s, u"1"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s}));
        EXPECT_EQ(d.column(4), (QStringList{u"0"_s, u"0"_s, u"50"_s, u"75"_s, u"90"_s, u"100"_s,
                                            u"-"_s, u"75"_s}));
        const std::vector<QColor> colours{band(0), band(1), band(2),  band(3),
                                          band(4), band(5), QColor(), band(3)};
        for (int row = 0; row < 8; ++row) {
            EXPECT_EQ(list->rowColour(row), colours[static_cast<size_t>(row)]) << row;
        }
        // The six band colours differ, so a row in the wrong band shows.
        for (int a = 0; a < 6; ++a) {
            for (int b = a + 1; b < 6; ++b) {
                EXPECT_NE(band(a), band(b));
            }
        }
        d.click(u"OK"_s);  // disabled: nothing happens, the dialog waits again
        d.top()->close();
    }});

    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->empty());
}

TEST_F(SelectionDialogTest, BandBoxesSelectTheirBandAndOnlyWrongAlsoTheUntrained) {
    app.learner.profile().records = {
        record(1, answers(0, 0, 2)),   // band 0
        record(2, answers(0, 3, 0)),   // untrained
        record(3, answers(1, 0, 3)),   // band 1
        record(4, answers(9, 1, 0)),   // band 4
        record(5, answers(1, 0, 0)),   // band 5
        record(6, answers(19, 1, 0)),  // band 4
        record(7, answers(0, 0, 0)),   // untrained
    };

    const auto result = run({
        [](const Dialog& d) { d.click(u"bisher nur falsch"_s); },
        [](const Dialog& d) {
            EXPECT_EQ(d.selectedRows(), (std::vector<int>{0, 1, 6}));
            EXPECT_EQ(d.status(u"Selektiert"_s), u"Selektiert: 3"_s);
            EXPECT_TRUE(d.okEnabled());
            d.click(u"Quote 90-99"_s);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.selectedRows(), (std::vector<int>{0, 1, 3, 5, 6}));
            // A row chosen by hand stays when a band is taken away.
            d.clickRow(4, Qt::ControlModifier);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.selectedRows(), (std::vector<int>{0, 1, 3, 4, 5, 6}));
            EXPECT_EQ(d.status(u"Selektiert"_s), u"Selektiert: 6"_s);
            d.click(u"bisher nur falsch"_s);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.selectedRows(), (std::vector<int>{3, 4, 5}));
            d.click(u"Quote 90-99"_s);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.selectedRows(), (std::vector<int>{4}));
            EXPECT_EQ(d.status(u"Selektiert"_s), u"Selektiert: 1"_s);
            EXPECT_FALSE(d.okEnabled());
            // A band without rows changes nothing but is counted all the same.
            d.click(u"Quote 50-74%"_s);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.selectedRows(), (std::vector<int>{4}));
            d.click(u"Quote 1-49%"_s);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.selectedRows(), (std::vector<int>{2, 4}));
            EXPECT_TRUE(d.okEnabled());
            d.click(u"OK"_s);
        },
    });

    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, (std::vector<qint32>{3, 5}));
}

TEST_F(SelectionDialogTest, AlleKeineAndClicksCountAndEnableOkFromTwoRowsOn) {
    for (qint32 code = 0x4E00; code < 0x4E00 + 30; ++code) {
        app.learner.profile().records.push_back(record(code, answers(code % 4, 0, 1)));
    }

    const auto result = run({
        [](const Dialog& d) { d.click(u"Alle"_s); },
        [](const Dialog& d) {
            EXPECT_EQ(d.selectedRows().size(), 30u);
            EXPECT_EQ(d.status(u"Selektiert"_s), u"Selektiert: 30"_s);
            EXPECT_TRUE(d.okEnabled());
            d.click(u"Keine"_s);
        },
        [](const Dialog& d) {
            EXPECT_TRUE(d.selectedRows().empty());
            EXPECT_EQ(d.status(u"Selektiert"_s), u"Selektiert: 0"_s);
            EXPECT_FALSE(d.okEnabled());
            d.clickRow(7);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.status(u"Selektiert"_s), u"Selektiert: 1"_s);
            EXPECT_FALSE(d.okEnabled());
            d.clickRow(25, Qt::ControlModifier);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.status(u"Selektiert"_s), u"Selektiert: 2"_s);
            EXPECT_TRUE(d.okEnabled());
            // A plain click starts the selection anew.
            d.clickRow(3);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.selectedRows(), (std::vector<int>{3}));
            EXPECT_FALSE(d.okEnabled());
            d.clickRow(5, Qt::ShiftModifier);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.status(u"Selektiert"_s), u"Selektiert: 3"_s);
            d.click(u"OK"_s);
        },
    });

    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, (std::vector<qint32>{0x4E03, 0x4E04, 0x4E05}));
}

TEST_F(SelectionDialogTest, SortOptionsReorderAndRefillsLeaveNothingSelected) {
    app.learner.profile().records = {
        record(1, answers(2, 0, 2)),  // 50
        record(2, answers(0, 4, 0)),  // untrained
        record(3, answers(9, 1, 0)),  // 90
        record(4, answers(0, 0, 3)),  // 0
        record(5, answers(2, 0, 0)),  // 100
        record(6, answers(1, 0, 3)),  // 25
    };
    const auto codes = [](const Dialog& d) {
        std::vector<qint64> codes;
        for (int row = 0; row < d.list()->rowCount(); ++row) {
            codes.push_back(d.list()->rowData(row));
        }
        return codes;
    };

    const auto result = run({
        [](const Dialog& d) { d.click(u"Sortiere nach Richtigen"_s); },
        [&](const Dialog& d) {
            // Equal keys keep the order of the profile.
            EXPECT_EQ(codes(d), (std::vector<qint64>{3, 1, 5, 6, 2, 4}));
            EXPECT_EQ(d.column(1), (QStringList{u"9"_s, u"2"_s, u"2"_s, u"1"_s, u"0"_s, u"0"_s}));
            d.click(u"Sortiere nach Falschen"_s);
        },
        [&](const Dialog& d) {
            EXPECT_EQ(codes(d), (std::vector<qint64>{4, 6, 1, 2, 3, 5}));
            d.click(u"Sortiere nach Quote"_s);
        },
        [&](const Dialog& d) {
            EXPECT_EQ(codes(d), (std::vector<qint64>{5, 3, 1, 6, 2, 4}));
            EXPECT_EQ(d.column(4),
                      (QStringList{u"100"_s, u"90"_s, u"50"_s, u"25"_s, u"-"_s, u"0"_s}));
            EXPECT_EQ(d.list()->rowColour(0), band(5));
            d.click(u"bisher nur falsch"_s);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.selectedRows(), (std::vector<int>{4, 5}));
            EXPECT_TRUE(d.okEnabled());
            d.click(u"Sortiere nach Kanji"_s);
        },
        [&](const Dialog& d) {
            EXPECT_EQ(codes(d), (std::vector<qint64>{1, 2, 3, 4, 5, 6}));
            // The refill selects nothing, not even by the ticked box; the count shown and the OK
            // button wait for the next recount.
            EXPECT_TRUE(d.selectedRows().empty());
            EXPECT_TRUE(d.checked(u"bisher nur falsch"_s));
            EXPECT_EQ(d.status(u"Selektiert"_s), u"Selektiert: 2"_s);
            EXPECT_TRUE(d.okEnabled());
            EXPECT_EQ(d.status(u"Insgesamt"_s), u"Insgesamt: 6"_s);
            d.click(u"OK"_s);
        },
    });

    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(result->empty());
}

TEST_F(SelectionDialogTest, KindBoxesChooseWhatCountsAndCanLeaveEveryRowUntrained) {
    app.learner.profile().records = {
        record(1, answers(5, 0, 0)),                                      // ON only
        record(2, {}, answers(0, 0, 4)),                                  // KUN only
        record(3, answers(1, 0, 0), answers(1, 0, 0), answers(0, 1, 2)),  // all three
    };

    const auto result = run({
        [](const Dialog& d) {
            EXPECT_EQ(d.column(4), (QStringList{u"100"_s, u"0"_s, u"40"_s}));
            d.click(u"ON-Lesung"_s);
        },
        [&](const Dialog& d) {
            EXPECT_FALSE(d.checked(u"ON-Lesung"_s));
            EXPECT_EQ(d.column(1), (QStringList{u"0"_s, u"0"_s, u"1"_s}));
            EXPECT_EQ(d.column(4), (QStringList{u"-"_s, u"0"_s, u"25"_s}));
            EXPECT_FALSE(d.list()->rowColour(0).isValid());
            EXPECT_EQ(d.list()->rowColour(1), band(0));
            EXPECT_EQ(d.list()->rowColour(2), band(1));
            // The untrained row now belongs with the worst.
            d.click(u"bisher nur falsch"_s);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.selectedRows(), (std::vector<int>{0, 1}));
            d.click(u"KUN-Lesung"_s);
        },
        [&](const Dialog& d) {
            EXPECT_EQ(d.column(4), (QStringList{u"-"_s, u"-"_s, u"0"_s}));
            EXPECT_EQ(d.column(2), (QStringList{u"0"_s, u"0"_s, u"1"_s}));
            EXPECT_EQ(d.list()->rowColour(2), band(0));
            d.click(u"Bedeutung"_s);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.column(4), (QStringList{u"-"_s, u"-"_s, u"-"_s}));
            for (int row = 0; row < 3; ++row) {
                EXPECT_FALSE(d.list()->rowColour(row).isValid());
                EXPECT_EQ(d.list()->rowCategory(row), 0);
            }
            EXPECT_EQ(d.status(u"Insgesamt"_s), u"Insgesamt: 3"_s);
            d.click(u"Abbruch"_s);
        },
    });

    EXPECT_FALSE(result.has_value());
}

TEST_F(SelectionDialogTest, AbbruchCancelsEvenWithRowsSelected) {
    app.learner.profile().records = {record(1, answers(1, 0, 0)), record(2, answers(0, 0, 1))};
    const auto result = run({
        [](const Dialog& d) { d.click(u"Alle"_s); },
        [](const Dialog& d) {
            EXPECT_TRUE(d.okEnabled());
            d.click(u"Abbruch"_s);
        },
    });
    EXPECT_FALSE(result.has_value());
}

TEST_F(SelectionDialogTest, CloseBoxKeepsTheSelectionEvenOfOneRow) {
    app.learner.profile().records = {record(1, answers(1, 0, 0)), record(2, answers(0, 0, 1)),
                                     record(3, answers(2, 0, 1))};
    const auto result = run({
        [](const Dialog& d) { d.click(u"Sortiere nach Falschen"_s); },
        [](const Dialog& d) { d.clickRow(1); },
        [](const Dialog& d) {
            EXPECT_FALSE(d.okEnabled());
            d.top()->close();
        },
    });
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, (std::vector<qint32>{3}));
}

TEST_F(SelectionDialogTest, EmptyProfileGivesAnEmptyListThatCannotBeConfirmed) {
    const auto result = run({
        [](const Dialog& d) {
            EXPECT_EQ(d.list()->rowCount(), 0);
            EXPECT_EQ(d.status(u"Insgesamt"_s), u"Insgesamt: 0"_s);
            d.click(u"Alle"_s);
        },
        [](const Dialog& d) {
            EXPECT_EQ(d.status(u"Selektiert"_s), u"Selektiert: 0"_s);
            EXPECT_FALSE(d.okEnabled());
            d.click(u"Abbruch"_s);
        },
    });
    EXPECT_FALSE(result.has_value());
}
