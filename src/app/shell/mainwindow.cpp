// Building the main window: menus, status bar, the three pages and the right-hand column.
#include "app/shell/mainwindow.h"

#include "app/kanjiset/viewmode.h"
#include "app/state/app.h"
#include "app/state/cardids.h"
#include "app/state/listsids.h"
#include "app/state/mainwindowids.h"
#include "app/state/menuids.h"
#include "app/state/trainingids.h"
#include "app/training/trainingsettings.h"

#include <QAction>
#include <QCheckBox>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSpinBox>

namespace {

constexpr int GridColumns = 4;
constexpr int GridCellSize = 160;

void buildMenus(App& app) {
    ui::Window& w = *app.mainWindow;
    const TextTables& t = app.texts;

    QMenu* file = w.addMenu(t.text(MainText::File));
    w.addMenuItem(file, MenuNewSet, t.text(MainText::NewSet));
    w.addMenuItem(file, MenuLoadSet, t.text(MainText::LoadSet));
    w.addMenuItem(file, MenuSaveSet, t.text(MainText::SaveSet));
    w.addMenuSeparator(file);
    QMenu* exportMenu = w.addSubMenu(file, t.text(MainText::Export));
    w.addMenuItem(exportMenu, MenuExportPdf, t.text(MainText::Pdf));
    w.addMenuItem(exportMenu, MenuExportCsv, t.text(MainText::Csv));
    w.addMenuItem(exportMenu, MenuExportHistory, t.text(MessageText::FsrsExportMenu));
    w.addMenuItem(file, MenuPrintCards, t.text(MainText::PrintCards));
    w.addMenuSeparator(file);
    w.addMenuItem(file, MenuQuit, t.text(MainText::Quit));

    QMenu* edit = w.addMenu(t.text(MainText::Edit));
    w.addMenuItem(edit, MenuNewKanji, t.text(MainText::NewKanji));
    w.addMenuItem(edit, MenuEditKanji, t.text(MainText::EditKanji));
    w.addMenuItem(edit, MenuDeleteKanji, t.text(MainText::DeleteKanji));
    w.addMenuItem(edit, MenuSearch, t.text(MessageText::Search));
    edit->actions().back()->setShortcut(QKeySequence::Find);
    w.addMenuSeparator(edit);
    w.addMenuItem(edit, MenuImportCsv, t.text(MainText::ImportCsv));
    w.addMenuItem(edit, MenuOptimiseList, t.text(MainText::OptimiseList));
    w.addMenuSeparator(edit);
    w.addMenuItem(edit, MenuCreateProfile, t.text(MainText::CreateProfile));
    w.addMenuItem(edit, MenuChooseProfile, t.text(MainText::ProfileSettings));
    w.addMenuItem(edit, MenuDeleteProfile, t.text(MainText::DeleteProfile));
    w.addMenuSeparator(edit);
    w.addMenuItem(edit, MenuStatistics, t.text(MainText::Statistics));

    QMenu* settings = w.addMenu(t.text(MainText::Settings));
    w.addMenuItem(settings, MenuSettingsTraining, t.text(MainText::TrainingSettings));
    w.addMenuItem(settings, MenuSettingsTests, t.text(MainText::TestSettings));
    w.addMenuItem(settings, MenuSettingsGeneral, t.text(MainText::GeneralSettings));

    QMenu* help = w.addMenu(t.text(MainText::Help));
    w.addMenuItem(help, MenuInfo, t.text(MainText::Info));
    w.addMenuSeparator(help);
    w.addMenuItem(help, MenuAbout, t.text(MainText::About));

    app.gridContextMenu = w.createContextMenu();
    w.addMenuItem(app.gridContextMenu, MenuTakeAsGenshi, t.text(MessageText::TakeAsGenshi));
    app.recordingContextMenu = w.createContextMenu();
    w.addMenuItem(app.recordingContextMenu, MenuSaveRecording, t.text(MessageText::SaveRecording));
}

void buildOverviewPage(App& app, QWidget* page) {
    ui::Window& w = *app.mainWindow;
    const TextTables& t = app.texts;

    // The card's texts take typing only while editing, the only time they are kept (see
    // setViewMode).
    w.addLabel(KanjiLabel, page, {40, 30, 100, 20}, t.text(MainText::Kanji));
    w.addImage(KanjiView, page, {40, 50, 160, 160}, true);
    w.addTextField(UnicodeField, page, {40, 215, 60, 20}, {}, true, false);
    w.addButton(CopyButton, page, {140, 215, 60, 15}, t.text(MainText::Copy));
    w.addImage(StrokeView, page, {40, 240, 100, 100}, true);
    w.addPictureButton(AnimPlayButton, page, {170, 240, 30, 30},
                       app.resources.icon(ControlIcon::Start));
    w.addPictureButton(AnimPauseButton, page, {170, 280, 30, 30},
                       app.resources.icon(ControlIcon::Pause));
    w.addPictureButton(AnimStopButton, page, {170, 320, 30, 30},
                       app.resources.icon(ControlIcon::Stop));
    w.addLabel(IndexLabel, page, {110, 12, 65, 20}, t.text(MainText::SortOrder1), Qt::AlignHCenter);
    w.addTextField(IndexField, page, {180, 10, 50, 20}, {}, true);
    w.addLabel(JlptLabel, page, {250, 12, 60, 20}, t.text(MainText::Jlpt), Qt::AlignRight);
    w.addTextField(JlptField, page, {320, 10, 50, 20}, {}, true);
    w.addLabel(OnLabel, page, {220, 50, 190, 20}, t.text(MainText::OnYomi), Qt::AlignHCenter, true);
    w.addEditor(OnEditor, page, {220, 70, 190, 80}, {}, true)->setFont(app.resources.kanaFont);
    w.addLabel(KunLabel, page, {220, 170, 190, 20}, t.text(MainText::KunYomi), Qt::AlignHCenter,
               true);
    w.addEditor(KunEditor, page, {220, 190, 190, 180}, {}, true)->setFont(app.resources.kanaFont);
    w.addFrame(NoteFrame, page, {420, 0, 370, 410}, QString());
    w.addLabel(NoteLabel, page, {430, 10, 350, 20}, t.text(MainText::Mnemonic), Qt::AlignHCenter,
               true);
    w.addEditor(NoteEditor, page, {430, 30, 350, 160}, {}, true);
    for (int i = 0; i < 4; ++i) {
        w.addPictureButton(SoundButton1 + i, page, {440, 210 + 50 * i, 30, 30},
                           app.resources.icon(ControlIcon::Sound));
        w.addTextField(ExampleField1 + i, page, {480, 210 + 50 * i, 290, 30}, {}, true)
            ->setFont(app.resources.kanaFont);
    }
    // A component's meaning may be longer than the list is wide at a size its kanji can be read.
    w.addReportList(GenshiListView, page, {10, 420, 340, 160},
                    {{t.text(MainText::Genshi), 335, app.resources.listTextFont}},
                    {.wrapCells = true});
    w.addImage(SpareImage, page, {40, 470, 75, 76}, false)->lower();
    // The page ends at 623: the frame and the row of buttons below the Genshi list end there.
    w.addFrame(RecordingFrame, page, {420, 420, 370, 203}, t.text(MainText::VoiceRecording));
    w.addImage(RecordingImage1, page, {430, 460, 350, 50}, true);
    w.addImage(RecordingImage2, page, {430, 520, 350, 50}, true);
    w.addPictureButton(RecordStartButton, page, {430, 580, 40, 40},
                       app.resources.icon(ControlIcon::Start));
    w.addPictureButton(RecordStopButton, page, {480, 580, 40, 40},
                       app.resources.icon(ControlIcon::Stop));
    w.addPictureButton(FirstButton, page, {20, 583, 50, 40},
                       app.resources.icon(ControlIcon::First));
    w.addPictureButton(PreviousButton, page, {80, 583, 50, 40},
                       app.resources.icon(ControlIcon::Previous));
    w.addPictureButton(NextButton, page, {140, 583, 50, 40}, app.resources.icon(ControlIcon::Next));
    w.addPictureButton(LastButton, page, {200, 583, 50, 40}, app.resources.icon(ControlIcon::Last));
    w.addSpin(NumberSpin, page, {260, 588, 70, 30}, 0, 10);
}

void buildTrainingPage(App& app, QWidget* page) {
    ui::Window& w = *app.mainWindow;
    const TextTables& t = app.texts;

    w.addCheckBox(ManualBox, page, {620, 2, 150, 20}, t.text(TrainingText::Manual));

    // As wide as its frame: the page ends at 790.
    QWidget* full = w.addContainer(FullSettings, page, {620, 20, 170, 530});
    w.addFrame(FullSettingsFrame, full, {0, 0, 170, 530}, t.text(TrainingText::TrainingMode));
    w.addLabel(ShowLabel, full, {5, 35, 150, 20}, t.text(TrainingText::Show), Qt::AlignLeft, true);
    w.addCheckBox(ShowKanjiBox, full, {5, 55, 150, 20}, t.text(TrainingText::ShowKanji));
    w.addCheckBox(ShowOnBox, full, {5, 75, 150, 20}, t.text(TrainingText::ShowOnYomi));
    w.addCheckBox(ShowKunBox, full, {5, 95, 150, 20}, t.text(TrainingText::ShowKunYomi));
    w.addCheckBox(ShowMeaningBox, full, {5, 115, 150, 20}, t.text(TrainingText::ShowMeaning));
    w.addCheckBox(ShowSoundBox, full, {5, 135, 150, 20}, t.text(TrainingText::ShowPronunciation));
    w.addLabel(AskLabel, full, {5, 160, 150, 20}, t.text(TrainingText::AskFor), Qt::AlignLeft,
               true);
    w.addCheckBox(AskKanjiBox, full, {5, 180, 150, 20}, t.text(TrainingText::AskKanji));
    w.addCheckBox(AskOnBox, full, {5, 200, 150, 20}, t.text(TrainingText::AskOnYomi));
    w.addCheckBox(AskKunBox, full, {5, 220, 150, 20}, t.text(TrainingText::AskKunYomi));
    w.addCheckBox(AskMeaningBox, full, {5, 240, 150, 20}, t.text(TrainingText::AskMeaning));
    w.addLabel(ScopeLabel, full, {5, 265, 150, 20}, t.text(TrainingText::WhichKanji), Qt::AlignLeft,
               true);
    w.addOption(ScopeAll, full, {5, 285, 150, 20}, t.text(TrainingText::All));
    w.addOption(ScopeWorst, full, {5, 305, 90, 20}, t.text(TrainingText::Weakest));
    w.addOption(ScopeRange, full, {5, 325, 90, 20}, t.text(TrainingText::Range));
    w.addOption(ScopeJlpt, full, {5, 375, 80, 20}, t.text(TrainingText::Jlpt));
    w.addOption(ScopeSelection, full, {5, 395, 80, 20}, t.text(TrainingText::Selection));
    w.addOption(ScopeDue, full, {5, 415, 90, 20}, t.text(MessageText::DueScope));
    w.addLabel(RangeToLabel, full, {80, 355, 30, 20}, t.text(TrainingText::RangeTo));
    w.addOption(WorstAbsolute, full, {100, 300, 60, 20}, t.text(TrainingText::Absolute));
    w.addOption(WorstRelative, full, {100, 320, 60, 20}, t.text(TrainingText::Relative));
    // A typed number counts once it is complete: a change puts the bounds in order, and the
    // first digit of "12" would otherwise move the other bound.
    for (int id : {RangeStart, RangeEnd}) {
        w.addSpin(id, full, {id == RangeStart ? 5 : 100, 350, 50, 20}, 1, 10)
            ->setKeyboardTracking(false);
    }
    // Wide enough for a level's count of four digits, as "1  (1208)".
    w.addOption(Jlpt4, full, {100, 375, 66, 20}, t.text(TrainingText::Jlpt4));
    w.addOption(Jlpt3, full, {100, 395, 66, 20}, t.text(TrainingText::Jlpt3));
    w.addOption(Jlpt2, full, {100, 415, 66, 20}, t.text(TrainingText::Jlpt2));
    w.addOption(Jlpt1, full, {100, 435, 66, 20}, t.text(TrainingText::Jlpt1));
    w.addLabel(OrderLabel, full, {5, 465, 150, 20}, t.text(TrainingText::Order), Qt::AlignLeft,
               true);
    w.addOption(OrderIndex, full, {5, 485, 80, 20}, t.text(TrainingText::BySortOrder1));
    w.addOption(OrderRandom, full, {5, 505, 80, 20}, t.text(TrainingText::Random));

    QWidget* shortBox = w.addContainer(ShortSettings, page, {620, 20, 170, 530});
    w.addFrame(ShortSettingsFrame, shortBox, {0, 0, 170, 530}, t.text(TrainingText::TrainingMode));
    w.addCheckBox(ShortKanjiBox, shortBox, {5, 20, 150, 20}, t.text(TrainingText::ShowKanji));
    w.addCheckBox(ShortOnBox, shortBox, {5, 45, 150, 20}, t.text(TrainingText::ShowOnYomi));
    w.addCheckBox(ShortKunBox, shortBox, {5, 70, 150, 20}, t.text(TrainingText::ShowKunYomi));
    w.addCheckBox(ShortMeaningBox, shortBox, {5, 95, 150, 20}, t.text(TrainingText::ShowMeaning));

    w.addLabel(DueLabel, page, {450, 555, 260, 40}, QString(), Qt::AlignRight | Qt::AlignTop);
    w.addButton(StartButton, page, {720, 555, 60, 25}, t.text(TrainingText::Start));
    w.addButton(TrainingEndButton, page, {720, 585, 60, 25}, t.text(MainText::End));
    w.addButton(NextQuestionButton, page, {550, 120, 60, 25}, t.text(TrainingText::Next));
    w.addButton(CheckButton, page, {550, 260, 60, 25}, t.text(TrainingText::Check));

    w.addImage(QuestionImage, page, {40, 50, 160, 160}, true);
    const MainText labelTexts[3] = {MainText::OnYomi, MainText::KunYomi, MainText::CurrentKanji};
    const int shownLabels[3] = {ShownOnLabel, ShownKunLabel, ShownMeaningLabel};
    const int shown[3] = {ShownOn, ShownKun, ShownMeaning};
    const int answerLabels[3] = {AnswerOnLabel, AnswerKunLabel, AnswerMeaningLabel};
    const int answers[3] = {AnswerOn, AnswerKun, AnswerMeaning};
    const int marks[3] = {MarkOn, MarkKun, MarkMeaning};
    for (int i = 0; i < 3; ++i) {
        w.addLabel(shownLabels[i], page, {40, 240 + 110 * i, 160, 20}, t.text(labelTexts[i]),
                   Qt::AlignLeft, true);
        QPlainTextEdit* editor = w.addEditor(shown[i], page, {40, 260 + 110 * i, 160, 60});
        // The readings in kana large enough to tell ジ from シ; the meaning in German.
        if (shown[i] != ShownMeaning) {
            editor->setFont(app.resources.kanaFont);
        }
    }
    w.addPictureButton(QuestionSoundButton, page, {60, 570, 20, 20},
                       app.resources.icon(ControlIcon::Sound));
    for (int i = 0; i < 3; ++i) {
        w.addLabel(answerLabels[i], page, {290, 240 + 110 * i, 160, 20}, t.text(labelTexts[i]),
                   Qt::AlignLeft, true);
        QLineEdit* answer = w.addTextField(answers[i], page, {290, 260 + 110 * i, 160, 25});
        if (answers[i] != AnswerMeaning) {
            answer->setFont(app.resources.kanaFont);
        }
    }
    w.addWritingCanvas(CanvasImage, page, {290, 50, 160, 160});
    w.addImage(CanvasMark, page, {470, 115, 30, 30}, true);
    for (int i = 0; i < 3; ++i) {
        w.addImage(marks[i], page, {470, 250 + 110 * i, 30, 30}, true);
    }
    w.addCheckBox(LiveStrokesBox, page, {290, 214, 160, 20}, t.text(MessageText::LiveStrokes));
    // Below the reading fields, in the gap before the next field's label.
    w.addLabel(AlmostOn, page, {290, 287, 200, 20}, t.text(MessageText::AlmostRight));
    w.addLabel(AlmostKun, page, {290, 397, 200, 20}, t.text(MessageText::AlmostRight));
    // Right of the canvas, above its mark, while the learner writes.
    w.addLabel(StrokeSlipLabel, page, {455, 50, 160, 60}, QString(), Qt::AlignLeft | Qt::AlignTop)
        ->setWordWrap(true);
    // Below "Nächstes", shown with it after a check.
    w.addButton(UndoButton, page, {520, 150, 90, 25}, t.text(MessageText::UndoAnswer));
    w.addButton(EasyButton, page, {520, 180, 90, 25}, t.text(MessageText::EasyAnswer));
    // Left of "Start", below the due counts: offered when a run ends with mistakes.
    w.addButton(RetrainButton, page, {590, 598, 120, 25}, QString());
    w.setVisible(RetrainButton, false);
}

void buildListsPage(App& app, QWidget* page) {
    ui::Window& w = *app.mainWindow;
    QScrollArea* area =
        w.addScrollArea(GridArea, page, {20, 23, 670, 600}, {GridColumns * GridCellSize, 1240}, 10);
    w.addImageGrid(GridCells, area, GridColumns, GridCellSize);
}

void buildRightColumn(App& app) {
    ui::Window& w = *app.mainWindow;
    const TextTables& t = app.texts;
    w.addFrame(StatisticsFrame, nullptr, {810, 0, 180, 410}, t.text(MainText::StatisticsPanel));
    w.addLabel(ProfileLabel, nullptr, {810, 20, 60, 20}, t.text(MainText::Profile),
               Qt::AlignHCenter);
    w.addTextField(ProfileField, nullptr, {870, 20, 110, 20}, app.profile.profileName, true);
    w.addReportList(StatisticsList, nullptr, {815, 50, 165, 350},
                    {{t.text(MessageText::KanjiColumn), 35, app.resources.listKanjiFont},
                     {t.text(MessageText::CurrentColumn), 30},
                     {t.text(MessageText::OnColumn), 30},
                     {t.text(MessageText::KunColumn), 30},
                     {t.text(MessageText::MeaningColumn), 30}});
    w.addFrame(EditFrame, nullptr, {810, 420, 180, 200}, t.text(MainText::Mode));
    w.addButton(EditButton, nullptr, {880, 450, 100, 30}, t.text(MainText::EditKanji));
    w.addButton(EndButton, nullptr, {920, 630, 70, 30}, t.text(MainText::End));
    w.addLabel(SpareLabel, nullptr, {430, 440, 100, 20}, t.text(MainText::LastProfile))->lower();
}

}  // namespace

