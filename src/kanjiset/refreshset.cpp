// Re-sorting the set and refreshing what shows it.
#include "kanjiset/refreshset.h"

#include "kanjiset/kanjisetops.h"
#include "shell/app.h"
#include "shell/cardview.h"
#include "shell/mainids.h"

void refreshSet(App& app) {
    app.CurrentIndex = sortSetKeepingCurrent(app.kanjiSet, app.CurrentIndex);
    app.KanjiCount = app.kanjiSet.size();
    if (app.mainWindow) {
        // The range comes first, or the spinner would clamp the position shown next. A minimum
        // of 1 lets it reach every kanji, also those before the current one.
        app.mainWindow->setSpinRange(NumberSpin, std::min(1, app.KanjiCount), app.KanjiCount);
    }
    if (app.kanjiSet.empty()) {
        clearCard(app);
    } else {
        showKanji(app, app.CurrentIndex);
    }
    // Grid cells follow positions in the set: after a re-sort or new kanji they would show
    // kanji other than the ones a click on them chooses.
    fillGrid(app);
    if (app.mainWindow) {
        app.mainWindow->setStatusText(0,
                                      QStringLiteral("Kanji: ") + QString::number(app.KanjiCount));
    }
}
