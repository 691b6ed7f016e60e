// An Anki collection's review rows as answers of kanji and kinds, plain values ready to be
// merged into a learner's review log.
#pragma once

#include "core/review/ankicollection.h"
#include "core/review/ankimapping.h"
#include "core/training/reviewlog.h"

#include <QHash>

#include <span>
#include <vector>

struct TimedAnswer {
    qint32 code = 0;
    AnswerKind kind = AnswerKind::Meaning;
    Grade verdict = Grade::Wrong;
    // Milliseconds since 1970 UTC.
    qint64 time = 0;
    // How long the answer took, in milliseconds; 0 when unknown.
    qint32 duration = 0;

    bool operator==(const TimedAnswer&) const = default;
};

// The answers of the review rows of cards whose note is in codeOfNote, each of the kind its
// template (by position in templates) was given in kinds: ease 1 wrong, 2 partly, 3 right,
// 4 easy, at the row's time, with its duration. Rows without an answer (ease 0: manual,
// rescheduled, filtered without grading), of templates taken as Skip, or of cards the package
// does not hold give none. In the order of their times.
std::vector<TimedAnswer> ankiAnswers(const AnkiCollection& collection,
                                     const QHash<qint64, qint32>& codeOfNote,
                                     std::span<const AnkiTemplate> templates,
                                     std::span<const AnkiAnswerKind> kinds);

// The answer as an entry of the review log, whose times are whole seconds, ready for the
// learner's merge.
ReviewEntry reviewEntryOf(const TimedAnswer& answer);
