// Enter and Escape in a window that is no QDialog: they press its OK and its cancel button.
#pragma once

class QAbstractButton;
class QWidget;

namespace ui {

// From now on, Enter or Return pressed anywhere in top clicks ok, unless the control with the
// focus uses the key itself; Escape clicks cancel. A disabled button is not clicked.
void answerWithKeys(QWidget* top, QAbstractButton* ok, QAbstractButton* cancel);

}  // namespace ui
