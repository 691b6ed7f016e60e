// Tests of a training run without a window: the questions a scope builds, a run answered to its
// end, a run that loses kanji on the way, and a run without "Manuell" following the card.
#include "core/training/trainingsession.h"

#include "core/kanjiset/recordexpect.h"
#include "core/training/profilebuilders.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr qint32 Sun = 0x65E5;
constexpr qint32 Moon = 0x6708;
constexpr qint32 Fire = 0x706B;
constexpr qint32 Water = 0x6C34;
constexpr quint32 Noon = 1'700'000'000;

KanjiRecord kanji(qint32 idx1, qint32 code, const QString& on, const QString& meaning,
                  qint32 jlpt) {
    KanjiRecord record = makeKanji(idx1, code, on, jlpt);
    record.Bemerkung = meaning;
    return record;
}

// Four kanji and a new set's blank record; water has no meaning to ask.
KanjiSet fourKanji() {
    KanjiSet set;
    set.records = {kanji(1, Sun, u"ニチ"_s, u"Sonne"_s, 4), kanji(2, Moon, u"ゲツ"_s, u"Mond"_s, 4),
                   kanji(3, Fire, u"カ"_s, u"Feuer"_s, 3), kanji(4, Water, u"スイ"_s, {}, 4),
                   KanjiRecord{}};
    set.current = 0;
    return set;
}

TrainingSettings manualAsking(AskedKinds asked, TrainingScope scope = TrainingScope::All) {
    TrainingSettings settings;
    settings.manual = true;
    settings.scope = scope;
    settings.asked = asked;
    return settings;
}

std::vector<qint32> codesOf(const std::vector<TrainingItem>& questions) {
    std::vector<qint32> codes(questions.size());
    std::ranges::transform(questions, codes.begin(), &TrainingItem::Code);
    return codes;
}

const auto NoSeed = []() -> quint32 {
    ADD_FAILURE() << "a run in the set's order asked for a seed";
    return 0;
};

}  // namespace

TEST(TrainingSession, ScopesBuildOnlyQuestionsWithSomethingToAsk) {
    const KanjiSet set = fourKanji();
    ProfileList profile;
    profile.records = {profileRecord(Sun, answers(5, 0, 0)), profileRecord(Moon),
                       profileRecord(Fire), profileRecord(Water), profileRecord(0)};
    profile.records[0].KindOn.Quota = 100;
    const AskedKinds meaning{false, false, false, true};
    const AskedKinds on{false, true, false, false};

    // Water holds no meaning and the blank record nothing: neither is a question.
    EXPECT_EQ(codesOf(trainingQuestions(manualAsking(meaning), set, profile, {})),
              (std::vector{Sun, Moon, Fire}));
    EXPECT_EQ(codesOf(trainingQuestions(manualAsking(on), set, profile, {})),
              (std::vector{Sun, Moon, Fire, Water}));

    TrainingSettings range = manualAsking(on, TrainingScope::Range);
    range.range = {2, 3};
    EXPECT_EQ(codesOf(trainingQuestions(range, set, profile, {})), (std::vector{Moon, Fire}));

    TrainingSettings jlpt = manualAsking(meaning, TrainingScope::Jlpt);
    jlpt.jlptLevel = 4;
    EXPECT_EQ(codesOf(trainingQuestions(jlpt, set, profile, {})), (std::vector{Sun, Moon}));
    jlpt.jlptLevel = 0;
    EXPECT_TRUE(trainingQuestions(jlpt, set, profile, {}).empty());

    // The worst answered first; the blank record's profile entry is never asked.
    TrainingSettings worst = manualAsking(on, TrainingScope::Worst);
    worst.range = {1, 5};
    EXPECT_EQ(codesOf(trainingQuestions(worst, set, profile, {})),
              (std::vector{Moon, Fire, Water, Sun}));

    // The dialog's rows in their order; a single row, or a code the set lacks, asks nothing.
    const TrainingSettings chosen = manualAsking(on, TrainingScope::Selection);
    EXPECT_EQ(codesOf(trainingQuestions(chosen, set, profile, {Fire, 0x9F8D, Sun})),
              (std::vector{Fire, Sun}));
    EXPECT_TRUE(trainingQuestions(chosen, set, profile, {Fire}).empty());
    EXPECT_TRUE(trainingQuestions(manualAsking(on, TrainingScope::None), set, profile, {}).empty());
}

