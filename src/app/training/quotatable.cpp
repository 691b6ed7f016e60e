// The rows of a quota list as the selection dialog and the statistics window show them.
#include "app/training/quotatable.h"

#include "app/state/app.h"
#include "app/training/dailyreview.h"
#include "core/kanjiset/kanjirecord.h"
#include "core/training/problemkanji.h"

std::unordered_set<qint32> profileProblemKanji(App& app) {
    // A log that cannot be read now marks nothing rather than guessing.
    return problemKanji(app.learner.history().value_or(std::vector<ReviewEntry>{}));
}

std::vector<ui::TableRow> quotaTableRows(const App& app, const std::vector<QuotaRow>& quotaRows,
                                         const std::unordered_set<qint32>& marked) {
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
        if (marked.contains(row.code)) {
            rows.back().cells[0] += u'!';
            rows.back().note = app.texts.text(MessageText::ProblemKanjiMark);
        }
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
                                    const QuotaChoiceControls& controls, ui::TableList& list,
                                    const std::unordered_set<qint32>& marked) {
    std::vector<QuotaRow> rows = quotaRows(app.learner.profile(), chosenKinds(window, controls),
                                           chosenOrder(window, controls));
    list.setRows(quotaTableRows(app, rows, marked));
    return rows;
}
