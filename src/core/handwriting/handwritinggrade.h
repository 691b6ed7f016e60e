// The verdict on a kanji written with the mouse: the stroke matcher, with zinnia's candidates
// as a second opinion.
#pragma once

#include "core/handwriting/kanjirecognizer.h"
#include "core/handwriting/strokegrade.h"

#include <functional>
#include <vector>

struct HandwritingGrade {
    Grade verdict = Grade::Wrong;
    // Per drawn stroke, whether it matched; empty when there was no reference to match.
    std::vector<bool> drawnMatched;
    // What went wrong stroke by stroke, when the matcher can tell.
    std::vector<StrokeFault> faults;
    // zinnia's best candidates, best first, where the verdict asked for them; empty otherwise.
    std::vector<char32_t> candidates;
    bool hadReference = false;
};

// zinnia's candidates for the drawing being graded, best first.
using ReadCandidates = std::function<std::vector<char32_t>()>;

// With reference strokes the matcher decides, and a drawing close to its reference in every stroke
// is right when zinnia names the kanji first; without, zinnia does: right when the kanji is its
// first candidate, partly when among the others, wrong otherwise. reference may be nullptr.
// Reading zinnia costs far more than matching, so readCandidates is called only where the
// verdict depends on it, and at most once.
HandwritingGrade gradeHandwriting(const StrokeList& drawn, char32_t kanji,
                                  const StrokeList* reference,
                                  const ReadCandidates& readCandidates);
// The same with zinnia read on the spot; recognizer may be nullptr. width and height are the
// drawing surface's size.
HandwritingGrade gradeHandwriting(const StrokeList& drawn, char32_t kanji,
                                  const StrokeList* reference, const KanjiRecognizer* recognizer,
                                  int width, int height);
