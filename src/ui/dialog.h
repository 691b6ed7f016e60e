// The one shape of the program's dialogs: a window of fixed size at a fixed place, OK, cancel and
// a close box, run modally until it is answered.
#pragma once

#include "ui/events.h"
#include "ui/window.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

namespace ui {

class Toolkit;

// What the close box means; each dialog says so, most of them cancel.
enum class CloseBox { Cancels, Accepts };

enum class Frame {
    // A fixed size, and of the title bar's buttons only the close box.
    Fixed,
    // A fixed size, with the buttons the window system puts on any window.
    FixedPlain,
    // A frame the user can drag to another size.
    Resizable,
};

// What a dialog is besides its controls; position is on the screen.
struct DialogShape {
    DialogShape(int windowId, QString title, QSize clientSize, QPoint position)
        : windowId(windowId), title(std::move(title)), clientSize(clientSize), position(position) {}
    // The controls that answer the dialog.
    DialogShape& answeredBy(int ok, int cancel = -1) {
        okButton = ok;
        cancelButton = cancel;
        return *this;
    }
    DialogShape& closing(CloseBox meaning) {
        closeBox = meaning;
        return *this;
    }
    DialogShape& framed(Frame kind) {
        frame = kind;
        return *this;
    }

    int windowId;
    QString title;
    QSize clientSize;
    QPoint position;
    CloseBox closeBox = CloseBox::Cancels;
    Frame frame = Frame::Fixed;
    // -1 for none.
    int okButton = -1;
    int cancelButton = -1;
};

class DialogWindow {
public:
    DialogWindow(Toolkit& toolkit, const DialogShape& shape);
    virtual ~DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    Window& window() { return window_; }
    const Window& window() const { return window_; }

protected:
    // Shows the window application-modal and serves its events until OK, cancel or the close box
    // answer it; accept runs, the window still open, when they accept it, and every other control
    // event goes to handle. The window is hidden again on return. A wait with nothing left to
    // happen (a test's wait hook had no more to do) cancels.
    void runLoop(const std::function<void()>& accept,
                 const std::function<void(const Event&)>& handle);

private:
    Toolkit& toolkit_;
    DialogShape shape_;
    Window window_;
};

// The window id of the dialog whose top-level widget top is; NoWindow for any other widget.
int dialogIdOf(const QWidget* top);

// A dialog answering with a Result: accepted() reads it from the controls while the window is
// still open; handle() serves every control event that does not answer the dialog.
template <class Result>
class Dialog : public DialogWindow {
public:
    using DialogWindow::DialogWindow;

    // Modal. The result when the dialog is accepted; nullopt when it is cancelled.
    std::optional<Result> run() {
        std::optional<Result> result;
        runLoop([&] { result = accepted(); }, [this](const Event& event) { handle(event); });
        return result;
    }

protected:
    virtual Result accepted() = 0;
    virtual void handle(const Event&) {}
};

}  // namespace ui
