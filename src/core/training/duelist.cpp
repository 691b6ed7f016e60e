// "Fällig": the kanji whose recall has fallen below the desired retention, and the new ones a
// day takes on.
#include "core/training/duelist.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <limits>

bool asksKind(AskedKinds kinds, AnswerKind kind) {
    switch (kind) {
        case AnswerKind::On:
            return kinds.on;
        case AnswerKind::Kun:
            return kinds.kun;
        case AnswerKind::Meaning:
            return kinds.meaning;
        case AnswerKind::Kanji:
            break;
    }
    return kinds.kanji;
}

void addKind(AskedKinds& kinds, AnswerKind kind) {
    switch (kind) {
        case AnswerKind::On:
            kinds.on = true;
            return;
        case AnswerKind::Kun:
            kinds.kun = true;
            return;
        case AnswerKind::Meaning:
            kinds.meaning = true;
            return;
        case AnswerKind::Kanji:
            kinds.kanji = true;
            return;
    }
}

qint64 learnerDayStart(qint64 now, const QTimeZone& zone) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(now, zone);
    QDate day = local.date();
    if (local.time() < QTime(4, 0)) {
        day = day.addDays(-1);
    }
    return QDateTime(day, QTime(4, 0), zone).toSecsSinceEpoch();
}

DueList dueList(const KanjiSet& set, const MemoryStates& states, const MemoryModel& model,
                const DueOptions& options) {
    // The interval grows in proportion to stability, so one factor tells every kind's due time.
    const double daysPerStability = model.intervalDays(1.0, options.retention);
    DueList list;
    std::vector<DueQuestion> fresh;
    for (const KanjiRecord& record : set.records) {
        const AskedKinds kinds = questionKinds(record, options.asked);
        if (kinds.count() == 0) {
            continue;
        }
        DueQuestion question{record.Unicode, {}, 1.0};
        AskedKinds unanswered;
        bool answered = false;
        // Recall falls as elapsed time over stability grows: the largest ratio is the lowest
        // recall, worked out once per kanji.
        double overdue = 0;
        qint64 firstAnswer = std::numeric_limits<qint64>::max();
        for (AnswerKind kind : AllAnswerKinds) {
            if (!asksKind(kinds, kind)) {
                continue;
            }
            const MemoryState* found = states.find(record.Unicode, kind);
            if (found == nullptr) {
                addKind(unanswered, kind);
                continue;
            }
            const MemoryState& state = *found;
            answered = true;
            firstAnswer = std::min(firstAnswer, state.firstReview);
            const double elapsed = double(options.now - state.lastReview) / SecondsPerDay;
            const double interval = state.stability * daysPerStability;
            const std::optional<qint64> scheduled =
                options.schedule ? options.schedule->dueTime(record.Unicode, kind) : std::nullopt;
            if (scheduled ? options.now >= *scheduled : elapsed >= interval) {
                addKind(question.kinds, kind);
                overdue = std::max(overdue, elapsed / state.stability);
            } else {
                const qint64 due =
                    scheduled
                        ? *scheduled
                        : state.lastReview + qint64(std::ceil(interval * double(SecondsPerDay)));
                list.nextDue = list.nextDue ? std::min(*list.nextDue, due) : due;
            }
        }
        if (!answered) {
            fresh.push_back(DueQuestion{record.Unicode, kinds, 0.0});
            continue;
        }
        if (firstAnswer >= options.dayStart) {
            ++list.begunToday;
        }
        if (question.kinds.count() > 0) {
            question.recall = model.recall(1.0, overdue);
            for (AnswerKind kind : AllAnswerKinds) {
                if (asksKind(unanswered, kind)) {
                    addKind(question.kinds, kind);
                }
            }
            list.due.push_back(question);
        }
    }
    std::stable_sort(
        list.due.begin(), list.due.end(),
        [](const DueQuestion& a, const DueQuestion& b) { return a.recall > b.recall; });
    const auto room = size_t(std::max(0, options.newPerDay - list.begunToday));
    fresh.resize(std::min(fresh.size(), room));
    list.fresh = std::move(fresh);
    return list;
}
