// A list of many rows in a table model, drawn row by row as they come into view.
#include "ui/tablelist.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace ui {

class TableModel : public QAbstractTableModel {
public:
    TableModel(QObject* parent, QStringList captions)
        : QAbstractTableModel(parent), captions_(std::move(captions)) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        if (parent.isValid()) {
            return 0;
        }
        return cells_.text ? cells_.rowCount : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(captions_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (index.row() < 0 || index.row() >= rowCount()) {
            return {};
        }
        if (role == Qt::DisplayRole) {
            return text(index.row(), index.column());
        }
        if (role == Qt::BackgroundRole) {
            const QColor colour = background(index.row());
            return colour.isValid() ? QVariant(QBrush(colour)) : QVariant();
        }
        if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) {
            const TableRow* r = rowAt(index.row());
            return r != nullptr && !r->note.isEmpty() ? QVariant(r->note) : QVariant();
        }
        if (role == Qt::AccessibleTextRole && index.column() == 0) {
            const TableRow* r = rowAt(index.row());
            return r != nullptr && !r->note.isEmpty()
                       ? QVariant(text(index.row(), 0) + QStringLiteral(", ") + r->note)
                       : QVariant();
        }
        if (role == Qt::FontRole && index.column() < static_cast<int>(fonts_.size()) &&
            fonts_[static_cast<size_t>(index.column())]) {
            return *fonts_[static_cast<size_t>(index.column())];
        }
        return {};
    }

    QString text(int row, int column) const {
        if (row < 0 || row >= rowCount() || column < 0) {
            return {};
        }
        if (cells_.text) {
            return cells_.text(row, column);
        }
        const TableRow& r = rows_[static_cast<size_t>(row)];
        return column < r.cells.size() ? r.cells[column] : QString();
    }

    QColor background(int row) const {
        if (row < 0 || row >= rowCount()) {
            return {};
        }
        if (cells_.text) {
            return cells_.background ? cells_.background(row) : QColor();
        }
        return rows_[static_cast<size_t>(row)].background;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < captions_.size()) {
            return captions_[section];
        }
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                               : Qt::NoItemFlags;
    }

    void setRows(std::vector<TableRow> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        cells_ = {};
        endResetModel();
    }

    void setCells(TableCells cells) {
        beginResetModel();
        rows_.clear();
        cells_ = std::move(cells);
        endResetModel();
    }

    void setColumns(QStringList captions, std::vector<std::optional<QFont>> fonts,
                    std::vector<TableRow> rows) {
        beginResetModel();
        captions_ = std::move(captions);
        fonts_ = std::move(fonts);
        rows_ = std::move(rows);
        cells_ = {};
        endResetModel();
    }

    void setColumns(QStringList captions, std::vector<std::optional<QFont>> fonts,
                    TableCells cells) {
        beginResetModel();
        captions_ = std::move(captions);
        fonts_ = std::move(fonts);
        rows_.clear();
        cells_ = std::move(cells);
        endResetModel();
    }

    const TableRow* rowAt(int row) const {
        return row >= 0 && static_cast<size_t>(row) < rows_.size()
                   ? &rows_[static_cast<size_t>(row)]
                   : nullptr;
    }
    const std::vector<TableRow>& rows() const { return rows_; }

private:
    QStringList captions_;
    std::vector<TableRow> rows_;
    TableCells cells_;
    std::vector<std::optional<QFont>> fonts_;
};

