// The event queue, its timers and the injectable mouse and clock that every loop of the program
// uses.
#pragma once

#include "ui/events.h"
#include "ui/requesters.h"

#include <QDateTime>
#include <QPoint>

class QTimer;

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace ui {

struct MouseState {
    QPoint globalPos;
    bool primaryDown = false;
};

class Toolkit {
public:
    Toolkit();
    ~Toolkit();

    void post(const Event& event);
    // Next pending event, then a due timer, or else an event of kind None; never waits.
    Event poll();
    // Blocks until an event arrives.
    Event wait();

    qint64 ticks() const;
    // The local date and time, as the clock on the wall shows it.
    QDateTime localNow() const;
    // A seed for a run's random choices; from the clock unless a test fixes it.
    quint32 randomSeed() const;
    // Sleeps until the window system has something for the program (input, a repaint) or a
    // timer is due; returns at once while an event is pending.
    void sleepUntilEvent();
    // Lets the window system deliver what it has pending, so that windows just shown are drawn;
    // events for the program stay queued.
    void drawPending();
    MouseState mouse() const;

    // A single-shot timer on the toolkit's clock: once ticks() reaches due, poll() returns an
    // event of kind Timer naming the window and control. Setting it again for them moves it.
    void setTimer(int window, int control, qint64 due);
    void cancelTimer(int window, int control);

    // Tests take over time and mouse so that nothing depends on the wall clock: with a clock of
    // their own, timers are due when that clock says so.
    void setClock(std::function<qint64()> clock) { clock_ = std::move(clock); }
    void setSleepUntilEvent(std::function<void()> sleep) { sleepUntilEvent_ = std::move(sleep); }
    void setMouse(std::function<MouseState()> mouse) { mouse_ = std::move(mouse); }
    void setLocalNow(std::function<QDateTime()> localNow) { localNow_ = std::move(localNow); }
    void setRandomSeed(std::function<quint32()> seed) { randomSeed_ = std::move(seed); }
    // Called whenever wait() finds nothing to return, so a test can act inside a modal loop
    // (click a dialog's button). A hook that posts nothing makes wait() return a close request
    // of NoWindow, which ends any modal loop.
    void setWaitHook(std::function<void()> hook) { waitHook_ = std::move(hook); }

    Requesters& requesters() { return requesters_; }

private:
    struct Timer {
        int window = NoWindow;
        int control = -1;
        qint64 due = 0;
    };
    // The earliest timer, if one is set.
    const Timer* nextTimer() const;

    std::deque<Event> queue_;
    std::vector<Timer> timers_;
    // Wakes the sleeping loop when the next timer is due; made when first needed.
    std::unique_ptr<QTimer> wake_;
    std::function<qint64()> clock_;
    std::function<void()> sleepUntilEvent_;
    std::function<MouseState()> mouse_;
    std::function<QDateTime()> localNow_;
    std::function<quint32()> randomSeed_;
    std::function<void()> waitHook_;
    Requesters requesters_;
};

}  // namespace ui
