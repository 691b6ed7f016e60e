// The event queue and the injectable mouse, clock and pause that every loop of the program uses.
#include "ui/toolkit.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTimer>

#include <algorithm>

namespace ui {

Toolkit::Toolkit() {
    clock_ = [timer = std::make_shared<QElapsedTimer>()]() {
        if (!timer->isValid()) {
            timer->start();
        }
        return timer->elapsed();
    };
    // The window keeps drawing and taking input while a loop pauses: what a pass changed reaches
    // the screen at once, and what arrives waits in the queue for the loop's next pass, as it
    // would after a plain sleep.
    pause_ = [](int milliseconds) {
        const QDeadlineTimer deadline(milliseconds);
        QTimer wake;
        wake.setSingleShot(true);
        while (!deadline.hasExpired()) {
            wake.start(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
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

void Toolkit::post(const Event& event) {
    queue_.push_back(event);
}

Event Toolkit::poll() {
    if (queue_.empty()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    if (queue_.empty()) {
        return {};
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

void Toolkit::pause(int milliseconds) {
    pause_(milliseconds);
}

QDateTime Toolkit::localNow() const {
    return localNow_();
}

quint32 Toolkit::randomSeed() const {
    return randomSeed_();
}

void Toolkit::sleepUntilEvent() {
    if (queue_.empty()) {
        sleepUntilEvent_();
    }
}

void Toolkit::drawPending() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

MouseState Toolkit::mouse() const {
    return mouse_();
}

}  // namespace ui
