// An Anki collection's review rows as answers of kanji and kinds.
#include "core/review/ankihistory.h"

#include <algorithm>

namespace {

std::optional<Grade> verdictOfEase(int ease) {
    switch (ease) {
        case 1:
            return Grade::Wrong;
        case 2:
            return Grade::Partly;
        case 3:
            return Grade::Right;
        case 4:
            return Grade::Easy;
        default:
            return std::nullopt;
    }
}

// The log stores times before the year 10000 only.
constexpr qint64 LatestTimeMs = qint64(253402300799) * 1000;

}  // namespace

std::vector<TimedAnswer> ankiAnswers(const AnkiCollection& collection,
                                     const QHash<qint64, qint32>& codeOfNote,
                                     std::span<const AnkiTemplate> templates,
                                     std::span<const AnkiAnswerKind> kinds) {
    QHash<int, AnswerKind> kindOfOrd;
    for (size_t i = 0; i < std::min(templates.size(), kinds.size()); ++i) {
        if (const std::optional<AnswerKind> kind = profileKindOf(kinds[i])) {
            kindOfOrd.insert(templates[i].ord, *kind);
        }
    }
    struct CardAnswer {
        qint32 code;
        AnswerKind kind;
    };
    QHash<qint64, CardAnswer> cards;
    for (const AnkiCard& card : collection.cards) {
        const auto code = codeOfNote.constFind(card.note);
        const auto kind = kindOfOrd.constFind(card.ord);
        if (code != codeOfNote.constEnd() && kind != kindOfOrd.constEnd()) {
            cards.insert(card.id, {*code, *kind});
        }
    }
    std::vector<TimedAnswer> answers;
    for (const AnkiReview& review : collection.reviews) {
        const std::optional<Grade> verdict = verdictOfEase(review.ease);
        const auto card = cards.constFind(review.card);
        if (!verdict || card == cards.constEnd() || review.time <= 0 ||
            review.time > LatestTimeMs) {
            continue;
        }
        answers.push_back({card->code, card->kind, *verdict, review.time, review.duration});
    }
    std::stable_sort(answers.begin(), answers.end(),
                     [](const TimedAnswer& a, const TimedAnswer& b) { return a.time < b.time; });
    return answers;
}

ReviewEntry reviewEntryOf(const TimedAnswer& answer) {
    return answerEntry(answer.time / 1000, answer.code, answer.kind, answer.verdict,
                       answer.duration);
}
