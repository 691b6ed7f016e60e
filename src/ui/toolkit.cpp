// The event queue, its timers and the injectable mouse and clock that every loop of the program
// uses.
#include "ui/toolkit.h"

#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace ui {

Toolkit::Toolkit() {
    clock_ = [timer = std::make_shared<QElapsedTimer>()]() {
        if (!timer->isValid()) {
            timer->start();
        }
        return timer->elapsed();
    };
    sleepUntilEvent_ = [] {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    };
    localNow_ = [] { return QDateTime::currentDateTime(); };
    randomSeed_ = [] { return static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()); };
    mouse_ = [] {
        // Qt reports the primary button as LeftButton, also with swapped buttons.
        return MouseState{QCursor::pos(), (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0};
    };
}

Toolkit::~Toolkit() = default;

void Toolkit::post(const Event& event) {
    queue_.push_back(event);
}

Event Toolkit::poll() {
    if (queue_.empty()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    if (queue_.empty()) {
        const Timer* next = nextTimer();
        if (next == nullptr || next->due > ticks()) {
            return {};
        }
        Event due;
        due.kind = EventKind::Timer;
        due.window = next->window;
        due.control = next->control;
        cancelTimer(due.window, due.control);
        return due;
    }
    Event event = queue_.front();
    queue_.pop_front();
    return event;
}

Event Toolkit::wait() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (queue_.empty() && waitHook_) {
        waitHook_();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (queue_.empty()) {
            Event close;
            close.kind = EventKind::Close;
            return close;
        }
    }
    while (queue_.empty()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    Event event = queue_.front();
    queue_.pop_front();
    return event;
}

qint64 Toolkit::ticks() const {
    return clock_();
}

QDateTime Toolkit::localNow() const {
    return localNow_();
}

quint32 Toolkit::randomSeed() const {
    return randomSeed_();
}

void Toolkit::sleepUntilEvent() {
    if (!queue_.empty()) {
        return;
    }
    if (const Timer* next = nextTimer()) {
        const qint64 left = next->due - ticks();
        if (left <= 0) {
            return;
        }
        if (!wake_) {
            wake_ = std::make_unique<QTimer>();
            wake_->setSingleShot(true);
            wake_->setTimerType(Qt::PreciseTimer);
        }
        // Only wakes the loop: the timer's event comes from poll(), by the toolkit's clock.
        wake_->start(static_cast<int>(std::min<qint64>(left, std::numeric_limits<int>::max())));
    }
    sleepUntilEvent_();
}

void Toolkit::setTimer(int window, int control, qint64 due) {
    cancelTimer(window, control);
    timers_.push_back({window, control, due});
}

void Toolkit::cancelTimer(int window, int control) {
    std::erase_if(timers_,
                  [&](const Timer& t) { return t.window == window && t.control == control; });
}

const Toolkit::Timer* Toolkit::nextTimer() const {
    const auto next = std::ranges::min_element(timers_, {}, &Timer::due);
    return next != timers_.end() ? &*next : nullptr;
}

void Toolkit::drawPending() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

MouseState Toolkit::mouse() const {
    return mouse_();
}

}  // namespace ui
