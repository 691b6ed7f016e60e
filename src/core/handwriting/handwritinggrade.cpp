// The verdict on a kanji written with the mouse: the stroke matcher, with zinnia's candidates
// as a second opinion.
#include "core/handwriting/handwritinggrade.h"

#include <algorithm>

namespace {

Grade verdictOfCandidates(const std::vector<char32_t>& candidates, char32_t kanji) {
    if (!candidates.empty() && candidates.front() == kanji) {
        return Grade::Right;
    }
    return std::ranges::find(candidates, kanji) != candidates.end() ? Grade::Partly : Grade::Wrong;
}

}  // namespace

HandwritingGrade gradeHandwriting(const StrokeList& drawn, char32_t kanji,
                                  const StrokeList* reference,
                                  const ReadCandidates& readCandidates) {
    HandwritingGrade grade;
    // An empty stroke list is as good as none: there is nothing to compare stroke by stroke.
    grade.hadReference = reference && !reference->empty();
    if (!grade.hadReference) {
        grade.candidates = readCandidates();
        grade.verdict = verdictOfCandidates(grade.candidates, kanji);
        return grade;
    }
    StrokeGrade strokes = gradeStrokes(drawn, *reference);
    grade.verdict = strokes.verdict;
    grade.drawnMatched = std::move(strokes.drawnMatched);
    grade.faults = std::move(strokes.faults);
    // Every stroke close to its reference in order, and zinnia reads the kanji too: the
    // differences are the writer's proportions, not a wrong stroke.
    if (grade.verdict != Grade::Right && strokes.closeInOrder) {
        grade.candidates = readCandidates();
        if (!grade.candidates.empty() && grade.candidates.front() == kanji) {
            grade.verdict = Grade::Right;
            grade.drawnMatched.assign(grade.drawnMatched.size(), true);
            grade.faults.clear();
        }
    }
    return grade;
}

HandwritingGrade gradeHandwriting(const StrokeList& drawn, char32_t kanji,
                                  const StrokeList* reference, const KanjiRecognizer* recognizer,
                                  int width, int height) {
    return gradeHandwriting(drawn, kanji, reference, [&] {
        return recognizer ? recognizer->candidates(drawn, width, height) : std::vector<char32_t>{};
    });
}
