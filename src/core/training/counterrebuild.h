// The profile's counters as the review log gives them: seeds and answers summed up per kanji and
// kind, for a merge and for a profile whose last save the log has overtaken.
#pragma once

#include "core/training/profilerecord.h"
#include "core/training/reviewlog.h"

#include <QTimeZone>

#include <unordered_map>

// Which kinds a rebuild writes into the profile.
enum class RebuildScope {
    // Every kind the log holds anything of: after a merge, when the log is the whole truth.
    Whole,
    // Only the kinds whose log holds more answers than the profile counts: answers given after
    // the profile's last save (a crash during a run) are counted, while a kind the log knows
    // less of (answers given while the log could not be written) keeps the profile's counters.
    Behind
};

// Before a merge makes the log the whole truth of the counters: a kind whose profile counts more
// answers than its log (answers given while the log could not be written, or a log begun
// without a seed) gets the difference into its seed, a new one when it has none, so rebuilding
// loses none of them. The log's entries are undone-filtered history; a new seed goes first.
void completeSeeds(std::vector<ReviewEntry>& history, const ProfileList& profile,
                   const QTimeZone& zone);

// Takes the log's entries in time order. Per kind: Right, Partly and Wrong are the first seed's
// counts plus the answers (Easy counts as Right); Quota follows from them by storedQuota; Series
// is the right answers since the last wrong one, plus the seed's series when no wrong answer
// follows the seed; LastAnswer is the latest time of the seed and the answers, converted to the
// local time the profile stores. A second seed of a kind (two profiles' logs merged) is passed
// over: its counts would count the same history twice. Undo records are passed over (the caller
// leaves undone answers out, see UndoFilter).
class CounterRebuild {
public:
    void take(const ReviewEntry& entry);

    // How many kinds the log holds anything of.
    size_t size() const { return tallies_.size(); }

    // Writes the rebuilt counters into the profile's records (kanji without a record are left
    // out); zone is the one the profile's local times are kept in. Returns how many kinds changed.
    int applyTo(ProfileList& profile, RebuildScope scope, const QTimeZone& zone) const;

private:
    struct Tally {
        qint64 right = 0;
        qint64 partly = 0;
        qint64 wrong = 0;
        qint64 series = 0;
        qint64 last = -1;
        bool seeded = false;
    };
    static AnswerStats statsOf(const Tally& tally, const QTimeZone& zone);
    std::unordered_map<quint64, Tally> tallies_;
};
