// Events as the program's loops see them: one queue fed by every window's widgets.
#pragma once

#include <QString>

namespace ui {

enum class EventKind { None, Menu, Control, Close };

enum class Action {
    None,
    LeftClick,
    RightClick,
    LeftDoubleClick,
    RightDoubleClick,
    Change,
    Drop,
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
};

}  // namespace ui
