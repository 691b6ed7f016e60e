// Fuzz target for the review log reader and what is done with what it reads: nothing may crash,
// the records read come back byte for byte in their version, the counters rebuilt from them stay
// within their range, and the replayed memory and the due list stay within their bounds.
#include "core/training/counterrebuild.h"
#include "core/training/duelist.h"
#include "core/training/forecast.h"
#include "core/training/memorymodel.h"
#include "core/training/reviewlog.h"

#include "fuzzinput.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzzBytes(data, size);
    const auto content = parseReviewLog(bytes);
    if (!content) {
        return 0;
    }
    QByteArray again = reviewLogHeader(content->version);
    for (const ReviewEntry& entry : content->entries) {
        again += reviewRecordBytes(entry, content->version);
    }
    require(again == bytes.left(again.size()));
    require(content->torn == (again.size() != bytes.size()));

    const MemoryModel model;
    const MemoryStates states = replayReviews(content->entries, model);
    CounterRebuild rebuild;
    UndoFilter filter([&](const ReviewEntry& entry) { rebuild.take(entry); });
    for (const ReviewEntry& entry : content->entries) {
        filter.push(entry);
    }
    filter.finish();
    ProfileList profile;
    states.forEach([&](qint32 code, AnswerKind, const MemoryState&) {
        if (profileIndexOf(profile, code) < 0) {
            addProfileRecord(profile, code);
        }
    });
    rebuild.applyTo(profile, RebuildScope::Whole, QTimeZone::utc());
    for (const ProfileRecord& record : profile.records) {
        for (AnswerKind kind :
             {AnswerKind::On, AnswerKind::Kun, AnswerKind::Meaning, AnswerKind::Kanji}) {
            const AnswerStats& stats = record.stats(kind);
            require(stats.Right >= 0 && stats.Partly >= 0 && stats.Wrong >= 0);
            require(stats.Quota >= 0 && stats.Quota <= 100 && stats.Series >= 0);
        }
    }
    KanjiSet set;
    qint64 now = 0;
    states.forEach([&](qint32 code, AnswerKind kind, const MemoryState& state) {
        require(std::isfinite(state.stability) && state.stability > 0);
        require(state.difficulty >= 1 && state.difficulty <= 10);
        require(states.find(code, kind) == &state);
        now = std::max(now, state.lastReview);
        KanjiRecord record;
        record.Unicode = code;
        record.OnYomi = record.KunYomi = record.Bemerkung = QStringLiteral("x");
        set.records.push_back(record);
    });
    DueOptions options;
    options.asked = AskedKinds{true, true, true, true};
    options.now = now + SecondsPerDay;
    options.dayStart = now;
    const DueList list = dueList(set, states, model, options);
    require(list.dueCount() + list.newCount() <= set.size());
    for (const DueQuestion& question : list.due) {
        require(question.recall >= 0 && question.recall < options.retention);
    }
    const Forecast ahead =
        forecast(set, states, model, options.asked, options.retention, options.now, now);
    for (const LevelKnown& level : ahead.byLevel) {
        require(level.known >= 0 && level.known <= level.total);
    }
    return 0;
}
