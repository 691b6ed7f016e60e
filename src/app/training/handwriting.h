// Grading a kanji written on the canvas: KanjiVG's reference strokes and zinnia's recogniser,
// each loaded the first time it is needed, so a learner who never writes pays nothing for them.
#pragma once

#include "core/handwriting/handwritinggrade.h"
#include "core/handwriting/strokelibrary.h"

#include <QString>

struct App;
class TextTables;

// Fills WritingCanvas with white and forgets the strokes.
void clearWritingCanvas(App& app);

// The kanji's strokes in writing order from the working folder's stroke file, or nullptr.
const StrokeList* referenceStrokes(App& app, qint32 code);
const KanjiRecognizer* kanjiRecognizer(App& app);

// Starts reading what the canvas holds with zinnia on a worker, for the grading to come.
void readWrittenKanjiAhead(App& app);
// Grades what the canvas holds as the kanji with that code and redraws the canvas to show how:
// the reference strokes grey and numbered beneath, each drawn stroke green or red over them.
HandwritingGrade gradeWrittenKanji(App& app, qint32 code);

// The lines the "Kanji überprüfen" question adds below its text: the verdict and what the
// recogniser read.
QString handwritingVerdictText(const TextTables& texts, const HandwritingGrade& grade);
