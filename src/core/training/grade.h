// The grade of one answer, whoever gives it: the answer check, the handwriting grader, the
// learner, or a log replayed.
#pragma once

#include <QtGlobal>

// The numbers are those the review log stores, and index the result icons (Easy shows as Right).
// Easy counts as Right in the profile's counters and as Easy in the memory model.
enum class Grade : quint8 { Wrong = 0, Partly = 1, Right = 2, Easy = 3 };

// Right or Easy: what the profile counts as a right answer.
constexpr bool isRight(Grade grade) {
    return grade == Grade::Right || grade == Grade::Easy;
}
