// The one shape of the program's dialogs: a window of fixed size at a fixed place, OK, cancel and
// a close box, run modally until it is answered.
#include "ui/dialog.h"

#include "ui/modal.h"
#include "ui/toolkit.h"

#include <QVariant>
#include <QWidget>

namespace ui {

namespace {

// Where a dialog's top-level widget keeps its window id, for whoever finds it among all windows.
constexpr char DialogIdProperty[] = "renkariDialogId";

}  // namespace

DialogWindow::DialogWindow(Toolkit& toolkit, const DialogShape& shape)
    : toolkit_(toolkit),
      shape_(shape),
      window_(toolkit, shape.windowId, shape.title, shape.clientSize,
              WindowOptions{false, shape.frame == Frame::Resizable, true}) {
    if (shape.frame == Frame::Fixed) {
        // A dialog of fixed size offers neither minimising nor maximising.
        window_.top()->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                      Qt::WindowCloseButtonHint);
    }
    window_.moveTo(shape.position);
    window_.top()->setProperty(DialogIdProperty, shape.windowId);
}

int dialogIdOf(const QWidget* top) {
    const QVariant id = top->property(DialogIdProperty);
    return id.isValid() ? id.toInt() : NoWindow;
}

void DialogWindow::runLoop(const std::function<void()>& accept,
                           const std::function<void(const Event&)>& handle) {
    const auto accepting = [&] {
        accept();
        return ModalStep::Close;
    };
    runModal(toolkit_, window_, [&](const Event& event) {
        if (event.kind == EventKind::Close) {
            return shape_.closeBox == CloseBox::Accepts ? accepting() : ModalStep::Close;
        }
        if (event.kind != EventKind::Control) {
            return ModalStep::Continue;
        }
        if (shape_.okButton >= 0 && event.control == shape_.okButton) {
            return accepting();
        }
        if (shape_.cancelButton >= 0 && event.control == shape_.cancelButton) {
            return ModalStep::Close;
        }
        handle(event);
        return ModalStep::Continue;
    });
    window_.top()->hide();
}

}  // namespace ui
