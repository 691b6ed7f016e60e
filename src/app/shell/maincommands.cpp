// The main window's dispatch: menu commands, and control actions handed to the group that owns
// the control (card, navigation, lists page, right-hand column; the training page has its own).
#include "app/shell/maincommands.h"

#include "app/kanjiset/cardview.h"
#include "app/kanjiset/editing.h"
#include "app/kanjiset/examplesound.h"
#include "app/kanjiset/exportdialog.h"
#include "app/kanjiset/genshiwindow.h"
#include "app/kanjiset/historyexport.h"
#include "app/kanjiset/kanjicommands.h"
#include "app/kanjiset/practicesheet.h"
#include "app/kanjiset/searchwindow.h"
#include "app/kanjiset/setcommands.h"
#include "app/kanjiset/shadowing.h"
#include "app/kanjiset/viewmode.h"
#include "app/review/importwizard.h"
#include "app/review/statisticswindow.h"
#include "app/shell/aboutbox.h"
#include "app/shell/guidewindow.h"
#include "app/state/app.h"
#include "app/state/cardids.h"
#include "app/state/listsids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/training/profilecommands.h"
#include "app/training/trainingoptions.h"
#include "app/training/trainingpage.h"
#include "core/kanjiset/kanjirecord.h"
#include "core/kanjiset/kanjisetops.h"
#include "ui/clipboard.h"

namespace {

void requestEnd(App& app) {
    app.loop.endRequested = true;
}

// Switches to the card and shows the kanji at index there.
void showOnCard(App& app, int index) {
    showPage(app, ViewMode::Overview);
    setViewMode(app, ViewMode::Overview);
    showKanji(app, index);
}

void copyKanjiToClipboard(const App& app) {
    const KanjiRecord* record = app.kanjiSet.currentRecord();
    if (record == nullptr) {
        return;
    }
    const QString text = kanjiText(record->Unicode);
    if (!text.isEmpty()) {
        ui::setClipboardText(text);
    }
}

void togglePause(AnimState& state) {
    if (state == AnimState::Playing) {
        state = AnimState::Paused;
    } else if (state == AnimState::Paused) {
        state = AnimState::Playing;
    }
}

// The card's picture, strip and Genshi list take clicks while editing; the animation buttons
// and the copy button while browsing.
bool onCardControl(App& app, const ui::Event& event) {
    const bool leftClick = event.action == ui::Action::LeftClick;
    const bool editing = app.viewMode == ViewMode::Editing;
    const KanjiRecord* current = app.kanjiSet.currentRecord();
    switch (event.control) {
        case KanjiView:
            if (leftClick && editing) {
                enterKanjiCharacter(app);
            }
            return true;
        case StrokeView:
            if (leftClick && editing) {
                chooseStrokeImage(app);
            }
            return true;
        case GenshiListView:
            if ((leftClick || event.action == ui::Action::RightClick) && editing) {
                openGenshiWindow(app);
            }
            return true;
        case AnimPlayButton:
            if (leftClick && app.viewMode == ViewMode::Overview && current != nullptr &&
                hasStrokeOrder(app, *current)) {
                app.animation.animState = AnimState::Playing;
            }
            return true;
        case AnimPauseButton:
            if (leftClick) {
                togglePause(app.animation.animState);
            }
            return true;
        case AnimStopButton:
            if (leftClick) {
                app.animation.animState = AnimState::Stopping;
            }
            return true;
        case CopyButton:
            if (leftClick) {
                copyKanjiToClipboard(app);
            }
            return true;
        case SoundButton1:
        case SoundButton2:
        case SoundButton3:
        case SoundButton4:
            if (leftClick) {
                playExample(app, event.control - SoundButton1);
            }
            return true;
        case RecordStartButton:
            if (leftClick) {
                startShadowing(app);
            }
            return true;
        case RecordStopButton:
            if (leftClick) {
                stopShadowing(app);
            }
            return true;
        case RecordingImage1:
        case RecordingImage2:
            if (leftClick) {
                replayShadowing(app, event.control - RecordingImage1);
            } else if (event.action == ui::Action::RightClick && event.control == RecordingImage2 &&
                       canSaveRecording(app)) {
                app.mainWindow->showContextMenu(app.recordingContextMenu, app.ui.mouse().globalPos);
            }
            return true;
        default:
            return false;
    }
}

bool onNavigation(App& app, const ui::Event& event) {
    const bool leftClick = event.action == ui::Action::LeftClick;
    KanjiSet& set = app.kanjiSet;
    switch (event.control) {
        case FirstButton:
            if (leftClick && !set.empty()) {
                set.current = 0;
                stepKanji(app, 0);
            }
            return true;
        case PreviousButton:
            if (leftClick) {
                stepKanji(app, -1);
            }
            return true;
        case NextButton:
            if (leftClick) {
                stepKanji(app, 1);
            }
            return true;
        case LastButton:
            if (leftClick && !set.empty()) {
                set.current = set.size() - 1;
                stepKanji(app, 0);
            }
            return true;
        case NumberSpin:
            if (event.action == ui::Action::Change) {
                stepKanji(app, app.mainWindow->spinValue(NumberSpin) - app.kanjiSet.current - 1);
            }
            return true;
        default:
            return false;
    }
}

bool onGridCell(App& app, const ui::Event& event) {
    if (event.control != GridCells) {
        return false;
    }
    if (event.item < 0 || event.item >= app.kanjiSet.size()) {
        return true;
    }
    if (event.action == ui::Action::LeftClick) {
        showOnCard(app, event.item);
    } else if (event.action == ui::Action::RightClick) {
        app.mainWindow->showContextMenu(app.gridContextMenu, app.ui.mouse().globalPos);
    }
    return true;
}

void chooseStatisticsKanji(App& app) {
    const auto* list = app.mainWindow->get<ui::ReportList>(StatisticsList);
    const int row = list->selectedRow();
    if (row < 0) {
        return;
    }
    if (app.viewMode != ViewMode::Overview) {
        showPage(app, ViewMode::Overview);
        setViewMode(app, ViewMode::Overview);
    }
    const QList<uint> characters = list->cellText(row, 0).toUcs4();
    if (characters.isEmpty()) {
        return;
    }
    sortSetKeepingCurrent(app.kanjiSet, app.kanjiSet.current);
    showKanjiByCode(app, static_cast<qint32>(characters.front()));
}

// The panel's tabs and the column right of it.
bool onFrameControl(App& app, const ui::Event& event) {
    switch (event.control) {
        case Panel:
            setViewMode(app, static_cast<ViewMode>(
                                 app.mainWindow->get<ui::TabPanel>(Panel)->currentPage()));
            return true;
        case StatisticsList:
            if (event.action == ui::Action::LeftClick) {
                chooseStatisticsKanji(app);
            }
            return true;
        case EditButton:
            setViewMode(app,
                        app.viewMode == ViewMode::Editing ? ViewMode::Overview : ViewMode::Editing);
            return true;
        case EndButton:
            requestEnd(app);
            return true;
        default:
            return false;
    }
}

}  // namespace

