// Tests of the controls' way into the event queue, the grid's cell geometry and the dialog shape.
#include "ui/widgets.h"
#include "ui/dialog.h"
#include "ui/modal.h"
#include "ui/toolkit.h"
#include "ui/window.h"

#include "ui/uitesting.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabBar>
#include <QTreeWidget>

#include <functional>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

enum : int { TestWindow = 7 };
enum : int { Panel = 1, Button, Spin, Area, Grid, Choice };

void pressOn(QWidget* widget, QPoint local, Qt::MouseButton button) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(local), QPointF(widget->mapToGlobal(local)),
                      button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
}

class WindowEvents : public testing::Test {
protected:
    WindowEvents()
        : window(toolkit, TestWindow, u"Test"_s, QSize(400, 300), ui::WindowOptions{true}) {
        menu = window.addMenu(u"Datei"_s);
        window.addMenuItem(menu, 42, u"Speichern"_s);
        panel = window.addPanel(Panel, nullptr, {5, 5, 390, 250}, {u"A"_s, u"B"_s});
        window.addButton(Button, panel->page(0), {10, 10, 80, 25}, u"Los"_s);
        window.addSpin(Spin, panel->page(0), {10, 50, 60, 25}, 1, 10);
        window.addChoice(Choice, panel->page(0), {10, 90, 120, 25},
                         {u"UTF-8"_s, u"Shift_JIS"_s, u"EUC-JP"_s});
        QScrollArea* area =
            window.addScrollArea(Area, panel->page(1), {0, 0, 350, 200}, {320, 160}, 10);
        grid = window.addImageGrid(Grid, area, 4, 80);
        grid->setCells(6, {false, true}, [](int) { return QImage(); });
    }

    ui::Toolkit toolkit;
    ui::Window window;
    QMenu* menu = nullptr;
    ui::TabPanel* panel = nullptr;
    ui::ImageGrid* grid = nullptr;
};

}  // namespace

TEST_F(WindowEvents, UserActionsArriveInOrderWithTheirIds) {
    window.show();
    window.get<QPushButton>(Button)->click();
    window.get<QSpinBox>(Spin)->setValue(4);
    window.get<QComboBox>(Choice)->setCurrentIndex(2);
    menu->actions().first()->trigger();
    window.top()->close();

    const std::vector<ui::Event> events = drain(toolkit);
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].kind, ui::EventKind::Control);
    EXPECT_EQ(events[0].window, TestWindow);
    EXPECT_EQ(events[0].control, int(Button));
    EXPECT_EQ(events[0].action, ui::Action::LeftClick);
    EXPECT_EQ(events[1].control, int(Spin));
    EXPECT_EQ(events[1].action, ui::Action::Change);
    EXPECT_EQ(events[2].control, int(Choice));
    EXPECT_EQ(events[2].action, ui::Action::Change);
    EXPECT_EQ(events[2].item, 2);
    EXPECT_EQ(window.choice(Choice), 2);
    EXPECT_EQ(window.text(Choice), u"EUC-JP"_s);
    EXPECT_EQ(events[3].kind, ui::EventKind::Menu);
    EXPECT_EQ(events[3].menuId, 42);
    EXPECT_EQ(events[4].kind, ui::EventKind::Close);
    EXPECT_EQ(events[4].window, TestWindow);
    // The close box only asks; the program decides.
    EXPECT_TRUE(window.top()->isVisible());
}

TEST_F(WindowEvents, ProgramMadeChangesReportNothing) {
    window.setSpinValue(Spin, 7);
    window.setSpinRange(Spin, 1, 3);
    window.setChoice(Choice, 1);
    panel->showPage(1);
    window.setText(Button, u"Weiter"_s);
    EXPECT_TRUE(drain(toolkit).empty());
    EXPECT_EQ(window.spinValue(Spin), 3);
    EXPECT_EQ(window.text(Choice), u"Shift_JIS"_s);
    EXPECT_EQ(panel->currentPage(), 1);
    EXPECT_TRUE(panel->page(0)->isHidden());
    EXPECT_FALSE(panel->page(1)->isHidden());
}

