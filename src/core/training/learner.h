// The learner of a set: the profile's counters, the review log, the memory of each kanji and kind
// replayed from it, and the training choices kept beside the profile. What one answer means is
// decided here, once: an answer moves the counters, the log and the memory together, an undo takes
// them all back, and a merge rebuilds them all from the log.
//
// Where an answer stands in time. Every answer has its own time, and a seed stands at its kind's
// last answer before the log began. A merged answer older than its kind's seed (an imported
// history, another computer's answers from before this log began) is one the seed does not hold,
// as a seed sums up only the answers this profile counted itself; it is therefore counted on top
// of the seed's counts, and it takes its place in time order: the log is rewritten sorted by time,
// so the answer stands before the seed. Series then runs in time order through both (the older
// answer's rights join the seed's series unless a wrong answer lies between), LastAnswer is the
// latest time of all, and the memory replays every answer in time order: older answers first,
// from which the kind's state starts, so that the seed after them is passed over (it sums answers
// that cannot be placed in time, while those replayed can). No answer is counted twice (a merged
// answer equal to one in the log by type, kind, grade, time and code is not added, and a second
// seed of a kind is passed over) and none is lost (the log keeps every answer, and an undo record
// stays, so an answer undone here stays undone when another computer's copy of it arrives).
#pragma once

#include "base/files.h"
#include "core/training/counterrebuild.h"
#include "core/training/grade.h"
#include "core/training/gradedquestion.h"
#include "core/training/memorymodel.h"
#include "core/training/profilerecord.h"
#include "core/training/reviewlog.h"
#include "core/training/trainingchoices.h"

#include <QString>
#include <QTimeZone>

#include <optional>
#include <vector>

// The learner's files beside the profile.
struct LearnerFiles {
    // The review log, <profile>.rklog.
    QString log;
    // The training choices, <profile>.rktrain.
    QString choices;
};

// What loading met that the learner should be told of.
struct LearnerProblem {
    enum class Kind {
        // The log was no log: it is kept as backup, and a new one starts from the counters.
        LogDamaged,
        // The log could not be read (or kept aside): it is left as it is, and answers are kept
        // in memory only.
        LogUnusable,
        // The choices file was damaged or too large: it is kept as backup, the defaults apply.
        ChoicesDamaged
    };
    Kind kind = Kind::LogUnusable;
    QString path;
    // Where the damaged file went; empty for LogUnusable.
    QString backup;
    FileError error;
};

struct LearnerLoadReport {
    std::vector<LearnerProblem> problems;
    // Kinds whose counters the log was ahead of (answers after the profile's last save, as a
    // crash during a run leaves them), now brought up to date; the profile wants saving then.
    int kindsUpdated = 0;
};

// What loading reads of a learner's files before they meet the profile: the choices, and the log
// streamed into the memory and the counters' rebuild. Reading touches files only (a damaged one
// is renamed to .bak), so it may run on a worker while the set and the profile are read.
struct LearnerReading {
    enum class Log {
        // Read whole.
        Read,
        // None, or a damaged one put aside: a new one starts from the profile's counters.
        None,
        // There but unreadable: left as it is, and not written.
        Unusable
    };
    LearnerFiles files;
    TrainingChoices choices;
    bool choicesKept = false;
    MemoryModel model{DefaultMemoryParameters};
    MemoryStates states;
    CounterRebuild rebuild;
    Log log = Log::None;
    std::vector<LearnerProblem> problems;
};

class Learner;
struct LoadedLearner;

// What an undo took back: the question to ask again, and why the log could not take it back.
struct Undone {
    GradedQuestion question;
    std::optional<FileError> logFailure;
};

struct MergeOutcome {
    // Entries of the batch that the log did not hold, and those it held already.
    qint32 added = 0;
    qint32 duplicates = 0;
    // Entries the log cannot hold (a code or time out of range), left out.
    qint32 refused = 0;
};

class Learner {
public:
    // No profile in use: answers are counted nowhere and nothing is written.
    Learner() = default;

