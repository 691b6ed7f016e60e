// The training settings dialog of "Einstellungen" → "Training".
#include "app/training/trainingoptions.h"

#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/training/dailyreview.h"
#include "ui/answerkeys.h"
#include "ui/dialog.h"

#include <QPushButton>

namespace {

enum OptionsControl : int { LenientTyposBox = 1, OptionsOkButton, OptionsCancelButton };

struct TrainingOptions {
    bool lenientTypos = false;
};

class TrainingOptionsDialog : public ui::Dialog<TrainingOptions> {
public:
    TrainingOptionsDialog(App& app, const TrainingOptions& options)
        : Dialog(app.ui, ui::DialogShape(TrainingOptionsWindowId,
                                         app.texts.text(MessageText::TrainingOptionsTitle),
                                         {300, 90}, {350, 300})
                             .answeredBy(OptionsOkButton, OptionsCancelButton)) {
        ui::Window& w = window();
        const TextTables& t = app.texts;
        w.addCheckBox(LenientTyposBox, nullptr, {10, 10, 280, 20},
                      t.text(MessageText::LenientTypos));
        w.setChecked(LenientTyposBox, options.lenientTypos);
        QPushButton* ok =
            w.addButton(OptionsOkButton, nullptr, {230, 60, 60, 22}, t.text(SelectionText::Ok));
        QPushButton* cancel = w.addButton(OptionsCancelButton, nullptr, {160, 60, 60, 22},
                                          t.text(SelectionText::Cancel));
        ui::answerWithKeys(w.top(), ok, cancel);
    }

private:
    TrainingOptions accepted() override { return {window().isChecked(LenientTyposBox)}; }
};

}  // namespace

void openTrainingOptions(App& app) {
    TrainingOptionsDialog dialog(app, {app.learner.choices().lenientTypos});
    const std::optional<TrainingOptions> options = dialog.run();
    if (options && options->lenientTypos != app.learner.choices().lenientTypos) {
        keepLenientTypos(app, options->lenientTypos);
    }
}
