// The system clipboard.
#pragma once

#include <QString>

namespace ui {

void setClipboardText(const QString& text);
QString clipboardText();

}  // namespace ui
