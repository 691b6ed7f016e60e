// The application's style: the platform's own, with group frames drawn quickly.
#pragma once

namespace ui {

// Installs the style on the application, once; widgets made afterwards use it.
void useQuickGroupFrames();

}  // namespace ui
