// Events as the program's loops see them: one queue fed by every window's widgets.
#pragma once

#include <QPolygon>
#include <QString>

namespace ui {

// Timer: a timer the program set on the toolkit is due (see Toolkit::setTimer).
enum class EventKind { None, Menu, Control, Close, Timer };

enum class Action {
    None,
    LeftClick,
    RightClick,
    LeftDoubleClick,
    RightDoubleClick,
    Change,
    Drop,
    // A stroke written on a canvas; the event carries its points.
    Stroke,
    Other
};

// The window of events that come from no window.
constexpr int NoWindow = 0;

struct Event {
    EventKind kind = EventKind::None;
    int window = NoWindow;
    int control = -1;
    Action action = Action::None;
    int menuId = -1;
    // Cell or row an action on a grid or list refers to, -1 when none.
    int item = -1;
    // Text carried by a drop.
    QString text;
    // The points of a written stroke, in the canvas's pixels.
    QPolygon points;
};

}  // namespace ui
