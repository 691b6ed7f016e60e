// The forecast: reviews falling due per day ahead, and the share of kanji known now per JLPT
// level.
#include "core/training/forecast.h"

#include "core/training/duelist.h"

#include <algorithm>
#include <limits>

Forecast forecast(const KanjiSet& set, const MemoryStates& states, const MemoryModel& model,
                  AskedKinds asked, double retention, qint64 now, qint64 dayStart) {
    Forecast result;
    for (const KanjiRecord& record : set.records) {
        const AskedKinds kinds = questionKinds(record, asked);
        if (kinds.count() == 0) {
            continue;
        }
        LevelKnown& level = result.byLevel[size_t(std::clamp(record.Idx2, 0, 4))];
        ++level.total;
        bool known = true;
        bool answered = false;
        qint64 firstDue = std::numeric_limits<qint64>::max();
        for (AnswerKind kind : AllAnswerKinds) {
            if (!asksKind(kinds, kind)) {
                continue;
            }
            const MemoryState* found = states.find(record.Unicode, kind);
            if (found == nullptr) {
                known = false;
                continue;
            }
            answered = true;
            known = known && model.recallAt(*found, now) >= KnownRecall;
            firstDue = std::min(firstDue, model.dueTime(*found, retention));
        }
        level.known += known ? 1 : 0;
        if (!answered) {
            continue;
        }
        const qint64 day = firstDue < dayStart ? 0 : (firstDue - dayStart) / SecondsPerDay;
        if (day < ForecastDays) {
            ++result.duePerDay[size_t(day)];
        }
    }
    return result;
}
