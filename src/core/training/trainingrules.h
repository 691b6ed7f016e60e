// The rules of a training run that need no window: which kinds a kanji is asked for, which kanji
// the worst-answered scope asks, the range of the "Spanne" scope, the shuffle, the running score
// and the short evaluation.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/shell/texttables.h"
#include "core/training/profilerecord.h"

#include <QString>

#include <random>
#include <utility>
#include <vector>

// The answer kinds a run asks for.
struct AskedKinds {
    bool kanji = false;
    bool on = false;
    bool kun = false;
    bool meaning = false;

    // The kanji counts as one kind, like each reading and the meaning.
    int count() const { return int(kanji) + int(on) + int(kun) + int(meaning); }
};

// The asked kinds a kanji can answer: a kind whose stored text is empty has no answer to
// compare with, and a record without a character cannot be written. A blank record answers none.
AskedKinds questionKinds(const KanjiRecord& record, AskedKinds asked);

// Whether a kanji is asked at all by a run asking these kinds.
bool isTrainingQuestion(const KanjiRecord& record, AskedKinds asked);

// The "Spanne" bounds, as 1-based positions of the set.
struct TrainingRange {
    qint32 start = 1;
    qint32 end = 1;
    bool operator==(const TrainingRange&) const = default;
};

// The range within a set of kanjiCount kanji with start not beyond end: an end beyond the set is
// the set's end, and a start beyond the end moves down to it.
TrainingRange clampedRange(TrainingRange range, qint32 kanjiCount);

// The codes of the n records with the lowest mean stored quota over the asked kinds, lowest first
// (equal scores keep the profile's order). Without asked kinds every score is 0.
std::vector<qint32> worstAnsweredCodes(const ProfileList& profile, AskedKinds asked, qint32 n);

// "Schlechtesten" asks range end kanji, or that percentage (at most 100) of the set.
qint32 worstCount(qint32 rangeEnd, bool relative, qint32 kanjiCount);

// As many random swaps of two questions as there are questions.
template <class T>
void shuffleQuestions(std::vector<T>& questions, std::mt19937& random) {
    if (questions.empty()) {
        return;
    }
    std::uniform_int_distribution<size_t> pick(0, questions.size() - 1);
    for (size_t i = 0; i < questions.size(); ++i) {
        const size_t a = pick(random);
        const size_t b = pick(random);
        std::swap(questions[a], questions[b]);
    }
}

// The running quota: right answers of the answers graded so far, in percent; partly right ones
// count as graded but not right. 0 before the first graded answer.
qint32 runningQuota(qint32 runRight, qint32 runWrong);

// Status field 3 during a run, e.g. "  +: 3     -: 1              (75 %)".
QString runningScoreText(const TextTables& texts, qint32 runRight, qint32 runWrong, qint32 quota);

// The four lines of the short evaluation, CR LF between them; empty when nothing was graded.
QString evaluationText(const TextTables& texts, qint32 right, qint32 partly, qint32 wrong);
