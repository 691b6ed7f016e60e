// "Lernkarten drucken" asks which kanji the practice sheets hold: the weakest of the profile,
// those of the last training, a JLPT level or a range of positions, and at most how many.
#pragma once

#include "core/training/practicechoice.h"
#include "ui/dialog.h"

#include <optional>

struct App;

class PrintDialog : public ui::Dialog<PrintChoice> {
public:
    // Starts with the choice given; a way that has nothing to offer (no profile, no training
    // yet) cannot be chosen.
    PrintDialog(App& app, const PrintChoice& start, bool weakestOffered, bool lastRunOffered);

private:
    PrintChoice accepted() override;
    void handle(const ui::Event&) override { applyRules(); }
    void build(const PrintChoice& start);
    void applyRules();

    App& app_;
    bool weakestOffered_;
    bool lastRunOffered_;
};

// Modal, starting with the learner's last choice; the choice on OK, which is kept with the
// learner's training choices, or nullopt on "Abbruch", Escape or the close box.
std::optional<PrintChoice> askPrintChoice(App& app);
