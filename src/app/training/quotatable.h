// The rows of a quota list as the selection dialog and the statistics window show them.
#pragma once

#include "core/shell/texttables.h"
#include "core/training/quota.h"
#include "ui/tablelist.h"
#include "ui/window.h"

#include <QFont>
#include <QPoint>
#include <QRect>

#include <array>
#include <unordered_set>
#include <utility>
#include <vector>

struct App;

// The controls of a window that lists quotas: a box per counted kind and an option per order,
// the options in the order of QuotaOrder.
struct QuotaChoiceControls {
    int onBox = 0;
    int kunBox = 0;
    int meaningBox = 0;
    std::array<int, 4> sortOptions{};
};

// The boxes of the counted kinds, one below the other from topLeft, captioned from the window's
// own table (SelectionText or StatisticsText).
template <class Texts>
void addKindBoxes(ui::Window& window, const QuotaChoiceControls& controls, const TextTables& texts,
                  QPoint topLeft, int width) {
    const std::array boxes{std::pair{controls.onBox, Texts::OnReading},
                           std::pair{controls.kunBox, Texts::KunReading},
                           std::pair{controls.meaningBox, Texts::Meaning}};
    for (size_t i = 0; i < boxes.size(); ++i) {
        window.addCheckBox(boxes[i].first, nullptr,
                           QRect(topLeft + QPoint(0, 20 * static_cast<int>(i)), QSize(width, 20)),
                           texts.text(boxes[i].second));
    }
}

// The options of the orders, one below the other from topLeft, in the order of QuotaOrder.
template <class Texts>
void addOrderOptions(ui::Window& window, const QuotaChoiceControls& controls,
                     const TextTables& texts, QPoint topLeft) {
    const std::array captions{Texts::SortByKanji, Texts::SortByRight, Texts::SortByWrong,
                              Texts::SortByRate};
    for (size_t i = 0; i < captions.size(); ++i) {
        window.addOption(controls.sortOptions[i], nullptr,
                         QRect(topLeft + QPoint(0, 20 * static_cast<int>(i)), QSize(170, 20)),
                         texts.text(captions[i]));
    }
}

// Every kind counted and the rows by kanji, as a quota list opens.
void startQuotaChoice(ui::Window& window, const QuotaChoiceControls& controls);
// The kinds whose boxes are ticked.
CountedKinds chosenKinds(const ui::Window& window, const QuotaChoiceControls& controls);
// The order whose option is chosen; by kanji when none is.
QuotaOrder chosenOrder(const ui::Window& window, const QuotaChoiceControls& controls);

// The problem kanji of the profile in use, from its review log (read now if it was not yet).
std::unordered_set<qint32> profileProblemKanji(App& app);

// Kanji, right, partly, wrong and quota per row, coloured by band, the band as the row's
// category and the code as its data. A problem kanji among marked gets a "!" after it and says
// so to a screen reader.
std::vector<ui::TableRow> quotaTableRows(const App& app, const std::vector<QuotaRow>& quotaRows,
                                         const std::unordered_set<qint32>& marked = {});

// The rows of the profile for the ticked kinds in the chosen order, shown in list; returned for
// what the window shows beside them.
std::vector<QuotaRow> showQuotaRows(const App& app, const ui::Window& window,
                                    const QuotaChoiceControls& controls, ui::TableList& list,
                                    const std::unordered_set<qint32>& marked = {});

// Kanji, right, partly, wrong and quota, captioned from the window's own table (SelectionText or
// StatisticsText), so that a catalog may name them apart.
template <class Texts>
std::vector<ui::TableColumn> quotaColumns(const TextTables& texts, const std::array<int, 5>& widths,
                                          const QFont& kanjiFont) {
    return {{texts.text(Texts::Kanji), widths[0], kanjiFont},
            {texts.text(Texts::Right), widths[1]},
            {texts.text(Texts::Partly), widths[2]},
            {texts.text(Texts::Wrong), widths[3]},
            {texts.text(Texts::Rate), widths[4]}};
}