    // Loads the learner of a profile: reads its choices and streams its log, replaying the memory
    // and bringing counters the log is ahead of up to date; a profile without a log starts one
    // from its counters with its first answer. zone is the one the profile's local times are
    // kept in. Reads files only (a damaged one is renamed to .bak), so it may run on a worker.
    static LoadedLearner load(LearnerFiles files, ProfileList profile, const QTimeZone& zone);
    // The two halves of load: reading the files, and meeting the profile.
    static LearnerReading read(LearnerFiles files);
    static LoadedLearner load(LearnerReading reading, ProfileList profile, const QTimeZone& zone);

    bool active() const { return active_; }
    const ProfileList& profile() const { return profile_; }
    // For changes of the set (kanji added or removed) and the current record; answers go through
    // answer, undo and merge.
    ProfileList& profile() { return profile_; }
    const MemoryModel& model() const { return model_; }
    const MemoryStates& states() const { return states_; }
    const TrainingChoices& choices() const { return choices_; }
    // The choices were read from the learner's file or kept since: the training page restores
    // them instead of its defaults.
    bool choicesKept() const { return choicesKept_; }
    // The log could not be read or written: answers are kept in memory only, the file untouched.
    bool logBroken() const { return logBroken_; }

    // Counts a graded question into the profile, appends its answers to the log and moves the
    // memory on. A failure to write the log is returned; the answers count all the same, the log
    // is then left alone until the learner is loaded again.
    FileResult<void> answer(const GradedQuestion& question);
    // Takes the last graded question's answers back out of profile, log and memory, one level;
    // nothing when no question was answered since loading, the last undo or a merge.
    std::optional<Undone> undo();
    // Whether undo has a question to take back.
    bool canUndo() const { return last_.has_value(); }
    // The question undo would take back.
    std::optional<GradedQuestion> lastQuestion() const {
        return last_ ? std::optional(last_->question) : std::nullopt;
    }
    // Puts a batch of timed entries (answers, seeds, undos) into the log in time order, leaving
    // out those it holds already; the log is rewritten whole (as version 2) with the save helper,
    // and the counters and the memory are rebuilt from seeds and answers. Answers the profile
    // counts beyond its log (given while the log could not be written) join the kind's seed
    // first (completeSeeds), so the rebuild loses none. No undo reaches back across a merge.
    FileResult<MergeOutcome> merge(std::vector<ReviewEntry> batch);
    // Makes the appended answers durable: at the end of each run and at exit.
    FileResult<void> sync();

    // The log's entries with undone answers left out, read on demand: for export and the
    // optimiser. A profile whose log has not begun gives the seeds it will begin with.
    FileResult<std::vector<ReviewEntry>> history() const;
    // The memory replayed from the log with other parameters, for comparing them.
    FileResult<MemoryStates> statesWith(const MemoryParameters& parameters) const;
    // Keeps the choices in the file beside the profile (a failure is returned, the choices
    // apply anyway); with other memory parameters the memory is replayed with them.
    FileResult<void> keepChoices(const TrainingChoices& choices);

private:
    // What undo needs of the last question: the entries it logged and what it changed.
    struct LastQuestion {
        GradedQuestion question;
        std::vector<ReviewEntry> entries;
        // Per answer, in order: the kind's counters and memory before it (none: no record, or
        // no state yet).
        std::vector<std::optional<AnswerStats>> statsBefore;
        std::vector<std::optional<MemoryState>> statesBefore;
        bool logged = false;
        // The log's length before the answers, where a version 1 log is cut back to.
        qint64 logLengthBefore = 0;
    };

    FileResult<void> ensureLogOpen();
    void breakLog();

    bool active_ = false;
    LearnerFiles files_;
    QTimeZone zone_ = QTimeZone::utc();
    ProfileList profile_;
    TrainingChoices choices_;
    bool choicesKept_ = false;
    MemoryModel model_{DefaultMemoryParameters};
    MemoryStates states_;
    std::optional<ReviewLogWriter> log_;
    // The seeds of a profile that had no log, written when its first answer is.
    std::vector<ReviewEntry> pendingSeeds_;
    bool logBroken_ = false;
    bool unsynced_ = false;
    std::optional<LastQuestion> last_;
};

struct LoadedLearner {
    Learner learner;
    LearnerLoadReport report;
};
