// The step a graded question takes in core: checked in the run, counted for the learner, and what
// the page shows after it worked out.
#include "core/training/trainingstep.h"

#include "core/training/schedulefuzz.h"

#include "core/training/trainingrules.h"

namespace {

qint32 quotaOfCounts(const AnswerStats& stats) {
    return qint64(stats.Right) + stats.Wrong >= 1 ? storedQuota(stats.Right, stats.Wrong) : 0;
}

}  // namespace

std::vector<RunRow> runRows(const TrainingSession& run, const ProfileList& profile) {
    std::vector<RunRow> rows;
    for (qint32 i = 0; i <= run.trainingPos && i < static_cast<qint32>(run.trainingList.size());
         ++i) {
        const TrainingItem& item = run.trainingList[static_cast<size_t>(i)];
        RunRow row{kanjiText(item.Code), item.right, item.wrong, {}};
        const int found = profileIndexOf(profile, item.Code);
        if (found >= 0) {
            const ProfileRecord& record = profile.records[static_cast<size_t>(found)];
            row.quotas = {quotaOfCounts(record.KindOn), quotaOfCounts(record.KindKun),
                          quotaOfCounts(record.KindMeaning)};
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

DueList learnerDueList(const Learner& learner, const KanjiSet& set, AskedKinds asked,
                       const QDateTime& localNow) {
    const qint64 now = localNow.toSecsSinceEpoch();
    DueOptions options;
    options.asked = asked;
    options.retention = learner.choices().retention;
    options.now = now;
    options.dayStart = learnerDayStart(now, localNow.timeZone());
    options.newPerDay = learner.choices().newPerDay;
    const DueSchedule schedule =
        scheduleDue(learner.states(), learner.model(), options.retention, options.dayStart);
    options.schedule = &schedule;
    return dueList(set, learner.states(), learner.model(), options);
}

DueCounts dueCounts(const Learner& learner, const KanjiSet& set, AskedKinds asked,
                    const QDateTime& localNow) {
    const DueList due = learnerDueList(learner, set, asked, localNow);
    return {due.dueCount(), due.newCount(), due.nextDue};
}

CheckedQuestion checkQuestion(TrainingSession& run, Learner& learner, const KanjiSet& set,
                              const TrainingSettings& settings, const TypedAnswers& typed,
                              const std::function<Grade(qint32 code)>& gradeKanji,
                              const QDateTime& localNow, qint32 durationMs) {
    CheckedQuestion checked;
    const qint32 code = run.trainingList[static_cast<size_t>(run.trainingPos)].Code;
    const int position = questionPosition(set, code);
    if (position < 0) {
        return checked;
    }
    const KanjiRecord& record = set.records[static_cast<size_t>(position)];
    const AskedKinds asked = questionKinds(record, run.askedKinds(settings));
    // A kanji graded by an earlier check of the question, before a reading waited, is not
    // written again.
    const std::optional<Grade> kanji =
        asked.kanji && !run.gradedKinds.kanji ? std::optional(gradeKanji(code)) : std::nullopt;
    checked.checked = true;
    checked.graded = run.check(record, asked, typed, kanji, localNow.toSecsSinceEpoch(), durationMs,
                               learner.choices().lenientTypos);
    for (AnswerKind kind : {AnswerKind::On, AnswerKind::Kun}) {
        if (asksKind(asked, kind) && !asksKind(run.gradedKinds, kind)) {
            addKind(checked.waiting, kind);
        }
    }
    checked.logged = learner.answer(checked.graded);
    checked.runRight = run.runRight;
    checked.runWrong = run.runWrong;
    checked.runQuota = runningQuota(run.runRight, run.runWrong);
    checked.rows = runRows(run, learner.profile());
    if (learner.active()) {
        checked.due = dueCounts(learner, set, settings.asked, localNow);
    }
    return checked;
}
