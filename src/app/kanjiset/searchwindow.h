// "Suchen": a tool window beside the card that finds kanji of the set as the learner types,
// picks a radical or stroke count, or draws, and shows the one chosen on the card.
#pragma once

#include "core/kanjiset/kanjisearch.h"
#include "ui/events.h"
#include "ui/window.h"

#include <optional>
#include <vector>

struct App;
class SketchPad;

class SearchWindow {
public:
    explicit SearchWindow(App& app);
    SearchWindow(const SearchWindow&) = delete;
    SearchWindow& operator=(const SearchWindow&) = delete;

    ui::Window& window() { return window_; }
    // Brings the window up with the search field ready for typing.
    void open();
    void handle(const ui::Event& event);
    // Searches again when the set changed under the results.
    void followSet();

private:
    void build();
    void fillRadicals();
    void search();
    void readDrawing();
    // What the window shows, searched again in the set as it is now.
    void searchAgain();
    void showResults(std::vector<int> positions);
    // The kanji of the current row (the first when none is current) on the card.
    void showChosen(int row);
    const KanjiSearchIndex& index();

    App& app_;
    ui::Window window_;
    std::optional<KanjiSearchIndex> index_;
    // Radical per entry of the radical choice after "alle".
    std::vector<qint32> radicalChoices_;
    std::vector<int> found_;
    SketchPad* pad_ = nullptr;
};

// "Bearbeiten" → "Suchen" (Ctrl+F).
void openSearch(App& app);
// An event of the search window, served by the main loop.
void handleSearchEvent(App& app, const ui::Event& event);
// After the main window's commands: results that no longer match the set are searched again.
void followSetInSearch(App& app);
