// A window whose controls are addressed by id and sit at fixed pixel positions.
#include "ui/window.h"

#include "ui/toolkit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>

#include <utility>

namespace ui {

namespace {

// The close box asks the program's loop; the window itself never closes on its own.
template <class Base>
class TopLevel : public Base {
public:
    explicit TopLevel(EventTarget target) : target_(target) {}

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        Event close;
        close.kind = EventKind::Close;
        close.window = target_.window;
        target_.toolkit->post(close);
    }

private:
    EventTarget target_;
};

}  // namespace

Window::Window(Toolkit& toolkit, int windowId, const QString& title, QSize clientSize,
               WindowOptions options)
    : toolkit_(toolkit), id_(windowId) {
    const EventTarget self{&toolkit_, id_, -1};
    if (options.menuBar) {
        auto* main = new TopLevel<QMainWindow>(self);
        top_.reset(main);
        client_ = new QWidget(main);
        client_->setFixedSize(clientSize);
        main->setCentralWidget(client_);
    } else {
        top_.reset(new TopLevel<QWidget>(self));
        client_ = top_.get();
        client_->resize(clientSize);
    }
    top_->setWindowTitle(title);
    if (options.modal) {
        top_->setWindowModality(Qt::ApplicationModal);
    }
    if (!options.resizable) {
        top_->setFixedSize(top_->sizeHint().expandedTo(clientSize));
    }
}

Window::~Window() = default;

void Window::show() {
    top_->show();
}

void Window::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QSize size = top_->sizeHint().expandedTo(client_->size());
    top_->move(screen->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
}

void Window::moveTo(QPoint screenPosition) {
    top_->move(screenPosition);
}

void Window::setTitle(const QString& title) {
    top_->setWindowTitle(title);
}

template <class T>
T* Window::place(int id, QWidget* parent, QRect rect, T* widget) {
    if (parent == nullptr) {
        parent = client_;
    }
    widget->setParent(parent);
    widget->setGeometry(rect);
    widget->show();
    if (id >= 0) {
        controls_[id] = widget;
        // Lets a report on a window's layout name the control it is about.
        widget->setObjectName(QStringLiteral("id %1").arg(id));
    }
    if (!std::is_same_v<T, QRadioButton>) {
        endOptionGroup();
    }
    return widget;
}

QLabel* Window::addLabel(int id, QWidget* parent, QRect rect, const QString& text,
                         Qt::Alignment alignment, bool bordered) {
    auto* label = new QLabel(text);
    label->setAlignment(alignment | Qt::AlignVCenter);
    if (bordered) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
    }
    return place(id, parent, rect, label);
}

QLineEdit* Window::addTextField(int id, QWidget* parent, QRect rect, const QString& text,
                                bool readOnly, bool bordered) {
    auto* field = new QLineEdit(text);
    field->setReadOnly(readOnly);
    field->setFrame(bordered);
    const EventTarget events = target(id);
    QObject::connect(field, &QLineEdit::textEdited, field,
                     [events] { events.post(Action::Change); });
    return place(id, parent, rect, field);
}