TEST_F(WindowEvents, TabBarChoiceShowsThePageAndReportsIt) {
    panel->findChild<QTabBar*>()->setCurrentIndex(1);
    const std::vector<ui::Event> events = drain(toolkit);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].control, int(Panel));
    EXPECT_EQ(events[0].item, 1);
    EXPECT_EQ(panel->currentPage(), 1);
    EXPECT_FALSE(panel->page(1)->isHidden());
    // Pages start 5 right of and 27 below the panel's corner.
    EXPECT_EQ(panel->page(0)->geometry().topLeft(),
              QPoint(ui::TabPanel::PageOffsetX, ui::TabPanel::PageOffsetY));
}

TEST_F(WindowEvents, VisibilityIsWhatTheProgramSetNotWhetherItIsOnScreen) {
    EXPECT_TRUE(window.isVisible(Button));
    window.setVisible(Button, false);
    EXPECT_FALSE(window.isVisible(Button));
    window.setEnabled(Spin, false);
    EXPECT_FALSE(window.isEnabled(Spin));
    EXPECT_FALSE(window.isVisible(12345));
    EXPECT_FALSE(window.isEnabled(12345));
}

TEST(LaterControls, AreMadeOnceWhenFirstAskedForOrShownAndKeepTheirPlaceInTheFocusOrder) {
    enum : int { Later = 20, End };
    for (const bool byLookup : {true, false}) {
        ui::Toolkit toolkit;
        ui::Window window(toolkit, TestWindow, u"Test"_s, QSize(400, 300));
        ui::TabPanel* panel = window.addPanel(Panel, nullptr, {5, 5, 390, 250}, {u"A"_s, u"B"_s});
        QPushButton* first = window.addButton(Button, panel->page(0), {10, 10, 80, 25}, u"Los"_s);
        int builds = 0;
        window.addLater([&] {
            ++builds;
            window.addSpin(Later, panel->page(1), {10, 10, 60, 25}, 1, 10);
        });
        panel->beforeShowingPage([&](int page) {
            if (page == 1) {
                window.buildPending();
            }
        });
        QPushButton* end = window.addButton(End, nullptr, {300, 260, 80, 25}, u"Ende"_s);
        panel->showPage(0);
        EXPECT_EQ(builds, 0);

        if (byLookup) {
            window.setSpinValue(Later, 4);
        }
        panel->showPage(1);
        panel->showPage(0);
        panel->showPage(1);
        EXPECT_EQ(builds, 1);
        EXPECT_EQ(window.spinValue(Later), byLookup ? 4 : 1);

        std::vector<QWidget*> order;
        for (QWidget* widget = first; widget != window.top(); widget = widget->nextInFocusChain()) {
            if (widget->focusPolicy() != Qt::NoFocus) {
                order.push_back(widget);
            }
        }
        QSpinBox* later = window.get<QSpinBox>(Later);
        ASSERT_NE(later, nullptr);
        ASSERT_EQ(order.size(), 4u);
        EXPECT_EQ(order[0], first);
        EXPECT_EQ(order[1], later);
        EXPECT_TRUE(later->isAncestorOf(order[2]));
        EXPECT_EQ(order[3], end);
    }
}

TEST(ReportLists, LookAsQtsOwnListWithTheSameColumns) {
    ui::Toolkit toolkit;
    const std::vector<ui::ReportColumn> columns{
        {u"Kanji"_s, 35}, {u"Akt"_s, 30}, {u"ON"_s, 30}, {u"Kun"_s, 30}, {u"Bed"_s, 30}};
    ui::ReportList list(nullptr, ui::EventTarget{&toolkit, TestWindow, 1}, columns, {});
    QTreeWidget plain;
    plain.setRootIsDecorated(false);
    plain.setUniformRowHeights(true);
    plain.setAllColumnsShowFocus(true);
    plain.setSelectionBehavior(QAbstractItemView::SelectRows);
    plain.header()->setSectionsMovable(false);
    plain.setHeaderLabels({u"Kanji"_s, u"Akt"_s, u"ON"_s, u"Kun"_s, u"Bed"_s});
    plain.header()->setStretchLastSection(false);
    for (int i = 0; i < 5; ++i) {
        plain.setColumnWidth(i, columns[static_cast<size_t>(i)].width);
    }
    for (QTreeWidget* tree : {static_cast<QTreeWidget*>(&list), &plain}) {
        tree->resize(165, 120);
        tree->addTopLevelItem(new QTreeWidgetItem(QStringList{u"漢"_s, u"1"_s}));
    }
    EXPECT_EQ(list.header()->sizeHint().height(), plain.header()->sizeHint().height());
    EXPECT_EQ(list.grab().toImage(), plain.grab().toImage());
}

