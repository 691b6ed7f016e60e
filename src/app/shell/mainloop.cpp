// The main event loop: dispatch of menu commands and control actions, the view mode,
// writing with the mouse and the stroke-order animation.
#include "app/shell/mainloop.h"

#include "app/kanjiset/editing.h"
#include "app/kanjiset/kanjiimage.h"
#include "app/kanjiset/setcommands.h"
#include "app/review/review.h"
#include "app/shell/aboutbox.h"
#include "app/shell/app.h"
#include "app/shell/cardview.h"
#include "app/shell/mainids.h"
#include "app/training/profilecommands.h"
#include "app/training/trainingpage.h"
#include "core/kanjiset/kanjisetops.h"
#include "ui/clipboard.h"
#include "ui/images.h"

#include <array>

namespace {

constexpr int LoopPauseMilliseconds = 5;
const QRect CanvasRect(290, 50, 160, 160);
// Disabled while editing, so the kanji being edited stays on the card.
constexpr std::array NavigationControls{FirstButton, PreviousButton, NextButton,
                                        LastButton,  NumberSpin,     EndButton};

void requestEnd(App& app) {
    app.endRequested = true;
}

void dispatchMenu(App& app, int menuId) {
    switch (menuId) {
        case MenuNewSet:
            newSet(app);
            break;
        case MenuLoadSet:
            loadSet(app, true);
            if (!app.ProfileName.isEmpty()) {
                loadProfile(app);
            }
            break;
        case MenuSaveSet:
            saveSet(app);
            break;
        case MenuExportPdf:
            exportSet(app, true);
            break;
        case MenuExportCsv:
            exportSet(app, false);
            break;
        case MenuQuit:
            requestEnd(app);
            break;
        case MenuNewKanji:
            newKanji(app);
            break;
        case MenuEditKanji:
            app.ProfileRecordPending = 1;
            setViewMode(app, ModeEditing);
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
        case MenuStatistics:
            openStatistics(app);
            break;
        case MenuAbout:
            showAboutBox(app);
            break;
        case MenuKeyF2:
            if (app.ViewMode == ModeTraining) {
                if (app.CheckState == 1) {
                    checkAnswers(app);
                } else if (app.CheckState == 2) {
                    nextQuestion(app, true);
                }
            }
            break;
        default:
            break;
    }
}

void showPage(App& app, int page) {
    app.mainWindow->get<ui::TabPanel>(Panel)->showPage(page);
}

void chooseStatisticsKanji(App& app) {
    const auto* list = app.mainWindow->get<ui::ReportList>(StatisticsList);
    const int row = list->selectedRow();
    if (row < 0) {
        return;
    }
    if (app.ViewMode != ModeOverview) {
        showPage(app, ModeOverview);
        setViewMode(app, ModeOverview);
    }
    const QList<uint> characters = list->cellText(row, 0).toUcs4();
    if (characters.isEmpty()) {
        return;
    }
    app.CurrentIndex = sortSetKeepingCurrent(app.kanjiSet, app.CurrentIndex);
    findKanjiByCode(app, static_cast<qint32>(characters.front()));
    showKanji(app, app.kanjiSet.current);
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

bool isTrainingSetting(int control) {
    return control >= FullSettingsFrame && control <= OrderRandom;
}

void dispatchControl(App& app, const ui::Event& event) {
    const bool leftClick = event.action == ui::Action::LeftClick;
    const KanjiRecord* current = app.kanjiSet.currentRecord();
    switch (event.control) {
        case Panel:
            setViewMode(app, app.mainWindow->get<ui::TabPanel>(Panel)->currentPage());
            break;
        case KanjiView:
            if (leftClick && app.ViewMode == ModeEditing) {
                enterKanjiCharacter(app);
            }
            break;
        case StrokeView:
            if (leftClick && app.ViewMode == ModeEditing) {
                chooseStrokeImage(app);
            }
            break;
        case AnimPlayButton:
            if (leftClick && app.ViewMode == ModeOverview && current != nullptr &&
                !current->Anim.isEmpty()) {
                app.AnimState = 2;
            }
            break;
        case AnimPauseButton:
            if (leftClick && (app.AnimState == 1 || app.AnimState == 2)) {
                app.AnimState = 3 - app.AnimState;
            }
            break;
        case AnimStopButton:
            if (leftClick) {
                app.AnimState = -1;
            }
            break;
        case GenshiListView:
            if ((leftClick || event.action == ui::Action::RightClick) &&
                app.ViewMode == ModeEditing) {
                openGenshiWindow(app);
            }
            break;
        case CopyButton:
            if (leftClick) {
                copyKanjiToClipboard(app);
            }
            break;
        case EndButton:
            requestEnd(app);
            break;
        case StatisticsList:
            if (leftClick) {
                chooseStatisticsKanji(app);
            }
            break;
        case FirstButton:
            if (leftClick && !app.kanjiSet.empty()) {
                app.kanjiSet.current = 0;
                stepKanji(app, 0);
            }
            break;
        case PreviousButton:
            if (leftClick) {
                stepKanji(app, -1);
            }
            break;
        case NextButton:
            if (leftClick) {
                stepKanji(app, 1);
            }
            break;
        case LastButton:
            if (leftClick && !app.kanjiSet.empty()) {
                app.kanjiSet.current = app.kanjiSet.size() - 1;
                stepKanji(app, 0);
            }
            break;
        case NumberSpin:
            if (event.action == ui::Action::Change) {
                stepKanji(app, app.mainWindow->spinValue(NumberSpin) - app.CurrentIndex - 1);
            }
            break;
        case EditButton:
            setViewMode(app, app.ViewMode == ModeEditing ? ModeOverview : ModeEditing);
            break;
        case StartButton:
            startTraining(app);
            break;
        case TrainingEndButton:
            endTraining(app, true);
            break;
        case CheckButton:
            checkAnswers(app);
            break;
        case NextQuestionButton:
            if (leftClick) {
                nextQuestion(app, false);
            }
            break;
        case GridCells:
            if (event.item < 0 || event.item >= app.kanjiSet.size()) {
                break;
            }
            if (leftClick) {
                showPage(app, ModeOverview);
                setViewMode(app, ModeOverview);
                showKanji(app, event.item);
            } else if (event.action == ui::Action::RightClick) {
                app.mainWindow->showContextMenu(app.gridContextMenu, app.ui.mouse().globalPos);
            }
            break;
        default:
            if ((event.control == ManualBox || isTrainingSetting(event.control)) && leftClick) {
                applyTrainingSettings(app, event.control);
                if (event.control == ManualBox && app.TrainingPos != -1) {
                    endTraining(app, true);
                }
            }
            break;
    }
}

// The pen follows the mouse only after a click on the canvas, and only inside it.
void serveMouseWriting(App& app) {
    if (app.LastEventControl != CanvasImage) {
        return;
    }
    const ui::MouseState mouse = app.ui.mouse();
    const QPoint client = app.mainWindow->client()->mapFromGlobal(mouse.globalPos);
    if (!mouseInsidePageControl(client, CanvasRect)) {
        return;
    }
    if (!mouse.primaryDown) {
        app.LastPenX = -1;
        app.LastPenY = -1;
        return;
    }
    const QPoint pen = client - QPoint(CanvasRect.x() + PageAreaX, CanvasRect.y() + PageAreaY);
    if (app.LastPenX == -1 || app.LastPenY == -1) {
        ui::fillCircle(app.WritingCanvas, pen, 4, QColor(0, 255, 0));
    } else {
        ui::drawLine(app.WritingCanvas, QPoint(app.LastPenX, app.LastPenY), pen, 3, Qt::black);
    }
    app.LastPenX = pen.x();
    app.LastPenY = pen.y();
    app.mainWindow->setImage(CanvasImage, app.WritingCanvas);
}

}  // namespace

bool mouseInsidePageControl(QPoint mouse, QRect control) {
    const int dx = mouse.x() - (control.x() + PageAreaX);
    const int dy = mouse.y() - (control.y() + PageAreaY);
    return mouse.x() > -1 && mouse.y() > -1 && dx > 0 && dx <= control.width() && dy > 0 &&
           dy <= control.height();
}

void setViewMode(App& app, int mode) {
    ui::Window& w = *app.mainWindow;
    if (app.ViewMode == ModeEditing) {
        commitEdit(app);
        refreshSet(app);
    }
    w.setVisible(EditButton, false);
    for (int control : NavigationControls) {
        w.setEnabled(control, true);
    }
    w.setText(EditButton, app.texts.MainTexts[10]);
    switch (mode) {
        case ModeOverview:
            app.ViewMode = ModeOverview;
            w.setVisible(EditButton, true);
            break;
        case ModeTraining:
            app.AnimState = -1;
            app.ViewMode = ModeTraining;
            resetTrainingSettings(app);
            break;
        case ModeLists:
            app.ViewMode = ModeLists;
            break;
        case ModeEditing:
            app.AnimState = -1;
            w.setVisible(EditButton, true);
            for (int control : NavigationControls) {
                w.setEnabled(control, false);
            }
            w.setText(EditButton, app.texts.MainTexts[49]);
            app.ViewMode = ModeEditing;
            showPage(app, ModeOverview);
            break;
        default:
            break;
    }
}

bool mainLoopPass(App& app) {
    const ui::Event event = app.ui.poll();
    const bool fromMainWindow = event.window == MainWindowId;
    if (event.kind == ui::EventKind::Menu && fromMainWindow) {
        app.LastEventControl = -1;
        dispatchMenu(app, event.menuId);
    } else if (event.kind == ui::EventKind::Control && fromMainWindow) {
        app.LastEventControl = event.control;
        dispatchControl(app, event);
    }
    serveMouseWriting(app);
    if (app.AnimState != 0) {
        animationTick(app);
    }
    app.ui.pause(LoopPauseMilliseconds);
    if ((event.kind == ui::EventKind::Close && fromMainWindow) || app.endRequested) {
        // What was typed while editing is the user's work: commit it so shutdown saves it.
        if (app.ViewMode == ModeEditing) {
            setViewMode(app, ModeOverview);
        }
        return false;
    }
    return true;
}

void runMainLoop(App& app) {
    while (mainLoopPass(app)) {
    }
}
