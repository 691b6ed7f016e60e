// Widgets whose mouse actions and changes become events in the program's queue.
#include "ui/widgets.h"

#include "ui/toolkit.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QIcon>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTabBar>

namespace ui {

void EventTarget::post(Action action, int item, const QString& text) const {
    if (toolkit == nullptr) {
        return;
    }
    Event event;
    event.kind = EventKind::Control;
    event.window = window;
    event.control = control;
    event.action = action;
    event.item = item;
    event.text = text;
    toolkit->post(event);
}

namespace {

Action clickAction(const QMouseEvent* event, bool doubleClick) {
    if (event->button() == Qt::RightButton) {
        return doubleClick ? Action::RightDoubleClick : Action::RightClick;
    }
    if (event->button() == Qt::LeftButton) {
        return doubleClick ? Action::LeftDoubleClick : Action::LeftClick;
    }
    return Action::Other;
}

}  // namespace

ImageView::ImageView(QWidget* parent, EventTarget target, bool bordered)
    : QLabel(parent), target_(target) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (bordered) {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    }
}

void ImageView::setImage(const QImage& image) {
    // The same picture again is not converted and drawn again.
    if (image == image_) {
        return;
    }
    image_ = image;
    setPixmap(QPixmap::fromImage(image));
}

void ImageView::clearImage() {
    image_ = QImage();
    clear();
}

void ImageView::mousePressEvent(QMouseEvent* event) {
    target_.post(clickAction(event, false));
    QLabel::mousePressEvent(event);
}

void ImageView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The base class would hand the double click on as one more press, i.e. a second click.
    target_.post(clickAction(event, true));
    event->accept();
}

namespace {

// Qt measures every header caption in bold, to leave room for a highlighted caption, and so loads
// a second face of the interface font on every start. A report list never highlights its
// captions; a face's bold and regular forms share their heights, and the columns have set widths.
class RegularCaptionHeader : public QHeaderView {
public:
    // Takes over the settings of the header it replaces.
    explicit RegularCaptionHeader(const QHeaderView& replaced)
        : QHeaderView(Qt::Horizontal, replaced.parentWidget()) {
        setDefaultAlignment(replaced.defaultAlignment());
        setSectionsMovable(replaced.sectionsMovable());
        setStretchLastSection(replaced.stretchLastSection());
        setHighlightSections(replaced.highlightSections());
        setSectionsClickable(replaced.sectionsClickable());
    }

protected:
    QSize sectionSizeFromContents(int logicalIndex) const override {
        const QAbstractItemModel* items = model();
        if (items == nullptr) {
            return QHeaderView::sectionSizeFromContents(logicalIndex);
        }
        if (const QVariant size = items->headerData(logicalIndex, orientation(), Qt::SizeHintRole);
            size.isValid()) {
            return size.toSize();
        }
        QStyleOptionHeader option;
        initStyleOption(&option);
        option.section = logicalIndex;
        option.text = items->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        option.icon =
            items->headerData(logicalIndex, orientation(), Qt::DecorationRole).value<QIcon>();
        if (isSortIndicatorShown()) {
            option.sortIndicator = QStyleOptionHeader::SortDown;
        }
        return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
    }
};

// Cells that go on in more lines where their column is too narrow. A tree view asks a row's
// height without the column's width, so the text would be measured as one line.
class WrappingDelegate : public QStyledItemDelegate {
public:
    explicit WrappingDelegate(QTreeView* view) : QStyledItemDelegate(view), view_(view) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem inColumn = option;
        inColumn.rect = QRect(0, 0, view_->columnWidth(index.column()), 1);
        return QStyledItemDelegate::sizeHint(inColumn, index);
    }

private:
    QTreeView* view_;
};

}  // namespace

ReportList::ReportList(QWidget* parent, EventTarget target,
                       const std::vector<ReportColumn>& columns, ReportListOptions options)
    : QTreeWidget(parent), target_(target), options_(options) {
    setHeader(new RegularCaptionHeader(*header()));
    setRootIsDecorated(false);
    if (options.wrapCells) {
        setUniformRowHeights(false);
        setWordWrap(true);
        setItemDelegate(new WrappingDelegate(this));
    } else {
        setUniformRowHeights(true);
    }
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(options.multiSelect ? QAbstractItemView::ExtendedSelection
                                         : QAbstractItemView::SingleSelection);
    setColumnCount(static_cast<int>(columns.size()));
    QStringList captions;
    for (const ReportColumn& column : columns) {
        captions << column.caption;
    }
    setHeaderLabels(captions);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    for (size_t i = 0; i < columns.size(); ++i) {
        setColumnWidth(static_cast<int>(i), columns[i].width);
        columnFonts_.push_back(columns[i].font);
    }
    if (options.gridLines) {
        setStyleSheet(QStringLiteral("QTreeView::item { border: 1px solid #d0d0d0; }"));
    }
    if (options.dragText) {
        setDragEnabled(true);
        setDragDropMode(QAbstractItemView::DragOnly);
    }
    if (options.acceptDrops) {
        setAcceptDrops(true);
        viewport()->setAcceptDrops(true);
        setDropIndicatorShown(false);
        setDragDropMode(options.dragText ? QAbstractItemView::DragDrop
                                         : QAbstractItemView::DropOnly);
    }
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        target_.post(Action::LeftClick, indexOfTopLevelItem(item));
    });
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        target_.post(Action::LeftDoubleClick, indexOfTopLevelItem(item));
    });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (column == 0 && options_.checkBoxes) {
            target_.post(Action::Change, indexOfTopLevelItem(item));
        }
    });
}