void dispatchMenu(App& app, int menuId) {
    switch (menuId) {
        case MenuNewSet:
            newSet(app);
            break;
        case MenuLoadSet:
            loadOtherSet(app);
            break;
        case MenuSaveSet:
            saveSet(app);
            break;
        case MenuSaveRecording:
            saveRecording(app);
            break;
        case MenuPrintCards:
            printPracticeSheets(app);
            break;
        case MenuExportPdf:
            exportSet(app, true);
            break;
        case MenuExportCsv:
            exportSet(app, false);
            break;
        case MenuExportHistory:
            exportReviewHistory(app);
            break;
        case MenuQuit:
            requestEnd(app);
            break;
        case MenuNewKanji:
            newKanji(app);
            break;
        case MenuEditKanji:
            app.profile.profileRecordPending = true;
            setViewMode(app, ViewMode::Editing);
            break;
        case MenuDeleteKanji:
            deleteKanji(app);
            break;
        case MenuImportCsv:
            importCsv(app);
            break;
        case MenuOptimiseList:
            optimiseList(app);
            break;
        case MenuCreateProfile:
            createProfile(app);
            break;
        case MenuChooseProfile:
            chooseProfile(app);
            break;
        case MenuDeleteProfile:
            deleteProfile(app);
            break;
        case MenuStatistics:
            openStatistics(app);
            break;
        case MenuSettingsTraining:
            openTrainingOptions(app);
            break;
        case MenuInfo:
            showGuide(app);
            break;
        case MenuSearch:
            openSearch(app);
            break;
        case MenuAbout:
            showAboutBox(app);
            break;
        case MenuKeyF2:
            trainingKeyF2(app);
            break;
        case MenuUndoAnswer:
            trainingUndo(app);
            break;
        case MenuEasyAnswer:
            trainingEasy(app);
            break;
        default:
            break;
    }
}

void dispatchControl(App& app, const ui::Event& event) {
    for (const auto handler :
         {onCardControl, onNavigation, onGridCell, onFrameControl, onTrainingControl}) {
        if (handler(app, event)) {
            return;
        }
    }
}
