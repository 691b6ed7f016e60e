// A window whose controls are addressed by id and sit at fixed pixel positions.
#pragma once

#include "ui/events.h"
#include "ui/tablelist.h"
#include "ui/widgets.h"
#include "ui/writingcanvas.h"

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;
class QWidget;

namespace ui {

class Toolkit;

struct WindowOptions {
    bool menuBar = false;
    bool resizable = true;
    bool modal = false;
};

class Window {
public:
    // The status bar takes this much of the client area's bottom.
    static constexpr int StatusBarHeight = 22;

    Window(Toolkit& toolkit, int windowId, const QString& title, QSize clientSize,
           WindowOptions options = {});
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    int id() const { return id_; }
    QWidget* top() const { return top_.get(); }
    QWidget* client() const { return client_; }

    void show();
    void centreOnScreen();
    void moveTo(QPoint screenPosition);
    void setTitle(const QString& title);

    // Control creation. parent = nullptr means the client area.
    QLabel* addLabel(int id, QWidget* parent, QRect rect, const QString& text,
                     Qt::Alignment alignment = Qt::AlignLeft, bool bordered = false);
    QLineEdit* addTextField(int id, QWidget* parent, QRect rect, const QString& text = {},
                            bool readOnly = false, bool bordered = true);
    QPlainTextEdit* addEditor(int id, QWidget* parent, QRect rect, const QString& text = {},
                              bool readOnly = false);
    QPushButton* addButton(int id, QWidget* parent, QRect rect, const QString& text);
    QPushButton* addPictureButton(int id, QWidget* parent, QRect rect, const QImage& picture);
    QCheckBox* addCheckBox(int id, QWidget* parent, QRect rect, const QString& text);
    // Option buttons created one after another form a group until another kind of control
    // is created.
    QRadioButton* addOption(int id, QWidget* parent, QRect rect, const QString& text);
    QSpinBox* addSpin(int id, QWidget* parent, QRect rect, int minimum, int maximum);
    // A drop-down choice among items; the user's choice posts Change with the item's index.
    QComboBox* addChoice(int id, QWidget* parent, QRect rect, const QStringList& items);
    ReportList* addReportList(int id, QWidget* parent, QRect rect,
                              const std::vector<ReportColumn>& columns,
                              ReportListOptions options = {});
    // For lists of thousands of rows, which ReportList would fill too slowly.
    TableList* addTableList(int id, QWidget* parent, QRect rect,
                            const std::vector<TableColumn>& columns, TableListOptions options = {});
    ImageView* addImage(int id, QWidget* parent, QRect rect, bool bordered);
    // A bordered image the mouse, a pen or a finger writes on; its strokes come as events.
    WritingCanvas* addWritingCanvas(int id, QWidget* parent, QRect rect);
    QGroupBox* addFrame(int id, QWidget* parent, QRect rect, const QString& caption);
    QWidget* addContainer(int id, QWidget* parent, QRect rect);
    TabPanel* addPanel(int id, QWidget* parent, QRect rect, const QStringList& pages);
    // A vertically scrolling area; returns the inner widget's parent area.
    QScrollArea* addScrollArea(int id, QWidget* parent, QRect rect, QSize inner, int step);
    ImageGrid* addImageGrid(int id, QScrollArea* area, int columns, int cellSize);
    void addStatusBar(const std::vector<int>& fieldWidths);

    // Menus: entries post menu events carrying their id.
    QMenu* addMenu(const QString& title);
    QMenu* addSubMenu(QMenu* menu, const QString& title);
    void addMenuItem(QMenu* menu, int menuId, const QString& text);
    void addMenuSeparator(QMenu* menu);
    QMenu* createContextMenu();
    void addShortcut(const QKeySequence& key, int menuId);
    void showContextMenu(QMenu* menu, QPoint globalPosition);

    // Controls made only when first needed, as pages nobody opens would cost every start: build
    // runs when a control not yet made is first looked up, or at buildPending(). The controls it
    // makes take the place in the keyboard's focus order they would have taken if made now.
    void addLater(std::function<void()> build);
    void buildPending() const;

    // Control access.
    QWidget* control(int id) const;
    // The control if it is made already; never makes the controls that wait.
    QWidget* madeControl(int id) const;
    template <class T>
    T* get(int id) const {
        return dynamic_cast<T*>(control(id));
    }
    void setText(int id, const QString& text);
    QString text(int id) const;
    void setVisible(int id, bool visible);
    bool isVisible(int id) const;
    void setEnabled(int id, bool enabled);
    bool isEnabled(int id) const;
    // Text fields and editors: read-only ones can be selected and copied from, not typed into.
    void setReadOnly(int id, bool readOnly);
    bool isReadOnly(int id) const;
    void setChecked(int id, bool checked);
    bool isChecked(int id) const;
    // Program-made changes of a spin field report no change event; only the user's do.
    void setSpinValue(int id, int value);
    int spinValue(int id) const;
    void setSpinRange(int id, int minimum, int maximum);
    // Program-made choices report no change event either; -1 when the choice box has none.
    void setChoice(int id, int index);
    int choice(int id) const;
    void setImage(int id, const QImage& image);
    void setToolTip(int id, const QString& text);
    void setStatusText(int field, const QString& text);
    QString statusText(int field) const;
    QMenu* menuBarMenu(int index) const;
    // Where a control lies in the client area, however deep it sits in pages and containers.
    QRect placeInClient(int id) const;

    // The whole window as the user sees it, menu bar included.
    QImage grab() const;
    bool saveScreenshot(const QString& path) const;

private:
    template <class T>
    T* place(int id, QWidget* parent, QRect rect, T* widget);
    EventTarget target(int control) const { return EventTarget{&toolkit_, id_, control}; }
    // What a menu entry or shortcut does: post a menu event carrying menuId.
    std::function<void()> menuPoster(int menuId) const;
    void endOptionGroup() { optionGroup_ = nullptr; }

    Toolkit& toolkit_;
    int id_;
    std::unique_ptr<QWidget> top_;
    QWidget* client_ = nullptr;
    std::unordered_map<int, QWidget*> controls_;
    std::vector<QLabel*> statusFields_;
    std::vector<QMenu*> menus_;
    QButtonGroup* optionGroup_ = nullptr;
    struct PendingControls {
        std::function<void()> build;
        // The widget last in the focus order when the build was put off.
        QPointer<QWidget> focusAnchor;
    };
    mutable std::vector<PendingControls> pending_;
};

}  // namespace ui
