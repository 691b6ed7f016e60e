// Acting inside a dialog's modal loop as the user would, for the tests and the benchmarks alike.
#pragma once

#include "ui/dialog.h"
#include "ui/toolkit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

// The nth widget of type T (a button unless told) under top whose caption is caption, as the
// user finds it; null when there is none.
template <class T = QAbstractButton>
T* captioned(const QWidget* top, const QString& caption, int nth = 0) {
    for (T* widget : top->findChildren<T*>()) {
        if (widget->text() == caption && nth-- == 0) {
            return widget;
        }
    }
    return nullptr;
}

// Each time the modal loop waits with nothing to do while the dialog of windowId is open, the
// next step acts on its window. A step posts what the dialog answers (a click, a close); a wait
// with the dialog not open, or after the last step, posts nothing and so ends the loop.
class DialogDriver {
public:
    using Step = std::function<void(QWidget* dialog)>;

    DialogDriver(ui::Toolkit& toolkit, int windowId, std::vector<Step> steps)
        : toolkit_(toolkit), windowId_(windowId), steps_(std::move(steps)) {
        toolkit_.setWaitHook([this] { onWait(); });
    }
    ~DialogDriver() { toolkit_.setWaitHook({}); }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    size_t stepsRun() const { return next_; }
    size_t stepCount() const { return steps_.size(); }
    // Waits that found the dialog not open, or all steps run.
    int strayWaits() const { return strayWaits_; }

    // The visible dialog of that window id, if one is open.
    static QWidget* openDialog(int windowId) {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && ui::dialogIdOf(widget) == windowId) {
                return widget;
            }
        }
        return nullptr;
    }

private:
    void onWait() {
        QWidget* dialog = openDialog(windowId_);
        if (dialog == nullptr || next_ == steps_.size()) {
            ++strayWaits_;
            return;
        }
        steps_[next_++](dialog);
    }

    ui::Toolkit& toolkit_;
    int windowId_;
    std::vector<Step> steps_;
    size_t next_ = 0;
    int strayWaits_ = 0;
};
