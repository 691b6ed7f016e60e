// The About box with the program's credits.
#include "app/shell/aboutbox.h"

#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "core/shell/credits.h"
#include "ui/answerkeys.h"
#include "ui/dialog.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>

#include <variant>

namespace {

enum AboutControl : int { CreditsEditor = 1, AboutEndButton };

}  // namespace

void showAboutBox(App& app) {
    // Only its button answers it, and the answer carries nothing.
    class AboutBox : public ui::Dialog<std::monostate> {
    public:
        using Dialog::Dialog;

    private:
        std::monostate accepted() override { return {}; }
    };
    AboutBox about(
        app.ui,
        ui::DialogShape(AboutWindowId, app.texts.text(MessageText::AboutTitle) + app.windowTitle,
                        {470, 340}, {333, 229})
            .answeredBy(AboutEndButton)
            .framed(ui::Frame::Resizable));
    ui::Window& w = about.window();
    QPlainTextEdit* editor =
        w.addEditor(CreditsEditor, nullptr, {10, 10, 450, 290}, QString(), true);
    // The lines end in one column only in a fixed-width font, and all 75 columns must fit.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(9);
    editor->setFont(fixed);
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setPlainText(creditsText());
    QPushButton* end =
        w.addButton(AboutEndButton, nullptr, {410, 310, 50, 20}, app.texts.text(MainText::End));
    // The credits editor has no use for Escape; the box closes on it as on its button.
    ui::answerWithKeys(w.top(), end, end);
    about.run();
}
