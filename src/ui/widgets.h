// Widgets whose mouse actions and changes become events in the program's queue.
#pragma once

#include "ui/events.h"

#include <QFont>
#include <QImage>
#include <QLabel>
#include <QTreeWidget>
#include <QWidget>

#include <deque>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

class QFrame;
class QTabBar;

namespace ui {

class Toolkit;

// Where a widget's events go: the queue, and the window and control they name.
struct EventTarget {
    Toolkit* toolkit = nullptr;
    int window = 0;
    int control = -1;
    void post(Action action, int item = -1, const QString& text = {}) const;
};

// An image display that reports clicks on it.
class ImageView : public QLabel {
public:
    ImageView(QWidget* parent, EventTarget target, bool bordered);
    void setImage(const QImage& image);
    void clearImage();
    // The image shown last, for tests and for copying frames.
    const QImage& image() const { return image_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    const EventTarget& eventTarget() const { return target_; }

private:
    EventTarget target_;
    QImage image_;
};

struct ReportColumn {
    QString caption;
    int width = 80;
    // The column's cells in a font of their own, such as kanji large enough to read; the
    // list's font when none.
    std::optional<QFont> font = std::nullopt;
};

struct ReportListOptions {
    bool checkBoxes = false;
    bool multiSelect = false;
    bool gridLines = false;
    // A drag started on a row carries the row's first cell as text, for other lists to copy.
    bool dragText = false;
    // Text dropped on the list (copied, never moved) is posted as Drop with that text; the
    // program decides what becomes of it.
    bool acceptDrops = false;
    // A cell too long for its column goes on in more lines, its row as tall as they need.
    bool wrapCells = false;
};

// A multi-column list with per-row background colours, row data and optional check boxes.
class ReportList : public QTreeWidget {
public:
    ReportList(QWidget* parent, EventTarget target, const std::vector<ReportColumn>& columns,
               ReportListOptions options);
    int addRow(const QStringList& cells, qint64 data = 0);
    void clearRows();
    int rowCount() const { return topLevelItemCount(); }
    QString cellText(int row, int column) const;
    qint64 rowData(int row) const;
    void setRowColour(int row, const QColor& colour);
    QColor rowColour(int row) const;
    void setRowChecked(int row, bool checked);
    bool isRowChecked(int row) const;
    int selectedRow() const;
    void selectRow(int row);
    std::vector<int> selectedRows() const;
    // What a drag started now would carry: the first cell of the selected row, "" when none.
    QString dragText() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool acceptsDrop(QDropEvent* event) const;

    EventTarget target_;
    ReportListOptions options_;
    std::vector<std::optional<QFont>> columnFonts_;
};

// Tab bar and pages in fixed geometry: the page area starts 5 pixels right of and 27 pixels
// below the panel's corner on every style, which mouse coordinates on the pages rely on.
class TabPanel : public QWidget {
public:
    static constexpr int PageOffsetX = 5;
    static constexpr int PageOffsetY = 27;

    TabPanel(QWidget* parent, EventTarget target, const QStringList& pages);
    QWidget* page(int index) const { return pages_.at(static_cast<size_t>(index)); }
    int currentPage() const;
    // Shows the page without reporting a change, as a program-made switch is no user action.
    void showPage(int index);
    void setPageCaption(int index, const QString& caption);
    // Told the page about to be shown, whoever shows it, before it is.
    void beforeShowingPage(std::function<void(int index)> prepare);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void activate(int index);
    void layoutPages();

    EventTarget target_;
    std::function<void(int)> prepare_;
    QTabBar* tabBar_ = nullptr;
    QFrame* frame_ = nullptr;
    std::vector<QWidget*> pages_;
};

// A grid of equal square cells whose images are asked for only when a cell becomes visible.
class ImageGrid : public QWidget {
public:
    using CellImage = std::function<QImage(int cell)>;

    ImageGrid(QWidget* parent, EventTarget target, int columns, int cellSize);
    // Cells flagged hidden are left blank.
    void setCells(int cellCount, std::vector<bool> hidden, CellImage image);
    // Forgets the drawn cells, for when what they show has changed.
    void invalidate();
    // The grid's height in rows of cells, as far as its scroll area lets the user scroll.
    void setRowCount(int rows);
    int columns() const { return columns_; }
    int cellAt(QPoint point) const;
    QRect cellRect(int cell) const;
    bool isCellHidden(int cell) const;
    int cellCount() const { return cellCount_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const QImage& cachedImage(int cell);

    // Enough for several screens of cells; older ones are drawn again when they return.
    static constexpr size_t CacheLimit = 256;

    EventTarget target_;
    int columns_;
    int cellSize_;
    int cellCount_ = 0;
    std::vector<bool> hidden_;
    CellImage image_;
    std::unordered_map<int, QImage> cache_;
    std::deque<int> cacheOrder_;
};

}  // namespace ui
