// "Lernkarten drucken" asks which kanji the practice sheets hold.
#include "app/kanjiset/printdialog.h"

#include "app/state/app.h"
#include "app/state/mainwindowids.h"
#include "app/training/dailyreview.h"
#include "ui/answerkeys.h"

#include <QPushButton>

#include <algorithm>
#include <array>
#include <utility>

namespace {

// In creation order, which is also the tab order.
enum PrintControl : int {
    SelectionHeading = 1,
    WeakestOption,
    LastRunOption,
    JlptOption,
    RangeOption,
    JlptChoice,
    FromLabel,
    FirstSpin,
    ToLabel,
    LastSpin,
    AtMostLabel,
    AtMostSpin,
    KanjiLabel,
    CancelButton,
    OkButton,
};

constexpr std::array ScopeOptions{
    std::pair{WeakestOption, PrintScope::Weakest}, std::pair{LastRunOption, PrintScope::LastRun},
    std::pair{JlptOption, PrintScope::Jlpt}, std::pair{RangeOption, PrintScope::Range}};
// The choice box lists the levels from the easiest.
constexpr std::array JlptLevels{4, 3, 2, 1};

}  // namespace

PrintDialog::PrintDialog(App& app, const PrintChoice& start, bool weakestOffered,
                         bool lastRunOffered)
    : Dialog(app.ui, ui::DialogShape(PrintWindowId, app.texts.text(MainText::PrintCards),
                                     {300, 230}, {238, 103})
                         .answeredBy(OkButton, CancelButton)),
      app_(app),
      weakestOffered_(weakestOffered),
      lastRunOffered_(lastRunOffered) {
    build(start);
    applyRules();
}

void PrintDialog::build(const PrintChoice& start) {
    const TextTables& t = app_.texts;
    ui::Window& w = window();
    // The spins need a range of at least one position, even for an empty set.
    const int count = std::max(app_.kanjiSet.size(), 1);

    w.addLabel(SelectionHeading, nullptr, {20, 10, 260, 20}, t.text(ExportText::Selection),
               Qt::AlignHCenter, true);
    w.addOption(WeakestOption, nullptr, {20, 35, 260, 20}, t.text(MessageText::PrintWeakest));
    w.addOption(LastRunOption, nullptr, {20, 55, 260, 20}, t.text(MessageText::PrintLastRun));
    w.addOption(JlptOption, nullptr, {20, 75, 130, 20}, t.text(MessageText::PrintJlpt));
    w.addOption(RangeOption, nullptr, {20, 100, 130, 20}, t.text(ExportText::Range));
    QStringList levels;
    for (const TrainingText caption : JlptLevelCaptions) {
        levels << t.text(caption);
    }
    w.addChoice(JlptChoice, nullptr, {160, 75, 60, 20}, levels);
    w.addLabel(FromLabel, nullptr, {40, 125, 30, 20}, t.text(ExportText::From));
    w.addSpin(FirstSpin, nullptr, {70, 125, 60, 20}, 1, count);
    w.addLabel(ToLabel, nullptr, {140, 125, 30, 20}, t.text(ExportText::To));
    w.addSpin(LastSpin, nullptr, {170, 125, 60, 20}, 1, count);
    w.addLabel(AtMostLabel, nullptr, {20, 160, 80, 20}, t.text(MessageText::PrintAtMost));
    w.addSpin(AtMostSpin, nullptr, {100, 160, 60, 20}, 1, std::max(count, PracticeSheetKanji));
    w.addLabel(KanjiLabel, nullptr, {170, 160, 110, 20}, t.text(ExportText::Kanji));
    auto* cancel =
        w.addButton(CancelButton, nullptr, {160, 200, 60, 20}, t.text(ExportText::Cancel));
    auto* ok = w.addButton(OkButton, nullptr, {230, 200, 50, 20}, t.text(ExportText::Ok));
    ui::answerWithKeys(w.top(), ok, cancel);

    // A remembered way that cannot be taken now gives way to the first one that can.
    PrintScope scope = start.scope;
    if ((scope == PrintScope::Weakest && !weakestOffered_) ||
        (scope == PrintScope::LastRun && !lastRunOffered_)) {
        scope = weakestOffered_   ? PrintScope::Weakest
                : lastRunOffered_ ? PrintScope::LastRun
                                  : PrintScope::Range;
    }
    for (const auto& [option, value] : ScopeOptions) {
        w.setChecked(option, value == scope);
    }
    const auto level = std::find(JlptLevels.begin(), JlptLevels.end(), start.jlptLevel);
    w.setChoice(JlptChoice, level == JlptLevels.end() ? 0 : int(level - JlptLevels.begin()));
    const TrainingRange range = clampedRange(start.range, count);
    w.setSpinValue(FirstSpin, range.start);
    w.setSpinValue(LastSpin, range.end);
    w.setSpinValue(AtMostSpin, start.atMost);
}

void PrintDialog::applyRules() {
    ui::Window& w = window();
    w.setEnabled(WeakestOption, weakestOffered_);
    w.setEnabled(LastRunOption, lastRunOffered_);
    w.setEnabled(JlptChoice, w.isChecked(JlptOption));
    const bool range = w.isChecked(RangeOption);
    for (const int control : {FromLabel, FirstSpin, ToLabel, LastSpin}) {
        w.setEnabled(control, range);
    }
    // As in the export, the range never runs backwards: the end follows the start.
    if (w.spinValue(FirstSpin) > w.spinValue(LastSpin)) {
        w.setSpinValue(LastSpin, w.spinValue(FirstSpin));
    }
}

PrintChoice PrintDialog::accepted() {
    const ui::Window& w = window();
    PrintChoice choice;
    for (const auto& [option, value] : ScopeOptions) {
        if (w.isChecked(option)) {
            choice.scope = value;
        }
    }
    choice.jlptLevel = JlptLevels[static_cast<size_t>(std::clamp(w.choice(JlptChoice), 0, 3))];
    choice.range = TrainingRange{w.spinValue(FirstSpin), w.spinValue(LastSpin)};
    choice.atMost = w.spinValue(AtMostSpin);
    return choice;
}

std::optional<PrintChoice> askPrintChoice(App& app) {
    const bool profileInUse = !app.profile.profileName.isEmpty();
    PrintDialog dialog(app, app.learner.choices().print.value_or(PrintChoice{}), profileInUse,
                       !app.training.askedCodes.empty());
    std::optional<PrintChoice> choice = dialog.run();
    if (choice) {
        keepPrintChoice(app, *choice);
    }
    return choice;
}
