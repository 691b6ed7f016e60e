// The export of a set: the dialog that chooses the kanji and their fields, and the CSV file.
#pragma once

#include "core/kanjiset/exportlines.h"
#include "ui/dialog.h"

#include <optional>
#include <vector>

struct App;

// What the user chose in the export dialog.
struct ExportChoice {
    // 0-based indices into app.kanjiSet.records, in list order.
    std::vector<int> positions;
    ExportFields fields;
    // Cards: fronts and backs on alternate pages; otherwise the one-sided sheet.
    bool twoSided = true;
};

// The export dialog, titled "Export csv" or "Export pdf"; it starts with the same settings each
// time. The pdf variant also asks whether the cards are printed on both sides.
// Its run() gives the choice when the user ends with OK; nullopt on "Abbruch" or the close box.
class ExportDialog : public ui::Dialog<ExportChoice> {
public:
    ExportDialog(App& app, bool asPdf);

private:
    ExportChoice accepted() override;
    void handle(const ui::Event&) override { applyRules(); }
    void build();
    // Which controls can be used and the order of the range; applied after every change.
    void applyRules();

    App& app_;
    bool asPdf_;
};

std::optional<ExportChoice> runExportDialog(App& app, bool asPdf);

// The menu's "Export" entries. "csv": the dialog, then the save requester starting at
// app.paths.exportPath, then the file written atomically; a file that cannot be written is
// reported by name and reason.
void exportSet(App& app, bool asPdf);
