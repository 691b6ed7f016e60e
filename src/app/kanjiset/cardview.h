// The card of the current kanji, moving through the set, the stroke-order animation and the grid.
#pragma once

#include "core/handwriting/strokestrip.h"
#include "core/kanjiset/kanjirecord.h"

#include <QImage>
#include <QString>

struct App;

// Whether the record's kanji can be animated: it names a strip of its own, or its reference
// strokes are known, from which a strip is drawn.
bool hasStrokeOrder(App& app, const KanjiRecord& record);
// The folder of the open set's stroke-order strips, and the file of the record's strip: one
// 100 x 100 frame per stroke, side by side.
QString strokeStripFolder(const App& app);
QString strokeStripPath(const App& app, const KanjiRecord& record);
// Where the picture cache knows the record's strip from: its file, or empty for a strip drawn
// from the reference strokes.
QString strokeStripSource(const App& app, const KanjiRecord& record);
// The record's stroke-order strip, drawn from the reference strokes when the record names none;
// null when there is neither. A strip not yet cached is made for this use only, so printing
// thousands of kanji does not keep thousands of strips in memory.
QImage strokeStripOf(App& app, const KanjiRecord& record);
constexpr int StrokeFrameSize = StripFrameSize;

// Makes the kanji at index current and fills the card; returns the current position.
// An index outside the set keeps the current kanji.
int showKanji(App& app, int index);
// Moves by n positions, stopping at either end, and shows the kanji reached.
int stepKanji(App& app, int n);
// Makes the first kanji with that code current; false, and the current kanji kept, when the set
// holds none.
bool findKanjiByCode(App& app, qint32 code);
// Shows the first kanji with that code on the card; when the set holds none, the card keeps its
// kanji and the status bar says so.
void showKanjiByCode(App& app, qint32 code);
// Draws the current kanji's strip that waited for the window's first drawing, if one did.
void showStripThatWaited(App& app);
// The card of an empty set: nothing shown, nothing to animate.
void clearCard(App& app);

void animationFirstFrame(App& app);
void animationTick(App& app);

// The card's rows of the current kanji's Genshi.
void showGenshiRows(App& app);
// Gives the lists page one cell per kanji; cells are drawn when they come into view.
void fillGrid(App& app);