TEST_F(WindowEvents, GridClicksNameTheirCell) {
    pressOn(grid, grid->cellRect(5).center(), Qt::LeftButton);
    pressOn(grid, QPoint(79, 0), Qt::RightButton);
    // Right of the last column there is no cell.
    pressOn(grid, QPoint(330, 10), Qt::LeftButton);

    const std::vector<ui::Event> events = drain(toolkit);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].control, int(Grid));
    EXPECT_EQ(events[0].action, ui::Action::LeftClick);
    EXPECT_EQ(events[0].item, 5);
    EXPECT_EQ(events[1].action, ui::Action::RightClick);
    EXPECT_EQ(events[1].item, 0);
}

TEST_F(WindowEvents, DoubleClickOnAnImageIsOneClickAndOneDoubleClick) {
    ui::ImageView* image = window.addImage(20, panel->page(0), {100, 10, 50, 50}, true);
    const QPointF local(10, 10);
    const QPointF global(image->mapToGlobal(QPoint(10, 10)));
    // The sequence a double click delivers: press, release, double click, release.
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, global, Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(image, &event);
    }

    const std::vector<ui::Event> events = drain(toolkit);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].control, 20);
    EXPECT_EQ(events[0].action, ui::Action::LeftClick);
    EXPECT_EQ(events[1].action, ui::Action::LeftDoubleClick);
}

// A text drag from one list onto another: the source carries its selected row's caption, the
// target reports a drop of that text (copied) and leaves its rows to the program.
TEST_F(WindowEvents, TextDraggedFromOneListDropsOntoAnother) {
    ui::ReportList* source = window.addReportList(30, panel->page(0), {10, 100, 120, 100},
                                                  {{u"Quelle"_s, 115}}, {.dragText = true});
    ui::ReportList* target = window.addReportList(31, panel->page(0), {200, 100, 120, 100},
                                                  {{u"Ziel"_s, 115}}, {.acceptDrops = true});
    ui::ReportList* plain =
        window.addReportList(32, panel->page(0), {10, 200, 120, 40}, {{u"Ohne"_s, 115}});
    source->addRow({u"Spalte 0"_s});
    source->addRow({u"Spalte 1"_s});
    EXPECT_EQ(source->dragText(), QString());
    source->selectRow(1);
    EXPECT_EQ(source->dragText(), u"Spalte 1"_s);

    const auto dropOn = [&](ui::ReportList* list, Qt::DropActions actions) {
        QMimeData data;
        data.setText(source->dragText());
        const QPointF at(20, 20);
        QDragEnterEvent enter(at.toPoint(), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &enter);
        QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &drop);
        return std::pair{enter.isAccepted(),
                         drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction};
    };
    EXPECT_EQ(dropOn(target, Qt::CopyAction | Qt::MoveAction), std::pair(true, Qt::CopyAction));
    EXPECT_EQ(dropOn(plain, Qt::CopyAction), std::pair(false, Qt::IgnoreAction));
    EXPECT_EQ(dropOn(target, Qt::MoveAction).second, Qt::IgnoreAction);

    const std::vector<ui::Event> events = drain(toolkit);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].control, 31);
    EXPECT_EQ(events[0].action, ui::Action::Drop);
    EXPECT_EQ(events[0].text, u"Spalte 1"_s);
    EXPECT_EQ(target->rowCount(), 0);
    EXPECT_EQ(source->rowCount(), 2);
}

TEST_F(WindowEvents, RightDoubleClickOnAListNamesTheRow) {
    ui::ReportList* list =
        window.addReportList(33, panel->page(0), {10, 100, 120, 100}, {{u"Import"_s, 115}});
    window.show();
    list->addRow({u"Spalte 0"_s});
    list->addRow({u"Spalte 1"_s});
    const QTreeWidgetItem* item = list->topLevelItem(1);
    const QPoint local = list->visualItemRect(item).center();
    const QPointF global(list->viewport()->mapToGlobal(local));
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::RightButton;
        QMouseEvent event(type, QPointF(local), global, Qt::RightButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(list->viewport(), &event);
    }
    const std::vector<ui::Event> events = drain(toolkit);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].action, ui::Action::RightClick);
    EXPECT_EQ(events[1].action, ui::Action::RightDoubleClick);
    EXPECT_EQ(events[1].item, 1);
    EXPECT_EQ(list->selectedRow(), 1);
}

