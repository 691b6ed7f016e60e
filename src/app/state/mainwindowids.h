// Ids of the windows, and of the main window's controls outside its pages: the panel holding
// the pages and the column right of it.
#pragma once

enum WindowId : int {
    MainWindowId = 1,
    AboutWindowId = 2,
    SelectionWindowId = 3,
    ExportWindowId = 4,
    GenshiWindowId = 5,
    StatisticsWindowId = 6,
    ImportWindowId = 7,
    ForecastWindowId = 8,
    PrintWindowId = 9,
    GuideWindowId = 10,
    SearchWindowId = 11,
    // The training page's own dialogs, numbered apart from the others.
    KanjiVerdictWindowId = 40,
    TrainingOptionsWindowId = 41,
};

enum MainControl : int {
    Panel = 1,
    StatisticsFrame,
    ProfileLabel,
    ProfileField,
    StatisticsList,
    EditFrame,
    EditButton,
    EndButton,
    SpareLabel,
};
