// Running a dialog window: the one loop every modal window of the program is served by.
#pragma once

#include "ui/events.h"

#include <functional>

namespace ui {

class Toolkit;
class Window;

enum class ModalStep { Continue, Close };

// Shows window application-modal and hands each event of it (its close box included) to handler
// until the handler answers Close. Events of other windows are not served meanwhile: the user
// cannot make them, and those posted anyway are dropped, as the dialog blocks the main window.
void runModal(Toolkit& toolkit, Window& window,
              const std::function<ModalStep(const Event&)>& handler);

}  // namespace ui
