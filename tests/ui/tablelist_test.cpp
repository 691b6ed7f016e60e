// Tests of the large list: rows handed over whole, selection by category and by the mouse, and
// the clicks it reports.
#include "ui/tablelist.h"
#include "ui/toolkit.h"
#include "ui/window.h"

#include "ui/uitesting.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

enum : int { TestWindow = 9, List = 1 };

// Rows named by their number, categories 0, 1, 2, 0, 1, 2, ...; every other one coloured.
std::vector<ui::TableRow> numberedRows(int count) {
    std::vector<ui::TableRow> rows;
    for (int i = 0; i < count; ++i) {
        rows.push_back({{QString::number(i), u"x"_s},
                        i % 2 == 0 ? QColor(0xFF, 0xC4, 0xC4) : QColor(),
                        i % 3,
                        1000 + i});
    }
    return rows;
}

class TableListTest : public testing::Test {
protected:
    TableListTest() : window(toolkit, TestWindow, u"Liste"_s, QSize(300, 300)) {
        list = window.addTableList(List, nullptr, {10, 10, 200, 250},
                                   {{u"Kanji"_s, 50}, {u"Richtig"_s, 60}});
        window.show();
    }

    ui::Toolkit toolkit;
    ui::Window window;
    ui::TableList* list = nullptr;
};

}  // namespace

TEST_F(TableListTest, RowsShowTheirTextsColoursAndNothingToCheckOrSort) {
    list->setRows(numberedRows(6));

    EXPECT_EQ(window.get<ui::TableList>(List), list);
    ASSERT_EQ(list->rowCount(), 6);
    EXPECT_EQ(list->cellText(4, 0), u"4"_s);
    EXPECT_EQ(list->cellText(4, 1), u"x"_s);
    EXPECT_EQ(list->cellText(6, 0), QString());
    EXPECT_EQ(list->rowColour(2), QColor(0xFF, 0xC4, 0xC4));
    EXPECT_FALSE(list->rowColour(3).isValid());
    EXPECT_EQ(list->rowCategory(5), 2);
    EXPECT_EQ(list->rowData(5), 1005);

    // What the view draws comes from the same rows.
    const QAbstractItemModel* model = list->model();
    EXPECT_EQ(model->columnCount(), 2);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), u"Richtig"_s);
    EXPECT_EQ(model->index(2, 1).data().toString(), u"x"_s);
    EXPECT_EQ(model->index(2, 1).data(Qt::BackgroundRole).value<QBrush>().color(),
              QColor(0xFF, 0xC4, 0xC4));
    EXPECT_FALSE(model->index(3, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model->index(0, 0).data(Qt::CheckStateRole).isValid());
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);

    EXPECT_EQ(list->columnWidth(0), 50);
    EXPECT_EQ(list->columnWidth(1), 60);
    EXPECT_TRUE(list->showGrid());
    EXPECT_FALSE(list->isSortingEnabled());
    EXPECT_FALSE(list->horizontalHeader()->sectionsClickable());
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->palette().color(QPalette::Inactive, QPalette::Highlight),
              list->palette().color(QPalette::Active, QPalette::Highlight));
}

TEST_F(TableListTest, NewColumnsReplaceColumnsAndRowsTogether) {
    list->setRows(numberedRows(6));
    list->selectAll();
    list->setColumns({{u"Spalte 0"_s, 100}, {u"Spalte 1"_s, 120}, {u"Spalte 2"_s, 80}},
                     {{{u"a"_s, u"b"_s, u"c"_s}, {}, 0, 0}});
    ASSERT_EQ(list->columnCount(), 3);
    EXPECT_EQ(list->columnCaption(2), u"Spalte 2"_s);
    EXPECT_EQ(list->columnCaption(3), QString());
    EXPECT_EQ(list->columnWidth(1), 120);
    EXPECT_EQ(list->columnWidth(2), 80);
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->model()->index(0, 2).data().toString(), u"c"_s);
    EXPECT_TRUE(list->selectedRows().empty());

    list->setColumns({});
    EXPECT_EQ(list->columnCount(), 0);
    EXPECT_EQ(list->rowCount(), 0);
}

TEST_F(TableListTest, CategoriesSelectAndDeselectOnlyTheirRowsAndNewRowsStartUnselected) {
    list->setRows(numberedRows(9));

    list->setCategorySelected(1, true);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{1, 4, 7}));
    list->setCategorySelected(2, true);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{1, 2, 4, 5, 7, 8}));
    list->setCategorySelected(1, false);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{2, 5, 8}));
    list->setRowsSelected([](const ui::TableRow& row) { return row.data >= 1005; }, true);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{2, 5, 6, 7, 8}));

    list->clearSelection();
    EXPECT_TRUE(list->selectedRows().empty());
    list->selectAll();
    EXPECT_EQ(list->selectedRows().size(), 9u);

    list->setRows(numberedRows(4));
    EXPECT_TRUE(list->selectedRows().empty());
    list->setCategorySelected(0, true);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{0, 3}));
    // No list has been asked about the program's own selections.
    EXPECT_TRUE(drain(toolkit).empty());
}

TEST_F(TableListTest, ClicksSelectLikeTheUserExpectsAndReportTheirRow) {
    list->setRows(numberedRows(5));
    list->setCategorySelected(1, true);

    clickTableRow(list, 2);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{2}));
    clickTableRow(list, 4, Qt::ControlModifier);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{2, 4}));
    // Shift extends from the row clicked last.
    clickTableRow(list, 0, Qt::ShiftModifier);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{0, 1, 2, 3, 4}));
    // A category taken out of a mouse-made selection leaves the other rows the mouse chose.
    list->setCategorySelected(1, false);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{0, 2, 3}));
    clickTableRow(list, 3, Qt::ControlModifier);
    EXPECT_EQ(list->selectedRows(), (std::vector<int>{0, 2}));

    const std::vector<ui::Event> events = drain(toolkit);
    ASSERT_EQ(events.size(), 4u);
    for (const ui::Event& event : events) {
        EXPECT_EQ(event.window, int(TestWindow));
        EXPECT_EQ(event.control, int(List));
        EXPECT_EQ(event.action, ui::Action::LeftClick);
    }
    EXPECT_EQ(events[0].item, 2);
    EXPECT_EQ(events[1].item, 4);
    EXPECT_EQ(events[2].item, 0);
    EXPECT_EQ(events[3].item, 3);
}

TEST_F(TableListTest, ThousandsOfRowsShareOneHeight) {
    list->setRows(numberedRows(13000));
    ASSERT_EQ(list->rowCount(), 13000);
    const int height = list->rowHeight(0);
    EXPECT_GT(height, 0);
    EXPECT_EQ(list->rowHeight(12999), height);
    list->scrollToBottom();
    EXPECT_EQ(list->rowViewportPosition(12999) + height, list->viewport()->height());
    list->setCategorySelected(2, true);
    EXPECT_EQ(list->selectedRows().size(), 4333u);
    EXPECT_EQ(list->selectedRows().back(), 12998);
}
