// Ids of the main window's menu entries.
#pragma once

enum MenuId : int {
    MenuNewSet = 0,
    MenuLoadSet = 1,
    MenuSaveSet = 2,
    MenuExportPdf = 3,
    MenuPrintCards = 4,
    MenuQuit = 5,
    MenuExportCsv = 6,
    MenuNewKanji = 7,
    MenuEditKanji = 8,
    MenuDeleteKanji = 9,
    MenuImportCsv = 10,
    MenuOptimiseList = 11,
    MenuCreateProfile = 12,
    MenuChooseProfile = 13,
    MenuDeleteProfile = 14,
    MenuSettingsTraining = 21,
    MenuSettingsTests = 22,
    MenuSettingsGeneral = 23,
    MenuInfo = 24,
    MenuStatistics = 25,
    MenuAbout = 26,
    MenuKeyF2 = 27,
    MenuTakeAsGenshi = 28,
    MenuSaveRecording = 29,
    MenuSearch = 30,
    MenuExportHistory = 31,
    // Keys of the training page: Ctrl+Z takes the graded question back, F3 makes its right
    // answers easy.
    MenuUndoAnswer = 40,
    MenuEasyAnswer = 41,
};
