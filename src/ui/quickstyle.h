// The application's style: the platform's own, with what it spends on every start made cheaper.
#pragma once

namespace ui {

// Installs the style on the application, once; widgets made afterwards use it.
void useQuickStyle();

}  // namespace ui
