// The system clipboard.
#include "ui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace ui {

void setClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

}  // namespace ui
