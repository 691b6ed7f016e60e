// The learner's verdict on a written kanji, chosen among three buttons.
#include "app/training/kanjiverdict.h"

#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/training/handwriting.h"
#include "ui/answerkeys.h"
#include "ui/dialog.h"
#include "ui/modal.h"

#include <QPushButton>

#include <array>

namespace {

enum VerdictControl : int { VerdictText = 1, RightButton, PartlyButton, WrongButton };

struct Choice {
    int button;
    Grade grade;
    MessageText caption;
};

constexpr std::array Choices{Choice{RightButton, Grade::Right, MessageText::GradeRight},
                             Choice{PartlyButton, Grade::Partly, MessageText::GradePartly},
                             Choice{WrongButton, Grade::Wrong, MessageText::GradeWrong}};

// Its answers are three buttons, not OK and cancel: it runs its own loop over the dialog's window.
class VerdictDialog : public ui::DialogWindow {
public:
    VerdictDialog(App& app, const HandwritingGrade& grade)
        : DialogWindow(app.ui, ui::DialogShape(KanjiVerdictWindowId,
                                               app.texts.text(MessageText::CheckKanjiTitle),
                                               {360, 200}, {320, 250})),
          toolkit_(app.ui),
          verdict_(grade.verdict == Grade::Easy ? Grade::Right : grade.verdict) {
        ui::Window& w = window();
        w.addLabel(VerdictText, nullptr, {10, 10, 340, 145},
                   app.texts.text(MessageText::CheckKanjiQuestion) + QStringLiteral("\n\n") +
                       handwritingVerdictText(app.texts, grade),
                   Qt::AlignLeft | Qt::AlignTop)
            ->setWordWrap(true);
        QPushButton* preselected = nullptr;
        for (std::size_t i = 0; i < Choices.size(); ++i) {
            QPushButton* button =
                w.addButton(Choices[i].button, nullptr, {10 + 118 * int(i), 165, 104, 25},
                            app.texts.text(Choices[i].caption));
            if (Choices[i].grade == verdict_) {
                preselected = button;
            }
        }
        preselected->setDefault(true);
        preselected->setFocus();
        ui::answerWithKeys(w.top(), preselected, nullptr);
    }

    Grade run() {
        ui::runModal(toolkit_, window(), [this](const ui::Event& event) {
            if (event.kind == ui::EventKind::Close) {
                return ui::ModalStep::Close;
            }
            for (const Choice& choice : Choices) {
                if (event.kind == ui::EventKind::Control && event.control == choice.button) {
                    verdict_ = choice.grade;
                    return ui::ModalStep::Close;
                }
            }
            return ui::ModalStep::Continue;
        });
        window().top()->hide();
        return verdict_;
    }

private:
    ui::Toolkit& toolkit_;
    Grade verdict_;
};

}  // namespace

Grade confirmKanjiVerdict(App& app, const HandwritingGrade& grade) {
    VerdictDialog dialog(app, grade);
    return dialog.run();
}
