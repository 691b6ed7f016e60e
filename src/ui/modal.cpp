// Running a dialog window: the one loop every modal window of the program is served by.
#include "ui/modal.h"

#include "ui/toolkit.h"
#include "ui/window.h"

namespace ui {

void runModal(Toolkit& toolkit, Window& window,
              const std::function<ModalStep(const Event&)>& handler) {
    window.show();
    for (;;) {
        const Event event = toolkit.wait();
        if (event.kind == EventKind::Close && event.window == NoWindow) {
            // Nothing is left to happen: a test's wait hook had no more to do.
            return;
        }
        if (event.window == window.id() && handler(event) == ModalStep::Close) {
            return;
        }
    }
}

}  // namespace ui
