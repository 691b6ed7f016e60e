// Ids of the controls on the main window's lists page, the grid of all kanji.
#pragma once

enum ListsControl : int {
    GridArea = 300,
    GridCells,
};