QPlainTextEdit* Window::addEditor(int id, QWidget* parent, QRect rect, const QString& text,
                                  bool readOnly) {
    auto* editor = new QPlainTextEdit(text);
    editor->setReadOnly(readOnly);
    if (readOnly) {
        editor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    return place(id, parent, rect, editor);
}

QPushButton* Window::addButton(int id, QWidget* parent, QRect rect, const QString& text) {
    auto* button = new QPushButton(text);
    const EventTarget events = target(id);
    QObject::connect(button, &QPushButton::clicked, button,
                     [events] { events.post(Action::LeftClick); });
    return place(id, parent, rect, button);
}

QPushButton* Window::addPictureButton(int id, QWidget* parent, QRect rect, const QImage& picture) {
    QPushButton* button = addButton(id, parent, rect, QString());
    if (!picture.isNull()) {
        button->setIcon(QIcon(QPixmap::fromImage(picture)));
        button->setIconSize(QSize(std::min(rect.width(), 32) - 4, std::min(rect.height(), 32) - 4));
    }
    return button;
}

QCheckBox* Window::addCheckBox(int id, QWidget* parent, QRect rect, const QString& text) {
    auto* box = new QCheckBox(text);
    const EventTarget events = target(id);
    QObject::connect(box, &QCheckBox::clicked, box, [events] { events.post(Action::LeftClick); });
    return place(id, parent, rect, box);
}

QRadioButton* Window::addOption(int id, QWidget* parent, QRect rect, const QString& text) {
    auto* option = new QRadioButton(text);
    if (optionGroup_ == nullptr) {
        optionGroup_ = new QButtonGroup(client_);
    }
    optionGroup_->addButton(option);
    const EventTarget events = target(id);
    QObject::connect(option, &QRadioButton::clicked, option,
                     [events] { events.post(Action::LeftClick); });
    return place(id, parent, rect, option);
}

QSpinBox* Window::addSpin(int id, QWidget* parent, QRect rect, int minimum, int maximum) {
    auto* spin = new QSpinBox;
    spin->setRange(minimum, maximum);
    const EventTarget events = target(id);
    QObject::connect(spin, &QSpinBox::valueChanged, spin,
                     [events] { events.post(Action::Change); });
    return place(id, parent, rect, spin);
}

QComboBox* Window::addChoice(int id, QWidget* parent, QRect rect, const QStringList& items) {
    auto* box = new QComboBox;
    box->addItems(items);
    const EventTarget events = target(id);
    QObject::connect(box, &QComboBox::currentIndexChanged, box,
                     [events](int index) { events.post(Action::Change, index); });
    return place(id, parent, rect, box);
}

ReportList* Window::addReportList(int id, QWidget* parent, QRect rect,
                                  const std::vector<ReportColumn>& columns,
                                  ReportListOptions options) {
    return place(id, parent, rect, new ReportList(nullptr, target(id), columns, options));
}

TableList* Window::addTableList(int id, QWidget* parent, QRect rect,
                                const std::vector<TableColumn>& columns, TableListOptions options) {
    return place(id, parent, rect, new TableList(nullptr, target(id), columns, options));
}

ImageView* Window::addImage(int id, QWidget* parent, QRect rect, bool bordered) {
    return place(id, parent, rect, new ImageView(nullptr, target(id), bordered));
}

WritingCanvas* Window::addWritingCanvas(int id, QWidget* parent, QRect rect) {
    return place(id, parent, rect, new WritingCanvas(nullptr, target(id)));
}

QGroupBox* Window::addFrame(int id, QWidget* parent, QRect rect, const QString& caption) {
    auto* frame = new QGroupBox(caption);
    QGroupBox* placed = place(id, parent, rect, frame);
    placed->lower();
    return placed;
}

QWidget* Window::addContainer(int id, QWidget* parent, QRect rect) {
    return place(id, parent, rect, new QWidget);
}

TabPanel* Window::addPanel(int id, QWidget* parent, QRect rect, const QStringList& pages) {
    auto* panel = new TabPanel(nullptr, target(id), pages);
    place(id, parent, rect, panel);
    panel->resize(rect.size());
    return panel;
}

QScrollArea* Window::addScrollArea(int id, QWidget* parent, QRect rect, QSize inner, int step) {
    auto* area = new QScrollArea;
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    area->setWidgetResizable(false);
    auto* innerWidget = new QWidget;
    innerWidget->resize(inner);
    area->setWidget(innerWidget);
    area->verticalScrollBar()->setSingleStep(step);
    return place(id, parent, rect, area);
}

ImageGrid* Window::addImageGrid(int id, QScrollArea* area, int columns, int cellSize) {
    const QSize inner = area->widget() != nullptr ? area->widget()->size() : QSize();
    auto* grid = new ImageGrid(nullptr, target(id), columns, cellSize);
    grid->resize(columns * cellSize, inner.height());
    area->setWidget(grid);
    controls_[id] = grid;
    endOptionGroup();
    return grid;
}

void Window::addStatusBar(const std::vector<int>& fieldWidths) {
    auto* bar = new QWidget(client_);
    bar->setGeometry(0, client_->height() - Window::StatusBarHeight, client_->width(),
                     Window::StatusBarHeight);
    int x = 0;
    for (int width : fieldWidths) {
        auto* field = new QLabel(bar);
        field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        field->setGeometry(x, 1, width, Window::StatusBarHeight - 2);
        field->setObjectName(QStringLiteral("status field %1").arg(statusFields_.size()));
        x += width;
        statusFields_.push_back(field);
    }
    bar->show();
    endOptionGroup();
}

QMenu* Window::addMenu(const QString& title) {
    auto* main = dynamic_cast<QMainWindow*>(top_.get());
    if (main == nullptr) {
        return nullptr;
    }
    QMenu* menu = main->menuBar()->addMenu(title);
    menus_.push_back(menu);
    return menu;
}

QMenu* Window::addSubMenu(QMenu* menu, const QString& title) {
    return menu->addMenu(title);
}

void Window::addMenuItem(QMenu* menu, int menuId, const QString& text) {
    QAction* action = menu->addAction(text);
    QObject::connect(action, &QAction::triggered, action, menuPoster(menuId));
}

std::function<void()> Window::menuPoster(int menuId) const {
    return [toolkit = &toolkit_, window = id_, menuId] {
        Event event;
        event.kind = EventKind::Menu;
        event.window = window;
        event.menuId = menuId;
        toolkit->post(event);
    };
}

void Window::addMenuSeparator(QMenu* menu) {
    menu->addSeparator();
}

QMenu* Window::createContextMenu() {
    return new QMenu(top_.get());
}

void Window::addShortcut(const QKeySequence& key, int menuId) {
    auto* shortcut = new QShortcut(key, top_.get());
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, shortcut, menuPoster(menuId));
}

