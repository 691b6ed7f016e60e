// The export of a set: the dialog that chooses the kanji and their fields, and the CSV file.
#pragma once

#include "core/kanjiset/exportlines.h"
#include "ui/window.h"

#include <optional>
#include <vector>

struct App;

// What the user chose in the export dialog.
struct ExportChoice {
    // 0-based indices into app.kanjiSet.records, in list order.
    std::vector<int> positions;
    ExportFields fields;
};

// The export dialog, titled "Export csv" or "Export pdf"; it starts with the same settings each
// time.
class ExportDialog {
public:
    ExportDialog(App& app, bool asPdf);

    ui::Window& window() { return window_; }
    // Modal. The choice when the user ends with OK; nullopt on "Abbruch" or any close request.
    std::optional<ExportChoice> run();

private:
    void build();
    // Which controls can be used and the order of the range; applied after every change.
    void applyRules();
    ExportChoice choice() const;

    App& app_;
    ui::Window window_;
};

std::optional<ExportChoice> runExportDialog(App& app, bool asPdf);

// The menu's "Export" entries. "csv": the dialog, then the save requester starting at
// app.paths.exportPath, then the file written atomically; a file that cannot be written is
// reported by name and reason.
void exportSet(App& app, bool asPdf);
