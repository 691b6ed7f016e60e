// The application state: everything the program keeps for the whole run, owned by main.
#pragma once

#include "core/kanjiset/genshilist.h"
#include "core/kanjiset/kanjirecord.h"
#include "core/shell/texttables.h"
#include "core/training/profilerecord.h"
#include "ui/toolkit.h"
#include "ui/window.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <array>
#include <memory>

class QMenu;

constexpr int ControlIconCount = 11;

enum ControlIcon : int {
    IconSound,
    IconFirst,
    IconPrevious,
    IconNext,
    IconLast,
    IconStart,
    IconStop,
    IconPause,
    IconWrong,
    IconPartly,
    IconOk,
};

struct App {
    // Paths end with "/"; every path the program uses starts from WorkDir.
    QString WorkDir;
    QString MediaDir;
    QString WindowTitle = QStringLiteral("Renkari");
    QString SetName;
    QString ProfileName;
    QString ImportPath;
    QString ExportPath;
    QString Language;

    qint32 ViewMode = 0;
    qint32 CurrentIndex = 0;
    qint32 KanjiCount = 0;

    qint32 AnimState = 0;
    qint32 AnimFrame = 0;
    qint32 AnimKanji = 0;
    qint64 AnimLastTick = 0;
    qint32 AnimFrameDelay = 1000;
    // The frame StrokeView shows, copied out of the current kanji's strip.
    QImage AnimDisplay;

    QImage WritingCanvas;
    qint32 LastPenX = -1;
    qint32 LastPenY = -1;

    QFont KanjiFont;
    QFont GenshiFont;
    std::array<QImage, ControlIconCount> ControlIcons;
    std::array<QColor, 6> QuoteColours;
    TextTables texts;

    KanjiSet kanjiSet;
    ProfileList profileList;
    std::vector<GenshiEntry> genshiList;

    qint32 ProfileRecordPending = 1;
    qint32 TrainingPos = -1;
    qint32 TrainingLast = -1;
    qint32 CheckState = 0;

    // The set file named by SetName exists but could not be read: it must not be replaced by
    // an empty set, and is kept as a backup before anything else is saved under its name.
    bool setFileUnreadable = false;
    // The loop ends after the pass that sees this.
    bool endRequested = false;
    // The control of the last control action; a menu command clears it.
    int LastEventControl = -1;

    ui::Toolkit ui;
    std::unique_ptr<ui::Window> mainWindow;
    QMenu* gridContextMenu = nullptr;
};