TEST(TrainingSession, ManualRunIsAnsweredToItsEvaluation) {
    KanjiSet set = fourKanji();
    ProfileList profile;
    profile.records = {profileRecord(Sun), profileRecord(Moon), profileRecord(Water)};
    const TrainingSettings settings = manualAsking({false, true, false, true});
    TrainingSession run;

    ASSERT_TRUE(run.plan(settings, trainingQuestions(settings, set, profile, {}), set, NoSeed));
    EXPECT_FALSE(run.running());
    EXPECT_EQ(run.trainingLast, 3);
    ASSERT_EQ(run.begin(settings, set), RunStep::Asking);
    EXPECT_EQ(set.current, 0);
    EXPECT_EQ(run.checkState, CheckState::Answering);

    // Right and wrong, graded into one question for the learner; the question is then checked.
    const AskedKinds onAndMeaning = questionKinds(set.records[0], settings.asked);
    const GradedQuestion sun = run.check(
        set.records[0], onAndMeaning, {u"nichi"_s, u"hi"_s, u"Mond"_s}, std::nullopt, Noon, 4200);
    EXPECT_EQ(sun,
              (GradedQuestion{Sun,
                              {{AnswerKind::On, Grade::Right}, {AnswerKind::Meaning, Grade::Wrong}},
                              Noon,
                              4200}));
    EXPECT_EQ(run.checkState, CheckState::Checked);

    // The kanji's grade, when it is asked, comes first.
    ASSERT_EQ(run.next(settings, set), RunStep::Asking);
    ASSERT_EQ(run.next(settings, set), RunStep::Asking);
    EXPECT_EQ(run.checkState, CheckState::Answering);
    EXPECT_EQ(set.records[static_cast<size_t>(set.current)].Unicode, Fire);
    const GradedQuestion fire = run.check(set.records[2], AskedKinds{true, true, false, false},
                                          {u"ka ke"_s, {}, {}}, Grade::Right, Noon + 9, 0);
    EXPECT_EQ(fire.answers, (std::vector<GradedAnswer>{{AnswerKind::Kanji, Grade::Right},
                                                       {AnswerKind::On, Grade::Partly}}));

    // Water is asked for its reading only.
    ASSERT_EQ(run.next(settings, set), RunStep::Asking);
    EXPECT_EQ(set.current, 3);
    EXPECT_EQ(questionKinds(set.records[3], settings.asked).count(), 1);
    run.check(set.records[3], questionKinds(set.records[3], settings.asked), {u"sui"_s, {}, {}},
              std::nullopt, Noon + 20, 0);

    EXPECT_EQ(run.runRight, 3);
    EXPECT_EQ(run.runWrong, 2);
    EXPECT_EQ(runningQuota(run.runRight, run.runWrong), 60);
    EXPECT_EQ(run.next(settings, set), RunStep::Ended);
    const RunTotals totals = run.totals();
    EXPECT_EQ(totals.right, 3);
    EXPECT_EQ(totals.partly, 1);
    EXPECT_EQ(totals.wrong, 1);
    run.end();
    EXPECT_FALSE(run.running());
    EXPECT_EQ(run.checkState, CheckState::NoRun);
    EXPECT_EQ(run.next(settings, set), RunStep::Unchanged);
}