void Window::showContextMenu(QMenu* menu, QPoint globalPosition) {
    if (menu != nullptr) {
        menu->popup(globalPosition);
    }
}

void Window::addLater(std::function<void()> build) {
    QWidget* anchor = top_->previousInFocusChain();
    while (anchor != top_.get() && anchor->focusPolicy() == Qt::NoFocus) {
        anchor = anchor->previousInFocusChain();
    }
    pending_.push_back({std::move(build), anchor != top_.get() ? anchor : nullptr});
}

void Window::buildPending() const {
    // Builders may look up controls of their own, which must not start them again.
    std::vector<PendingControls> pending = std::exchange(pending_, {});
    for (PendingControls& controls : pending) {
        QWidget* last = top_->previousInFocusChain();
        controls.build();
        QWidget* previous = controls.focusAnchor;
        if (previous == nullptr || last == top_->previousInFocusChain()) {
            continue;
        }
        // The new controls were appended to the focus order; they move back to their place. The
        // parts of a compound control, such as a spin box's field, move with it.
        std::vector<QWidget*> made;
        for (QWidget* widget = last->nextInFocusChain(); widget != top_.get();
             widget = widget->nextInFocusChain()) {
            const bool part = !made.empty() && made.back()->isAncestorOf(widget);
            if (widget->focusPolicy() != Qt::NoFocus && !part) {
                made.push_back(widget);
            }
        }
        for (QWidget* widget : made) {
            QWidget::setTabOrder(previous, widget);
            previous = widget;
        }
    }
}

QWidget* Window::control(int id) const {
    auto found = controls_.find(id);
    if (found == controls_.end() && !pending_.empty()) {
        buildPending();
        found = controls_.find(id);
    }
    return found != controls_.end() ? found->second : nullptr;
}

QWidget* Window::madeControl(int id) const {
    const auto found = controls_.find(id);
    return found != controls_.end() ? found->second : nullptr;
}

void Window::setText(int id, const QString& text) {
    QWidget* widget = control(id);
    if (auto* label = dynamic_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* field = dynamic_cast<QLineEdit*>(widget)) {
        // Setting a text lays it out again even when it is the one shown; the card sets all its
        // texts on every refresh.
        if (field->text() != text) {
            field->setText(text);
        }
    } else if (auto* editor = dynamic_cast<QPlainTextEdit*>(widget)) {
        if (editor->toPlainText() != text) {
            editor->setPlainText(text);
        }
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* frame = dynamic_cast<QGroupBox*>(widget)) {
        frame->setTitle(text);
    } else if (widget != nullptr) {
        widget->setWindowTitle(text);
    }
}

QString Window::text(int id) const {
    QWidget* widget = control(id);
    if (auto* label = dynamic_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* field = dynamic_cast<QLineEdit*>(widget)) {
        return field->text();
    }
    if (auto* editor = dynamic_cast<QPlainTextEdit*>(widget)) {
        return editor->toPlainText();
    }
    if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* frame = dynamic_cast<QGroupBox*>(widget)) {
        return frame->title();
    }
    if (auto* box = dynamic_cast<QComboBox*>(widget)) {
        return box->currentText();
    }
    return {};
}

