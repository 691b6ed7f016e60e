// A progress window for work that takes seconds, which keeps the program's windows painted.
#pragma once

#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

namespace ui {

class Progress {
public:
    // Shows itself only once the work has taken a moment; blocks input to other windows, so no
    // command can change what is being worked on.
    Progress(QWidget* parent, const QString& label, int maximum);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Steps done so far; also lets pending paint events through.
    void setValue(int value);

private:
    std::unique_ptr<QProgressDialog> dialog_;
};

}  // namespace ui
