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
    app.loop.endRequested = true;
}

void dispatchMenu(App& app, int menuId) {
    switch (menuId) {
        case MenuNewSet:
            newSet(app);
            break;
        case MenuLoadSet:
            loadSet(app, true);
            if (!app.profile.profileName.isEmpty()) {
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
        case MenuStatistics:
            openStatistics(app);
            break;
        case MenuAbout:
            showAboutBox(app);
            break;
        case MenuKeyF2:
            if (app.viewMode == ViewMode::Training) {
                if (app.training.checkState == CheckState::Answering) {
                    checkAnswers(app);
                } else if (app.training.checkState == CheckState::Checked) {
                    nextQuestion(app, true);
                }
            }
            break;
        default:
            break;
    }
}

void showPage(App& app, ViewMode page) {
    app.mainWindow->get<ui::TabPanel>(Panel)->showPage(pageIndex(page));
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
    app.currentIndex = sortSetKeepingCurrent(app.kanjiSet, app.currentIndex);
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
            setViewMode(app, static_cast<ViewMode>(
                                 app.mainWindow->get<ui::TabPanel>(Panel)->currentPage()));
            break;
        case KanjiView:
            if (leftClick && app.viewMode == ViewMode::Editing) {
                enterKanjiCharacter(app);
            }
            break;
        case StrokeView:
            if (leftClick && app.viewMode == ViewMode::Editing) {
                chooseStrokeImage(app);
            }
            break;
        case AnimPlayButton:
            if (leftClick && app.viewMode == ViewMode::Overview && current != nullptr &&
                !current->Anim.isEmpty()) {
                app.animation.animState = AnimState::Playing;
            }
            break;
        case AnimPauseButton:
            if (leftClick) {
                AnimState& state = app.animation.animState;
                if (state == AnimState::Playing) {
                    state = AnimState::Paused;
                } else if (state == AnimState::Paused) {
                    state = AnimState::Playing;
                }
            }
            break;
        case AnimStopButton:
            if (leftClick) {
                app.animation.animState = AnimState::Stopping;
            }
            break;
        case GenshiListView:
            if ((leftClick || event.action == ui::Action::RightClick) &&
                app.viewMode == ViewMode::Editing) {
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
                stepKanji(app, app.mainWindow->spinValue(NumberSpin) - app.currentIndex - 1);
            }
            break;
        case EditButton:
            setViewMode(app,
                        app.viewMode == ViewMode::Editing ? ViewMode::Overview : ViewMode::Editing);
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
                showPage(app, ViewMode::Overview);
                setViewMode(app, ViewMode::Overview);
                showKanji(app, event.item);
            } else if (event.action == ui::Action::RightClick) {
                app.mainWindow->showContextMenu(app.gridContextMenu, app.ui.mouse().globalPos);
            }
            break;
        default:
            if ((event.control == ManualBox || isTrainingSetting(event.control)) && leftClick) {
                applyTrainingSettings(app, event.control);
                if (event.control == ManualBox && app.training.trainingPos != -1) {
                    endTraining(app, true);
                }
            }
            break;
    }
}

// The pen follows the mouse only after a click on the canvas, and only inside it.
void serveMouseWriting(App& app) {
    if (app.loop.lastEventControl != CanvasImage) {
        return;
    }
    const ui::MouseState mouse = app.ui.mouse();
    const QPoint client = app.mainWindow->client()->mapFromGlobal(mouse.globalPos);
    if (!mouseInsidePageControl(client, CanvasRect)) {
        return;
    }
    if (!mouse.primaryDown) {
        app.writingPad.lastPenX = -1;
        app.writingPad.lastPenY = -1;
        return;
    }
    const QPoint pen = client - QPoint(CanvasRect.x() + PageAreaX, CanvasRect.y() + PageAreaY);
    if (app.writingPad.lastPenX == -1 || app.writingPad.lastPenY == -1) {
        ui::fillCircle(app.writingPad.writingCanvas, pen, 4, QColor(0, 255, 0));
    } else {
        ui::drawLine(app.writingPad.writingCanvas,
                     QPoint(app.writingPad.lastPenX, app.writingPad.lastPenY), pen, 3, Qt::black);
    }
    app.writingPad.lastPenX = pen.x();
    app.writingPad.lastPenY = pen.y();
    app.mainWindow->setImage(CanvasImage, app.writingPad.writingCanvas);
}

}  // namespace

bool mouseInsidePageControl(QPoint mouse, QRect control) {
    const int dx = mouse.x() - (control.x() + PageAreaX);
    const int dy = mouse.y() - (control.y() + PageAreaY);
    return mouse.x() > -1 && mouse.y() > -1 && dx > 0 && dx <= control.width() && dy > 0 &&
           dy <= control.height();
}

void setViewMode(App& app, ViewMode mode) {
    ui::Window& w = *app.mainWindow;
    if (app.viewMode == ViewMode::Editing) {
        commitEdit(app);
        refreshSet(app);
    }
    w.setVisible(EditButton, false);
    for (int control : NavigationControls) {
        w.setEnabled(control, true);
    }
    w.setText(EditButton, app.texts.text(MainText::EditKanji));
    switch (mode) {
        case ViewMode::Overview:
            app.viewMode = ViewMode::Overview;
            w.setVisible(EditButton, true);
            break;
        case ViewMode::Training:
            app.animation.animState = AnimState::Stopping;
            app.viewMode = ViewMode::Training;
            resetTrainingSettings(app);
            break;
        case ViewMode::Lists:
            app.viewMode = ViewMode::Lists;
            break;
        case ViewMode::Editing:
            app.animation.animState = AnimState::Stopping;
            w.setVisible(EditButton, true);
            for (int control : NavigationControls) {
                w.setEnabled(control, false);
            }
            w.setText(EditButton, app.texts.text(MainText::EndEdit));
            app.viewMode = ViewMode::Editing;
            showPage(app, ViewMode::Overview);
            break;
        default:
            break;
    }
}

bool mainLoopPass(App& app) {
    const ui::Event event = app.ui.poll();
    const bool fromMainWindow = event.window == MainWindowId;
    if (event.kind == ui::EventKind::Menu && fromMainWindow) {
        app.loop.lastEventControl = -1;
        dispatchMenu(app, event.menuId);
    } else if (event.kind == ui::EventKind::Control && fromMainWindow) {
        app.loop.lastEventControl = event.control;
        dispatchControl(app, event);
    }
    serveMouseWriting(app);
    if (app.animation.animState != AnimState::Idle) {
        animationTick(app);
    }
    app.ui.pause(LoopPauseMilliseconds);
    if ((event.kind == ui::EventKind::Close && fromMainWindow) || app.loop.endRequested) {
        // What was typed while editing is the user's work: commit it so shutdown saves it.
        if (app.viewMode == ViewMode::Editing) {
            setViewMode(app, ViewMode::Overview);
        }
        return false;
    }
    return true;
}

void runMainLoop(App& app) {
    while (mainLoopPass(app)) {
    }
}
