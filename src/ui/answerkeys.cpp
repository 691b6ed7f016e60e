// Enter and Escape in a window that is no QDialog.
#include "ui/answerkeys.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace ui {

namespace {

// Controls pass on the keys they have no use for, so the top widget sees them last; a spin box
// takes Enter to end its typing and still passes it on, so a typed number counts.
class AnswerKeys : public QObject {
public:
    AnswerKeys(QWidget* top, QAbstractButton* ok, QAbstractButton* cancel)
        : QObject(top), top_(top), ok_(ok), cancel_(cancel) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != top_ || event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier) {
            return false;
        }
        QAbstractButton* button = nullptr;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            button = ok_;
        } else if (key->key() == Qt::Key_Escape) {
            button = cancel_;
        }
        if (button == nullptr || !button->isEnabled()) {
            return false;
        }
        button->click();
        return true;
    }

private:
    QWidget* top_;
    QPointer<QAbstractButton> ok_;
    QPointer<QAbstractButton> cancel_;
};

}  // namespace

void answerWithKeys(QWidget* top, QAbstractButton* ok, QAbstractButton* cancel) {
    top->installEventFilter(new AnswerKeys(top, ok, cancel));
}

}  // namespace ui
