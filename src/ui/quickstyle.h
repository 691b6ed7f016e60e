// The application's style: the platform's own, with what it spends on every start made cheaper.
#pragma once

#include <memory>

class QStyle;

namespace ui {

std::unique_ptr<QStyle> makeQuickStyle();
// Installs the style on the application, once; widgets made afterwards use it.
void useQuickStyle();

}  // namespace ui
