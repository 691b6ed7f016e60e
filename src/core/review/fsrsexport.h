// The review log as the CSV that FSRS's optimiser reads:
// card_id,review_time,review_rating,review_state,review_duration.
#pragma once

#include "core/training/reviewlog.h"

#include <QByteArray>

#include <vector>

// The card of a kanji and kind: one id per pair, the same in every export.
qint64 fsrsCardId(qint32 code, AnswerKind kind);

// One line per answer of entries, the log's entries with undone answers left out as
// readReviewHistory gives them (seeds hold no single answers and undo records none, so both are
// passed over), in the log's order, after the heading line; UTF-8 with LF. review_time is in
// milliseconds since 1970 UTC; the rating is wrong 1, partly 2, right 3, easy 4; the state 1
// (learning) for a card's first answer, 3 (relearning) after a wrong answer until the next right or
// easy one, else 2 (review); the duration in milliseconds, 0 when the log does not know it.
QByteArray fsrsReviewCsv(const std::vector<ReviewEntry>& entries);