int ReportList::addRow(const QStringList& cells, qint64 data) {
    const QSignalBlocker blocker(this);
    auto* item = new QTreeWidgetItem(cells);
    item->setData(0, Qt::UserRole, data);
    for (size_t column = 0; column < columnFonts_.size(); ++column) {
        if (columnFonts_[column]) {
            item->setFont(static_cast<int>(column), *columnFonts_[column]);
        }
    }
    if (options_.checkBoxes) {
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
    }
    addTopLevelItem(item);
    return topLevelItemCount() - 1;
}

void ReportList::clearRows() {
    const QSignalBlocker blocker(this);
    clear();
}

QString ReportList::cellText(int row, int column) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr ? item->text(column) : QString();
}

qint64 ReportList::rowData(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr ? item->data(0, Qt::UserRole).toLongLong() : 0;
}

void ReportList::setRowColour(int row, const QColor& colour) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (item == nullptr) {
        return;
    }
    const QSignalBlocker blocker(this);
    for (int column = 0; column < columnCount(); ++column) {
        item->setBackground(column, colour);
    }
}

QColor ReportList::rowColour(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr ? item->background(0).color() : QColor();
}

void ReportList::setRowChecked(int row, bool checked) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (item == nullptr || !options_.checkBoxes) {
        return;
    }
    const QSignalBlocker blocker(this);
    item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

bool ReportList::isRowChecked(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr && item->checkState(0) == Qt::Checked;
}

int ReportList::selectedRow() const {
    const QList<QTreeWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : indexOfTopLevelItem(items.first());
}

void ReportList::selectRow(int row) {
    QTreeWidgetItem* item = topLevelItem(row);
    const QSignalBlocker blocker(this);
    clearSelection();
    if (item != nullptr) {
        item->setSelected(true);
        setCurrentItem(item);
    }
}

std::vector<int> ReportList::selectedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (topLevelItem(row)->isSelected()) {
            rows.push_back(row);
        }
    }
    return rows;
}

QString ReportList::dragText() const {
    const int row = selectedRow();
    return row >= 0 ? cellText(row, 0) : QString();
}

void ReportList::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QTreeWidget::mouseDoubleClickEvent(event);
        return;
    }
    // The base class would report a right double click as a double click on the item, which the
    // program takes for the left button's.
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    target_.post(Action::RightDoubleClick, item != nullptr ? indexOfTopLevelItem(item) : -1);
    event->accept();
}

