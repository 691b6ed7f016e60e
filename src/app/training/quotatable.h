// The rows of a quota list as the selection dialog and the statistics window show them.
#pragma once

#include "core/training/quota.h"
#include "ui/tablelist.h"
#include "ui/window.h"

#include <array>
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

// The kinds whose boxes are ticked.
CountedKinds chosenKinds(const ui::Window& window, const QuotaChoiceControls& controls);
// The order whose option is chosen; by kanji when none is.
QuotaOrder chosenOrder(const ui::Window& window, const QuotaChoiceControls& controls);

// Kanji, right, partly, wrong and quota per row, coloured by band, the band as the row's
// category and the code as its data.
std::vector<ui::TableRow> quotaTableRows(const App& app, const std::vector<QuotaRow>& quotaRows);