TableList::TableList(QWidget* parent, EventTarget target, const std::vector<TableColumn>& columns,
                     TableListOptions options)
    : QTableView(parent), target_(target) {
    model_ = new TableModel(this, {});
    setModel(model_);

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(options.multiSelect ? QAbstractItemView::ExtendedSelection
                                         : QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(options.gridLines);
    setWordWrap(false);
    setSortingEnabled(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);

    QHeaderView* top = horizontalHeader();
    top->setSectionsClickable(false);
    top->setHighlightSections(false);
    top->setSectionsMovable(false);
    top->setStretchLastSection(false);
    top->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* side = verticalHeader();
    side->hide();
    side->setSectionResizeMode(QHeaderView::Fixed);
    side->setMinimumSectionSize(1);
    setColumns(columns);

    // The selection is what the dialog around the list is about; it stays in full colour when
    // a button or check box has the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
}

TableList::~TableList() = default;

void TableList::setRows(std::vector<TableRow> rows) {
    model_->setRows(std::move(rows));
}

namespace {

QStringList captionsOf(const std::vector<TableColumn>& columns) {
    QStringList captions;
    for (const TableColumn& column : columns) {
        captions << column.caption;
    }
    return captions;
}

std::vector<std::optional<QFont>> fontsOf(const std::vector<TableColumn>& columns) {
    std::vector<std::optional<QFont>> fonts;
    for (const TableColumn& column : columns) {
        fonts.push_back(column.font);
    }
    return fonts;
}

}  // namespace

void TableList::useColumns(const std::vector<TableColumn>& columns) {
    int rowHeight = fontMetrics().height();
    for (size_t i = 0; i < columns.size(); ++i) {
        horizontalHeader()->resizeSection(static_cast<int>(i), columns[i].width);
        if (columns[i].font) {
            rowHeight = std::max(rowHeight, QFontMetrics(*columns[i].font).height());
        }
    }
    // One height for every row: the view then never measures rows, however many there are.
    verticalHeader()->setDefaultSectionSize(rowHeight + 4);
}

void TableList::setColumns(const std::vector<TableColumn>& columns, std::vector<TableRow> rows) {
    model_->setColumns(captionsOf(columns), fontsOf(columns), std::move(rows));
    useColumns(columns);
}

void TableList::setColumns(const std::vector<TableColumn>& columns, TableCells cells) {
    model_->setColumns(captionsOf(columns), fontsOf(columns), std::move(cells));
    useColumns(columns);
}

void TableList::setCells(TableCells cells) {
    model_->setCells(std::move(cells));
}

int TableList::rowCount() const {
    return model_->rowCount();
}

int TableList::columnCount() const {
    return model_->columnCount();
}

QString TableList::columnCaption(int column) const {
    return model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

QString TableList::cellText(int row, int column) const {
    return model_->text(row, column);
}

QColor TableList::rowColour(int row) const {
    return model_->background(row);
}

int TableList::rowCategory(int row) const {
    const TableRow* r = model_->rowAt(row);
    return r != nullptr ? r->category : 0;
}

qint64 TableList::rowData(int row) const {
    const TableRow* r = model_->rowAt(row);
    return r != nullptr ? r->data : 0;
}

std::vector<bool> TableList::selectionMask() const {
    std::vector<bool> mask(static_cast<size_t>(rowCount()), false);
    // Ranges may overlap while a selection is being extended; the mask counts each row once.
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = std::max(range.top(), 0); row <= range.bottom() && row < rowCount(); ++row) {
            mask[static_cast<size_t>(row)] = true;
        }
    }
    return mask;
}

void TableList::setRowsSelected(const std::function<bool(const TableRow&)>& which, bool selected) {
    const std::vector<TableRow>& rows = model_->rows();
    std::vector<bool> mask = selectionMask();
    bool changed = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (mask[i] != selected && which(rows[i])) {
            mask[i] = selected;
            changed = true;
        }
    }
    if (!changed) {
        return;
    }
    // The whole selection is handed over anew, as its fewest runs of rows. The selection model
    // compares an old and a new selection range by range, every old one with every new one,
    // which takes a tenth of a second for a few thousand runs; clearing first leaves it nothing
    // to compare.
    QItemSelection runs;
    const int lastColumn = model_->columnCount() - 1;
    for (size_t first = 0; first < mask.size();) {
        if (!mask[first]) {
            ++first;
            continue;
        }
        size_t last = first;
        while (last + 1 < mask.size() && mask[last + 1]) {
            ++last;
        }
        runs.append(QItemSelectionRange(model_->index(static_cast<int>(first), 0),
                                        model_->index(static_cast<int>(last), lastColumn)));
        first = last + 1;
    }
    selectionModel()->clearSelection();
    selectionModel()->select(runs, QItemSelectionModel::Select);
}

void TableList::setCategorySelected(int category, bool selected) {
    setRowsSelected([category](const TableRow& row) { return row.category == category; }, selected);
}

std::vector<int> TableList::selectedRows() const {
    const std::vector<bool> mask = selectionMask();
    std::vector<int> rows;
    for (size_t i = 0; i < mask.size(); ++i) {
        if (mask[i]) {
            rows.push_back(static_cast<int>(i));
        }
    }
    return rows;
}

void TableList::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        target_.post(Action::LeftClick, indexAt(event->position().toPoint()).row());
    }
}

void TableList::keyPressEvent(QKeyEvent* event) {
    QTableView::keyPressEvent(event);
    target_.post(Action::Change, currentIndex().row());
}

}  // namespace ui