TEST_F(WindowEvents, GridCellGeometry) {
    EXPECT_EQ(grid->cellRect(0), QRect(0, 0, 80, 80));
    EXPECT_EQ(grid->cellRect(5), QRect(80, 80, 80, 80));
    EXPECT_EQ(grid->cellAt({0, 0}), 0);
    EXPECT_EQ(grid->cellAt({79, 79}), 0);
    EXPECT_EQ(grid->cellAt({80, 0}), 1);
    EXPECT_EQ(grid->cellAt({319, 0}), 3);
    EXPECT_EQ(grid->cellAt({0, 80}), 4);
    EXPECT_EQ(grid->cellAt({320, 0}), -1);
    EXPECT_EQ(grid->cellAt({-1, 0}), -1);
    EXPECT_EQ(grid->cellAt({0, -1}), -1);
    for (int cell = 0; cell < 40; ++cell) {
        EXPECT_EQ(grid->cellAt(grid->cellRect(cell).center()), cell);
        EXPECT_EQ(grid->cellAt(grid->cellRect(cell).bottomRight()), cell);
    }
    EXPECT_FALSE(grid->isCellHidden(0));
    EXPECT_TRUE(grid->isCellHidden(1));
    EXPECT_FALSE(grid->isCellHidden(5));
    EXPECT_TRUE(grid->isCellHidden(6));
    EXPECT_TRUE(grid->isCellHidden(-1));

    grid->setRowCount(6);
    EXPECT_EQ(grid->size(), QSize(320, 480));
}

TEST(ToolkitQueue, PollNeverWaitsAndWaitHookEndsAnIdleWait) {
    ui::Toolkit toolkit;
    EXPECT_EQ(toolkit.poll().kind, ui::EventKind::None);

    int hookCalls = 0;
    toolkit.setWaitHook([&] {
        if (++hookCalls == 1) {
            ui::Event menu;
            menu.kind = ui::EventKind::Menu;
            menu.menuId = 3;
            toolkit.post(menu);
        }
    });
    const ui::Event first = toolkit.wait();
    EXPECT_EQ(first.kind, ui::EventKind::Menu);
    EXPECT_EQ(first.menuId, 3);
    const ui::Event second = toolkit.wait();
    EXPECT_EQ(second.kind, ui::EventKind::Close);
    EXPECT_EQ(second.window, 0);
    EXPECT_EQ(hookCalls, 2);
}

TEST(ToolkitQueue, ClockMouseAndTimersFollowWhatTheTestInjects) {
    ui::Toolkit toolkit;
    qint64 now = 123;
    toolkit.setClock([&] { return now; });
    toolkit.setMouse([] { return ui::MouseState{QPoint(7, 9), true}; });
    EXPECT_EQ(toolkit.ticks(), 123);
    EXPECT_EQ(toolkit.mouse().globalPos, QPoint(7, 9));
    EXPECT_TRUE(toolkit.mouse().primaryDown);

    // A timer is due by the toolkit's clock, not the wall's, and comes once, after the queue.
    toolkit.setTimer(TestWindow, Button, 1000);
    toolkit.setTimer(TestWindow, Spin, 1500);
    EXPECT_EQ(toolkit.poll().kind, ui::EventKind::None);
    now = 999;
    EXPECT_EQ(toolkit.poll().kind, ui::EventKind::None);
    now = 1600;
    ui::Event queued;
    queued.kind = ui::EventKind::Menu;
    toolkit.post(queued);
    EXPECT_EQ(toolkit.poll().kind, ui::EventKind::Menu);
    const ui::Event due = toolkit.poll();
    EXPECT_EQ(due.kind, ui::EventKind::Timer);
    EXPECT_EQ(due.window, TestWindow);
    EXPECT_EQ(due.control, Button);
    EXPECT_EQ(toolkit.poll().control, Spin);
    EXPECT_EQ(toolkit.poll().kind, ui::EventKind::None);

    // Set again it moves; cancelled it never comes.
    toolkit.setTimer(TestWindow, Button, 2000);
    toolkit.setTimer(TestWindow, Button, 3000);
    toolkit.setTimer(TestWindow, Spin, 2000);
    toolkit.cancelTimer(TestWindow, Spin);
    now = 2500;
    EXPECT_EQ(toolkit.poll().kind, ui::EventKind::None);
    now = 3000;
    EXPECT_EQ(toolkit.poll().control, Button);
}

