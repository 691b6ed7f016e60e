// Tests of telling problem kanji from the answers of the review log.
#include "core/training/problemkanji.h"

#include <gtest/gtest.h>

namespace {

using V = Grade;

const qint32 Water = U'水';
const qint32 Sun = U'日';
const qint32 Gold = U'金';

void answer(std::vector<ReviewEntry>& log, qint32 code, AnswerKind kind,
            std::initializer_list<V> verdicts) {
    for (const V verdict : verdicts) {
        log.push_back(answerEntry(static_cast<qint64>(log.size()) + 1000, code, kind, verdict));
    }
}

TEST(ProblemKanji, EightLapsesInOneKindMakeAProblemKanji) {
    std::vector<ReviewEntry> log;
    // 水: eight times right then wrong in its Kun reading, the last one after a seed.
    for (int i = 0; i < 7; ++i) {
        answer(log, U'水', AnswerKind::Kun, {V::Right, V::Wrong});
    }
    ReviewEntry seed;
    seed.type = ReviewEntryType::Seed;
    seed.code = U'水';
    seed.kind = AnswerKind::Kun;
    seed.right = 30;
    seed.wrong = 30;
    log.push_back(seed);
    answer(log, U'水', AnswerKind::Kun, {V::Easy, V::Wrong});
    // 日: seven lapses only, and wrong answers in a row count once.
    for (int i = 0; i < 7; ++i) {
        answer(log, U'日', AnswerKind::On, {V::Right, V::Wrong, V::Wrong});
    }
    // 火: eight lapses, but spread over two kinds.
    for (int i = 0; i < 4; ++i) {
        answer(log, U'火', AnswerKind::On, {V::Right, V::Wrong});
        answer(log, U'火', AnswerKind::Meaning, {V::Right, V::Wrong});
    }
    // 木: wrong after partly right is no lapse; right answers in other kinds do not count.
    for (int i = 0; i < 9; ++i) {
        answer(log, U'木', AnswerKind::Kanji, {V::Partly, V::Wrong});
        answer(log, U'木', AnswerKind::On, {V::Right});
        answer(log, U'木', AnswerKind::Kanji, {V::Wrong});
    }
    // 金: the eighth lapse comes in its last answer.
    for (int i = 0; i < 8; ++i) {
        answer(log, U'金', AnswerKind::Kanji, {V::Right, V::Partly, V::Right, V::Wrong});
    }
    const std::unordered_set<qint32> problems = problemKanji(log);
    EXPECT_EQ(problems, (std::unordered_set<qint32>{Water, Gold}));

    log.pop_back();
    EXPECT_EQ(problemKanji(log), (std::unordered_set<qint32>{Water}));
    EXPECT_EQ(problemKanji(log, 7), (std::unordered_set<qint32>{Water, Sun, Gold}));
}

}  // namespace
