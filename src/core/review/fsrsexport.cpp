// The review log as the CSV that FSRS's optimiser reads.
#include "core/review/fsrsexport.h"

#include <QHash>

namespace {

enum class CardState { Learning = 1, Review = 2, Relearning = 3 };

}  // namespace

qint64 fsrsCardId(qint32 code, AnswerKind kind) {
    return qint64(code) * 4 + static_cast<int>(kind);
}

QByteArray fsrsReviewCsv(const std::vector<ReviewEntry>& entries) {
    QByteArray csv("card_id,review_time,review_rating,review_state,review_duration\n");
    csv.reserve(csv.size() + qsizetype(entries.size()) * 40);
    // The state each card's next answer is given in.
    QHash<qint64, CardState> next;
    for (const ReviewEntry& entry : entries) {
        if (entry.type != ReviewEntryType::Answer) {
            continue;
        }
        const qint64 card = fsrsCardId(entry.code, entry.kind);
        const CardState state = next.value(card, CardState::Learning);
        const bool wrong = entry.verdict == Grade::Wrong;
        const bool right = isRight(entry.verdict);
        next.insert(card, wrong                                     ? CardState::Relearning
                          : right || state != CardState::Relearning ? CardState::Review
                                                                    : CardState::Relearning);
        csv += QByteArray::number(card) + ',' + QByteArray::number(entry.time * 1000) + ',' +
               QByteArray::number(static_cast<int>(entry.verdict) + 1) + ',' +
               QByteArray::number(static_cast<int>(state)) + ',' +
               QByteArray::number(entry.durationMs) + '\n';
    }
    return csv;
}
