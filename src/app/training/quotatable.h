// The rows of a quota list as the selection dialog and the statistics window show them.
#pragma once

#include "core/training/quota.h"
#include "ui/tablelist.h"

#include <vector>

struct App;

// Kanji, right, partly, wrong and quota per row, coloured by band, the band as the row's
// category and the code as its data.
std::vector<ui::TableRow> quotaTableRows(const App& app, const std::vector<QuotaRow>& quotaRows);
