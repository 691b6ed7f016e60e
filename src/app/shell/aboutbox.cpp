// The About box with the program's credits.
#include "app/shell/aboutbox.h"

#include "app/shell/app.h"
#include "app/shell/mainids.h"
#include "core/shell/credits.h"
#include "ui/modal.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

namespace {

enum AboutControl : int { CreditsEditor = 1, AboutEndButton };

}  // namespace

void showAboutBox(App& app) {
    ui::Window about(app.ui, AboutWindowId,
                     app.texts.text(MessageText::AboutTitle) + app.windowTitle, QSize(470, 340),
                     ui::WindowOptions{false, true, true});
    about.moveTo(QPoint(333, 229));
    QPlainTextEdit* editor =
        about.addEditor(CreditsEditor, nullptr, {10, 10, 450, 290}, QString(), true);
    // The lines end in one column only in a fixed-width font, and all 75 columns must fit.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(9);
    editor->setFont(fixed);
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setPlainText(creditsText());
    about.addButton(AboutEndButton, nullptr, {410, 310, 50, 20}, app.texts.text(MainText::End));
    ui::runModal(app.ui, about, [](const ui::Event& event) {
        const bool end = event.kind == ui::EventKind::Close ||
                         (event.kind == ui::EventKind::Control && event.control == AboutEndButton);
        return end ? ui::ModalStep::Close : ui::ModalStep::Continue;
    });
}