TEST(ModalLoop, ServesOnlyItsWindowUntilTheHandlerCloses) {
    ui::Toolkit toolkit;
    ui::Window dialog(toolkit, TestWindow, u"Dialog"_s, QSize(200, 100),
                      ui::WindowOptions{false, false, true});
    QPushButton* ok = dialog.addButton(Button, nullptr, {10, 10, 60, 20}, u"OK"_s);
    ui::Event other;
    other.kind = ui::EventKind::Control;
    other.window = TestWindow + 1;
    other.control = Button;
    toolkit.post(other);
    toolkit.setWaitHook([&] { ok->click(); });

    std::vector<ui::Event> served;
    ui::runModal(toolkit, dialog, [&](const ui::Event& event) {
        served.push_back(event);
        return served.size() < 2 ? ui::ModalStep::Continue : ui::ModalStep::Close;
    });

    // The other window's event was dropped; the dialog's button was served twice, then closed.
    ASSERT_EQ(served.size(), 2u);
    for (const ui::Event& event : served) {
        EXPECT_EQ(event.window, TestWindow);
        EXPECT_EQ(event.control, Button);
    }
    EXPECT_TRUE(dialog.top()->isVisible());
    EXPECT_EQ(dialog.top()->windowModality(), Qt::ApplicationModal);
}

namespace {

enum : int { OkButton = 1, CancelButton, OtherButton };

// Answers with how many events it was handed besides its answers.
class CountingDialog : public ui::Dialog<int> {
public:
    CountingDialog(ui::Toolkit& toolkit, ui::CloseBox closeBox)
        : Dialog(toolkit, ui::DialogShape(TestWindow, u"Dialog"_s, {200, 100}, {30, 40})
                              .answeredBy(OkButton, CancelButton)
                              .closing(closeBox)) {
        for (const int id : {OkButton, CancelButton, OtherButton}) {
            window().addButton(id, nullptr, {10 + 60 * (id - 1), 10, 50, 20}, QString::number(id));
        }
    }
    void click(int id) { window().get<QPushButton>(id)->click(); }

private:
    int accepted() override { return handled_; }
    void handle(const ui::Event& event) override {
        EXPECT_EQ(event.control, OtherButton);
        ++handled_;
    }
    int handled_ = 0;
};

// Runs the dialog, acting once per wait of its loop.
std::optional<int> play(ui::CloseBox closeBox,
                        const std::vector<std::function<void(CountingDialog&)>>& steps) {
    ui::Toolkit toolkit;
    CountingDialog dialog(toolkit, closeBox);
    size_t next = 0;
    toolkit.setWaitHook([&] {
        if (next < steps.size()) {
            EXPECT_TRUE(dialog.window().top()->isVisible());
            steps[next++](dialog);
        }
    });
    const std::optional<int> answer = dialog.run();
    EXPECT_EQ(next, steps.size());
    EXPECT_FALSE(dialog.window().top()->isVisible());
    return answer;
}

}  // namespace

TEST(Dialog, AnswersByOkCancelAndTheCloseBoxAsItsShapeSays) {
    const auto click = [](int id) { return [id](CountingDialog& d) { d.click(id); }; };
    const auto closeBox = [](CountingDialog& d) { d.window().top()->close(); };
    EXPECT_EQ(
        play(ui::CloseBox::Cancels, {click(OtherButton), click(OtherButton), click(OkButton)}),
        std::optional<int>(2));
    EXPECT_EQ(play(ui::CloseBox::Accepts, {click(OtherButton), click(CancelButton)}), std::nullopt);
    EXPECT_EQ(play(ui::CloseBox::Cancels, {click(OtherButton), closeBox}), std::nullopt);
    EXPECT_EQ(play(ui::CloseBox::Accepts, {click(OtherButton), closeBox}), std::optional<int>(1));
    // A wait with nothing left to happen ends the loop unanswered.
    EXPECT_EQ(play(ui::CloseBox::Accepts, {}), std::nullopt);
}

TEST(Dialog, HasItsFixedSizeAndPlace) {
    ui::Toolkit toolkit;
    CountingDialog dialog(toolkit, ui::CloseBox::Cancels);
    QWidget* top = dialog.window().top();
    EXPECT_EQ(top->pos(), QPoint(30, 40));
    EXPECT_EQ(top->minimumSize(), top->maximumSize());
    EXPECT_FALSE(top->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(top->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(ui::dialogIdOf(top), TestWindow);
}
