// The learner's verdict on a kanji written on the canvas: right, partly or wrong, the grader's
// verdict offered first.
#pragma once

#include "core/handwriting/handwritinggrade.h"

struct App;

// Shows the grader's verdict in words and lets the learner choose; Enter and the close box take
// the grader's verdict.
Grade confirmKanjiVerdict(App& app, const HandwritingGrade& grade);
