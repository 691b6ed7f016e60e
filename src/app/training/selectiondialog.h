// The training selection: the learner picks the kanji to train from the profile's records, one
// by one or by quota band.
#pragma once

#include <QtGlobal>

#include <optional>
#include <vector>

struct App;

// Modal. The codes of the selected kanji, top to bottom as the list shows them, when the user
// ends with OK or the close box; nullopt when the user cancels.
std::optional<std::vector<qint32>> openTrainingSelection(App& app);
