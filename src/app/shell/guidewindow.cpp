// The guide window: the text tables' guide in a read-only editor with one button.
#include "app/shell/guidewindow.h"

#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "ui/answerkeys.h"
#include "ui/dialog.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <variant>

namespace {

enum GuideControl : int { GuideEditor = 1, GuideEndButton };

// The guide's paragraphs are separated by "|", as a catalog line cannot break.
QString guideText(const QString& text) {
    QString shown = text;
    shown.replace(u'|', QStringLiteral("\n\n"));
    return shown;
}

}  // namespace

void showGuide(App& app) {
    class GuideWindow : public ui::Dialog<std::monostate> {
    public:
        using Dialog::Dialog;

    private:
        std::monostate accepted() override { return {}; }
    };
    const QString title = app.texts.text(MainText::Info);
    GuideWindow guide(
        app.ui, ui::DialogShape(GuideWindowId, title + QStringLiteral(" – ") + app.windowTitle,
                                {520, 420}, {308, 189})
                    .answeredBy(GuideEndButton)
                    .framed(ui::Frame::Resizable));
    ui::Window& w = guide.window();
    QPlainTextEdit* editor = w.addEditor(GuideEditor, nullptr, {10, 10, 500, 370},
                                         guideText(app.texts.text(MessageText::GuideText)), true);
    editor->setAccessibleName(title);
    editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Read with the keyboard as well: arrows and page keys move through the text, so a screen
    // reader follows it line by line.
    editor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    QPushButton* end =
        w.addButton(GuideEndButton, nullptr, {460, 390, 50, 20}, app.texts.text(MainText::End));
    ui::answerWithKeys(w.top(), end, end);
    editor->setFocus();
    guide.run();
}
