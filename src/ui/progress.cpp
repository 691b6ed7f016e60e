// A progress window for work that takes seconds.
#include "ui/progress.h"

#include <QProgressDialog>

namespace ui {

Progress::Progress(QWidget* parent, const QString& label, int maximum)
    : dialog_(std::make_unique<QProgressDialog>(label, QString(), 0, maximum, parent)) {
    dialog_->setWindowModality(Qt::ApplicationModal);
    // Without a cancel button there is no half-written file to explain.
    dialog_->setCancelButton(nullptr);
    dialog_->setMinimumDuration(500);
    dialog_->setValue(0);
}

Progress::~Progress() = default;

void Progress::setValue(int value) {
    dialog_->setValue(value);
}

}  // namespace ui