TEST(TrainingSession, RunOfOneQuestionDoesNotBeginAndRandomOrderKeepsEveryQuestion) {
    KanjiSet set = fourKanji();
    TrainingSettings settings = manualAsking({false, true, false, false}, TrainingScope::Range);
    settings.range = {3, 3};
    TrainingSession run;
    EXPECT_FALSE(run.plan(settings, trainingQuestions(settings, set, {}, {}), set, NoSeed));

    settings.scope = TrainingScope::All;
    settings.randomOrder = true;
    int seeds = 0;
    ASSERT_TRUE(run.plan(settings, trainingQuestions(settings, set, {}, {}), set, [&seeds] {
        ++seeds;
        return 7u;
    }));
    EXPECT_EQ(seeds, 1);
    std::vector<qint32> codes = codesOf(run.trainingList);
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(codes, (std::vector{Sun, Moon, Water, Fire}));
}

TEST(TrainingSession, DroppedKanjiLeaveTheRun) {
    KanjiSet set = fourKanji();
    const TrainingSettings settings = manualAsking({false, true, false, false});
    TrainingSession run;
    ASSERT_TRUE(run.plan(settings, trainingQuestions(settings, set, {}, {}), set, NoSeed));
    ASSERT_EQ(run.begin(settings, set), RunStep::Asking);
    ASSERT_EQ(run.next(settings, set), RunStep::Asking);
    run.check(set.records[1], AskedKinds{false, true, false, false}, {u"getsu"_s, {}, {}},
              std::nullopt, Noon, 0);

    // A kanji the set still holds stays asked.
    EXPECT_EQ(run.drop(Fire, set, settings), DropStep::Unchanged);

    // A question already asked leaves the list; the current one stays with its answers.
    set.records.erase(set.records.begin());
    EXPECT_EQ(run.drop(Sun, set, settings), DropStep::ListChanged);
    EXPECT_EQ(run.trainingPos, 0);
    EXPECT_EQ(run.trainingLast, 2);
    EXPECT_EQ(run.trainingList[0].right, 1);

    // The current question goes: the next takes its place and is asked from its start.
    set.records.erase(set.records.begin());
    EXPECT_EQ(run.drop(Moon, set, settings), DropStep::QuestionDropped);
    ASSERT_EQ(run.ask(settings, set), RunStep::Asking);
    EXPECT_EQ(set.records[static_cast<size_t>(set.current)].Unicode, Fire);

    // A question the set lost without being dropped is passed over.
    set.records.erase(set.records.begin() + 1);
    EXPECT_EQ(run.next(settings, set), RunStep::Ended);

    // The last question of a run gone: the run ends.
    set = fourKanji();
    ASSERT_TRUE(
        run.plan(settings, {TrainingItem{.Code = Sun}, TrainingItem{.Code = Moon}}, set, NoSeed));
    ASSERT_EQ(run.begin(settings, set), RunStep::Asking);
    ASSERT_EQ(run.next(settings, set), RunStep::Asking);
    set.records.erase(set.records.begin() + 1);
    EXPECT_EQ(run.drop(Moon, set, settings), DropStep::Ended);
}

TEST(TrainingSession, WithoutManualTheCardsKanjiIsAskedWithTheSettingsOfTheMoment) {
    KanjiSet set = fourKanji();
    TrainingSettings settings;
    settings.asked = {false, false, false, true};
    TrainingSession run;
    ASSERT_TRUE(run.plan(settings, {}, set, NoSeed));
    ASSERT_EQ(run.begin(settings, set), RunStep::Asking);
    EXPECT_EQ(codesOf(run.trainingList), (std::vector{Sun}));

    // The learner moved on the card: that kanji is the next question.
    set.current = 2;
    ASSERT_EQ(run.next(settings, set), RunStep::Asking);
    EXPECT_EQ(codesOf(run.trainingList), (std::vector{Sun, Fire}));
    EXPECT_EQ(run.trainingLast, 1);

    // Water has no meaning; asked for its reading, as a click changed the box, it is a question.
    set.current = 3;
    settings.asked = {false, true, false, false};
    ASSERT_EQ(run.next(settings, set), RunStep::Asking);
    settings.asked = {false, false, false, true};
    EXPECT_EQ(run.next(settings, set), RunStep::Ended);

    // The blank record starts no run.
    set.current = 4;
    EXPECT_FALSE(run.plan(settings, {}, set, NoSeed));
}