bool buildMainWindow(App& app) {
    app.mainWindow = std::make_unique<ui::Window>(app.ui, MainWindowId, app.windowTitle,
                                                  QSize(1000, 702), ui::WindowOptions{true});
    ui::Window& w = *app.mainWindow;
    buildMenus(app);
    // The two counts are short; the third field takes messages as long as "Liste optimiert: 6
    // zusammengeführt, 0 entfernt", the last the longest counters ("Übersetzung: … Serie: 2").
    w.addStatusBar({75, 95, 240, 190, 190, 210});

    const TextTables& t = app.texts;
    ui::TabPanel* panel =
        w.addPanel(Panel, nullptr, {5, 5, 800, 655},
                   {t.text(MessageText::OverviewTab), t.text(MessageText::TrainingTab),
                    t.text(MessageText::ListsTab)});
    buildOverviewPage(app, panel->page(pageIndex(ViewMode::Overview)));
    // The training page is made when it is first opened or one of its controls is first asked
    // for: most starts never open it.
    QWidget* trainingPage = panel->page(pageIndex(ViewMode::Training));
    w.addLater([&app, trainingPage] {
        buildTrainingPage(app, trainingPage);
        ui::Window& window = *app.mainWindow;
        window.setVisible(WorstAbsolute, false);
        window.setVisible(WorstRelative, false);
        window.setChecked(ManualBox, true);
        restTrainingControls(app);
    });
    panel->beforeShowingPage([&w](int page) {
        if (page == pageIndex(ViewMode::Training)) {
            w.buildPending();
        }
    });
    buildListsPage(app, panel->page(pageIndex(ViewMode::Lists)));
    w.addShortcut(QKeySequence(Qt::Key_F2), MenuKeyF2);
    // A text field with the focus keeps Ctrl+Z for its own undo; after a check the focus has left
    // the fields.
    w.addShortcut(QKeySequence::Undo, MenuUndoAnswer);
    w.addShortcut(QKeySequence(Qt::Key_F3), MenuEasyAnswer);
    buildRightColumn(app);

    panel->showPage(pageIndex(ViewMode::Overview));
    w.centreOnScreen();
    w.show();
    return true;
}
