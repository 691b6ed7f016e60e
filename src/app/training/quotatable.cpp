// The rows of a quota list as the selection dialog and the statistics window show them.
#include "app/training/quotatable.h"

#include "app/state/app.h"
#include "core/kanjiset/kanjirecord.h"

std::vector<ui::TableRow> quotaTableRows(const App& app, const std::vector<QuotaRow>& quotaRows) {
    std::vector<ui::TableRow> rows;
    rows.reserve(quotaRows.size());
    for (const QuotaRow& row : quotaRows) {
        const QuotaFigures& f = row.figures;
        rows.push_back(
            {{kanjiText(row.code), QString::number(f.right), QString::number(f.partly),
              QString::number(f.wrong), quotaText(f)},
             f.trained ? app.resources.quoteColours[static_cast<size_t>(f.band)] : QColor(),
             quotaCategory(f),
             row.code});
    }
    return rows;
}

void startQuotaChoice(ui::Window& window, const QuotaChoiceControls& controls) {
    window.setChecked(controls.sortOptions.front(), true);
    for (const int box : {controls.onBox, controls.kunBox, controls.meaningBox}) {
        window.setChecked(box, true);
    }
}

CountedKinds chosenKinds(const ui::Window& window, const QuotaChoiceControls& controls) {
    return {window.isChecked(controls.onBox), window.isChecked(controls.kunBox),
            window.isChecked(controls.meaningBox)};
}

QuotaOrder chosenOrder(const ui::Window& window, const QuotaChoiceControls& controls) {
    for (size_t order = 0; order < controls.sortOptions.size(); ++order) {
        if (window.isChecked(controls.sortOptions[order])) {
            return static_cast<QuotaOrder>(order);
        }
    }
    return QuotaOrder::Kanji;
}

std::vector<QuotaRow> showQuotaRows(const App& app, const ui::Window& window,
                                    const QuotaChoiceControls& controls, ui::TableList& list) {
    std::vector<QuotaRow> rows = quotaRows(app.learner.profile(), chosenKinds(window, controls),
                                           chosenOrder(window, controls));
    list.setRows(quotaTableRows(app, rows));
    return rows;
}