void Window::setVisible(int id, bool visible) {
    if (QWidget* widget = control(id)) {
        widget->setVisible(visible);
    }
}

bool Window::isVisible(int id) const {
    const QWidget* widget = control(id);
    // Hidden by the program, regardless of whether the window itself is on screen yet.
    return widget != nullptr && !widget->isHidden();
}

void Window::setEnabled(int id, bool enabled) {
    if (QWidget* widget = control(id)) {
        widget->setEnabled(enabled);
    }
}

bool Window::isEnabled(int id) const {
    const QWidget* widget = control(id);
    return widget != nullptr && widget->isEnabled();
}

void Window::setReadOnly(int id, bool readOnly) {
    if (auto* field = get<QLineEdit>(id)) {
        field->setReadOnly(readOnly);
    } else if (auto* editor = get<QPlainTextEdit>(id)) {
        editor->setReadOnly(readOnly);
        if (readOnly) {
            // Read, not written: the text can still be selected, also by keyboard, and copied.
            editor->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                            Qt::TextSelectableByKeyboard);
        }
    }
}

bool Window::isReadOnly(int id) const {
    if (const auto* field = get<QLineEdit>(id)) {
        return field->isReadOnly();
    }
    if (const auto* editor = get<QPlainTextEdit>(id)) {
        return editor->isReadOnly();
    }
    return false;
}

void Window::setChecked(int id, bool checked) {
    if (auto* button = get<QAbstractButton>(id)) {
        const QSignalBlocker blocker(button);
        button->setChecked(checked);
    }
}

bool Window::isChecked(int id) const {
    const auto* button = get<QAbstractButton>(id);
    return button != nullptr && button->isChecked();
}

void Window::setSpinValue(int id, int value) {
    if (auto* spin = get<QSpinBox>(id)) {
        const QSignalBlocker blocker(spin);
        spin->setValue(value);
    }
}

int Window::spinValue(int id) const {
    const auto* spin = get<QSpinBox>(id);
    return spin != nullptr ? spin->value() : 0;
}

void Window::setSpinRange(int id, int minimum, int maximum) {
    if (auto* spin = get<QSpinBox>(id)) {
        const QSignalBlocker blocker(spin);
        spin->setRange(minimum, maximum);
    }
}

void Window::setChoice(int id, int index) {
    if (auto* box = get<QComboBox>(id)) {
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(index);
    }
}

int Window::choice(int id) const {
    const auto* box = get<QComboBox>(id);
    return box != nullptr ? box->currentIndex() : -1;
}

void Window::setImage(int id, const QImage& image) {
    QWidget* widget = control(id);
    if (auto* view = dynamic_cast<ImageView*>(widget)) {
        if (image.isNull()) {
            view->clearImage();
        } else {
            view->setImage(image);
        }
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        button->setIcon(image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image)));
    }
}

void Window::setToolTip(int id, const QString& text) {
    if (QWidget* widget = control(id)) {
        widget->setToolTip(text);
    }
}

void Window::setStatusText(int field, const QString& text) {
    if (field >= 0 && static_cast<size_t>(field) < statusFields_.size()) {
        statusFields_[static_cast<size_t>(field)]->setText(text);
    }
}

QString Window::statusText(int field) const {
    if (field >= 0 && static_cast<size_t>(field) < statusFields_.size()) {
        return statusFields_[static_cast<size_t>(field)]->text();
    }
    return {};
}

QMenu* Window::menuBarMenu(int index) const {
    return index >= 0 && static_cast<size_t>(index) < menus_.size()
               ? menus_[static_cast<size_t>(index)]
               : nullptr;
}

QRect Window::placeInClient(int id) const {
    const QWidget* widget = control(id);
    if (widget == nullptr) {
        return {};
    }
    return QRect(widget->mapTo(client_, QPoint(0, 0)), widget->size());
}

QImage Window::grab() const {
    return top_->grab().toImage();
}

bool Window::saveScreenshot(const QString& path) const {
    return grab().save(path, "PNG");
}

}  // namespace ui