void ReportList::startDrag(Qt::DropActions) {
    const QString text = dragText();
    if (!options_.dragText || text.isEmpty()) {
        return;
    }
    auto* data = new QMimeData;
    data->setText(text);
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

bool ReportList::acceptsDrop(QDropEvent* event) const {
    return options_.acceptDrops && event->mimeData() != nullptr && event->mimeData()->hasText() &&
           (event->possibleActions() & Qt::CopyAction) != 0;
}

// The item view's own handlers would move rows of its model; a drop here only reports its text.
void ReportList::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void ReportList::dragMoveEvent(QDragMoveEvent* event) {
    if (acceptsDrop(event)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ReportList::dropEvent(QDropEvent* event) {
    if (!acceptsDrop(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    target_.post(Action::Drop, -1, event->mimeData()->text());
}

void ReportList::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (event->button() == Qt::RightButton) {
        target_.post(Action::RightClick, item != nullptr ? indexOfTopLevelItem(item) : -1);
    } else if (event->button() == Qt::LeftButton && item == nullptr) {
        // A click beside the rows is a click on the list too, e.g. to open what fills an empty
        // one; clicks on rows are reported once they are complete.
        target_.post(Action::LeftClick, -1);
    }
}

TabPanel::TabPanel(QWidget* parent, EventTarget target, const QStringList& pages)
    : QWidget(parent), target_(target) {
    tabBar_ = new QTabBar(this);
    tabBar_->setDrawBase(false);
    tabBar_->setExpanding(false);
    for (const QString& caption : pages) {
        tabBar_->addTab(caption);
    }
    tabBar_->move(2, 0);
    tabBar_->resize(tabBar_->sizeHint().width(), PageOffsetY - 3);
    frame_ = new QFrame(this);
    frame_->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame_->setStyleSheet(QStringLiteral("QFrame { color: #a0a0a0; }"));
    frame_->lower();
    tabBar_->raise();
    for (int i = 0; i < pages.size(); ++i) {
        auto* page = new QWidget(this);
        // Pages are opaque: whatever lies beneath the panel stays hidden.
        page->setAutoFillBackground(true);
        page->hide();
        pages_.push_back(page);
    }
    connect(tabBar_, &QTabBar::currentChanged, this, [this](int index) {
        activate(index);
        target_.post(Action::Change, index);
    });
    layoutPages();
    activate(0);
}

void TabPanel::layoutPages() {
    // Pages fill the panel below the tabs with a 5-pixel margin to the panel's frame.
    frame_->setGeometry(0, PageOffsetY - 4, width(), height() - PageOffsetY + 4);
    for (QWidget* page : pages_) {
        page->setGeometry(PageOffsetX, PageOffsetY, width() - 2 * PageOffsetX,
                          height() - PageOffsetY - PageOffsetX);
    }
}

int TabPanel::currentPage() const {
    return tabBar_->currentIndex();
}

void TabPanel::showPage(int index) {
    const QSignalBlocker blocker(tabBar_);
    tabBar_->setCurrentIndex(index);
    activate(index);
}

void TabPanel::setPageCaption(int index, const QString& caption) {
    tabBar_->setTabText(index, caption);
    tabBar_->resize(tabBar_->sizeHint().width(), PageOffsetY - 3);
}

void TabPanel::beforeShowingPage(std::function<void(int index)> prepare) {
    prepare_ = std::move(prepare);
}

void TabPanel::activate(int index) {
    if (prepare_) {
        prepare_(index);
    }
    for (size_t i = 0; i < pages_.size(); ++i) {
        pages_[i]->setVisible(static_cast<int>(i) == index);
    }
}

void TabPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPages();
}

ImageGrid::ImageGrid(QWidget* parent, EventTarget target, int columns, int cellSize)
    : QWidget(parent), target_(target), columns_(columns), cellSize_(cellSize) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageGrid::setCells(int cellCount, std::vector<bool> hidden, CellImage image) {
    cellCount_ = cellCount;
    hidden_ = std::move(hidden);
    image_ = std::move(image);
    invalidate();
}

void ImageGrid::invalidate() {
    cache_.clear();
    cacheOrder_.clear();
    update();
}

const QImage& ImageGrid::cachedImage(int cell) {
    const auto found = cache_.find(cell);
    if (found != cache_.end()) {
        return found->second;
    }
    if (cacheOrder_.size() >= CacheLimit) {
        cache_.erase(cacheOrder_.front());
        cacheOrder_.pop_front();
    }
    cacheOrder_.push_back(cell);
    return cache_.emplace(cell, image_(cell)).first->second;
}

void ImageGrid::setRowCount(int rows) {
    resize(columns_ * cellSize_, rows * cellSize_);
}

int ImageGrid::cellAt(QPoint point) const {
    if (point.x() < 0 || point.y() < 0 || point.x() >= columns_ * cellSize_) {
        return -1;
    }
    return (point.y() / cellSize_) * columns_ + point.x() / cellSize_;
}

QRect ImageGrid::cellRect(int cell) const {
    return QRect((cell % columns_) * cellSize_, (cell / columns_) * cellSize_, cellSize_,
                 cellSize_);
}

bool ImageGrid::isCellHidden(int cell) const {
    return cell < 0 || cell >= cellCount_ ||
           (static_cast<size_t>(cell) < hidden_.size() && hidden_[static_cast<size_t>(cell)]);
}

void ImageGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, palette().window());
    if (!image_) {
        return;
    }
    const int firstRow = std::max(0, area.top() / cellSize_);
    const int lastRow = area.bottom() / cellSize_;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = 0; column < columns_; ++column) {
            const int cell = row * columns_ + column;
            if (isCellHidden(cell)) {
                continue;
            }
            const QImage& image = cachedImage(cell);
            if (!image.isNull()) {
                painter.drawImage(cellRect(cell).topLeft(), image);
            }
        }
    }
}

void ImageGrid::mousePressEvent(QMouseEvent* event) {
    const int cell = cellAt(event->position().toPoint());
    if (cell >= 0) {
        target_.post(clickAction(event, false), cell);
    }
    QWidget::mousePressEvent(event);
}

}  // namespace ui
