// The event queue and the injectable mouse, clock and pause that every loop of the program uses.
#pragma once

#include "ui/events.h"
#include "ui/requesters.h"

#include <QDateTime>
#include <QPoint>

#include <deque>
#include <functional>

namespace ui {

struct MouseState {
    QPoint globalPos;
    bool primaryDown = false;
};

class Toolkit {
public:
    Toolkit();

    void post(const Event& event);
    // Next pending event, or one of kind None; never waits.
    Event poll();
    // Blocks until an event arrives.
    Event wait();

    qint64 ticks() const;
    // The local date and time, as the clock on the wall shows it.
    QDateTime localNow() const;
    // A seed for a run's random choices; from the clock unless a test fixes it.
    quint32 randomSeed() const;
    void pause(int milliseconds);
    // Sleeps until the window system has something for the program: input, a repaint, a timer.
    void sleepUntilEvent();
    // Lets the window system deliver what it has pending, so that windows just shown are drawn;
    // events for the program stay queued.
    void drawPending();
    MouseState mouse() const;

    // Tests take over time and mouse so that nothing depends on the wall clock.
    void setClock(std::function<qint64()> clock) { clock_ = std::move(clock); }
    void setPause(std::function<void(int)> pause) { pause_ = std::move(pause); }
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
    std::deque<Event> queue_;
    std::function<qint64()> clock_;
    std::function<void(int)> pause_;
    std::function<void()> sleepUntilEvent_;
    std::function<MouseState()> mouse_;
    std::function<QDateTime()> localNow_;
    std::function<quint32()> randomSeed_;
    std::function<void()> waitHook_;
    Requesters requesters_;
};

}  // namespace ui
