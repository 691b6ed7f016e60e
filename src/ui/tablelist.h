// A list of many rows: the rows live in a table model and only the visible ones are drawn, so
// thousands of them are filled and re-sorted at once.
#pragma once

#include "ui/widgets.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QTableView>

#include <functional>
#include <optional>
#include <vector>

namespace ui {

struct TableColumn {
    QString caption;
    int width = 80;
    // The column's cells in a font of their own, such as kanji large enough to read; the
    // list's font when none. Every row is made tall enough for the largest.
    std::optional<QFont> font = std::nullopt;
};

struct TableListOptions {
    bool multiSelect = true;
    bool gridLines = true;
};

struct TableRow {
    QStringList cells;
    // An invalid colour leaves the list's own background.
    QColor background;
    // What the program selects rows by, and what it reads back from a selected row.
    int category = 0;
    qint64 data = 0;
    // Said of the row beyond its cells: its tooltip, and what a screen reader reads after the
    // first cell.
    QString note = {};
};

// Rows whose cells are asked for only when they are drawn, for lists as long as a whole file:
// a row of strings each would cost several times what the caller keeps them in.
struct TableCells {
    int rowCount = 0;
    std::function<QString(int row, int column)> text;
    // An invalid colour leaves the list's own background; no function, no colours.
    std::function<QColor(int row)> background;
};

class TableModel;

// Rows are selected whole and sorted only by the program, never by the header. A left click
// (reported when the button is released, once the selection is settled) posts LeftClick with the
// row under the mouse; a key that may have moved the selection posts Change.
class TableList : public QTableView {
public:
    TableList(QWidget* parent, EventTarget target, const std::vector<TableColumn>& columns,
              TableListOptions options);
    ~TableList() override;

    // Replaces every row at once; no row stays selected.
    void setRows(std::vector<TableRow> rows);
    // Replaces the columns and every row at once.
    void setColumns(const std::vector<TableColumn>& columns, std::vector<TableRow> rows = {});
    // The same with rows that are asked for their cells; such rows have no category or data
    // and are not selected by setRowsSelected.
    void setColumns(const std::vector<TableColumn>& columns, TableCells cells);
    void setCells(TableCells cells);
    int rowCount() const;
    int columnCount() const;
    QString columnCaption(int column) const;
    QString cellText(int row, int column) const;
    QColor rowColour(int row) const;
    int rowCategory(int row) const;
    qint64 rowData(int row) const;

    // selectAll() and clearSelection() are the view's own.
    void setRowsSelected(const std::function<bool(const TableRow&)>& which, bool selected);
    void setCategorySelected(int category, bool selected);
    // Top to bottom.
    std::vector<int> selectedRows() const;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::vector<bool> selectionMask() const;
    void useColumns(const std::vector<TableColumn>& columns);

    EventTarget target_;
    // A child of the view, which releases it.
    TableModel* model_ = nullptr;
};

}  // namespace ui
