// Grading a kanji written on the canvas: KanjiVG's reference strokes and zinnia's recogniser,
// each loaded the first time it is needed, so a learner who never writes pays nothing for them.
#pragma once

#include "core/handwriting/handwritinggrade.h"
#include "core/handwriting/strokelibrary.h"

#include <QString>

class HandwritingAids;
class TextTables;
struct WritingPad;

// A press on the canvas that does not move, such as the click that takes up the pen, leaves a
// point and no stroke: the learner never meant it as one of the kanji's strokes.
bool isClick(const Stroke& stroke);
StrokeList withoutClicks(const StrokeList& strokes);

// Fills the canvas with white and forgets the strokes.
void clearWritingCanvas(WritingPad& pad);

// Starts reading what the canvas holds with zinnia on a worker, for the grading to come.
void readWrittenKanjiAhead(HandwritingAids& aids, const WritingPad& pad);
// Grades what the canvas holds as the kanji with that code and redraws the canvas to show how:
// the reference strokes grey and numbered beneath, each drawn stroke green or red over them.
HandwritingGrade gradeWrittenKanji(HandwritingAids& aids, WritingPad& pad, qint32 code);

// The lines the "Kanji überprüfen" question adds below its text: the verdict and what the
// recogniser read.
QString handwritingVerdictText(const TextTables& texts, const HandwritingGrade& grade);
