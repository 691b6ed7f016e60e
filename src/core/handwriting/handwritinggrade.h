// The verdict on a kanji written with the mouse: the stroke matcher, with zinnia's candidates
// as a second opinion.
#pragma once

#include "core/handwriting/kanjirecognizer.h"
#include "core/handwriting/strokegrade.h"

#include <vector>

struct HandwritingGrade {
    HandwritingVerdict verdict = HandwritingVerdict::Wrong;
    // Per drawn stroke, whether it matched; empty when there was no reference to match.
    std::vector<bool> drawnMatched;
    // What went wrong stroke by stroke, when the matcher can tell.
    std::vector<StrokeFault> faults;
    // zinnia's best candidates, best first; empty without a recognizer.
    std::vector<char32_t> candidates;
    bool hadReference = false;
};

// With reference strokes the matcher decides, and a drawing close to its reference in every stroke
// is right when zinnia names the kanji first; without, zinnia does: right when the kanji is its
// first candidate, partly when among the others, wrong otherwise. recognizer and reference may be
// nullptr. width and height are the drawing surface's size.
HandwritingGrade gradeHandwriting(const StrokeList& drawn, char32_t kanji,
                                  const StrokeList* reference, const KanjiRecognizer* recognizer,
                                  int width, int height);
