// The learner of a set: one answer moves profile, log and memory together.
#include "core/training/learner.h"

#include <QFile>

#include <algorithm>
#include <unordered_set>

namespace {

// Moves a damaged file aside as path + ".bak", replacing an older backup.
FileResult<QString> putAside(const QString& path) {
    const QString backup = path + QStringLiteral(".bak");
    QFile::remove(backup);
    QFile file(path);
    if (!file.rename(backup)) {
        return unexpected(FileError{FileErrorKind::Other, file.errorString()});
    }
    return backup;
}

// Reads the log a piece at a time into the memory and the counters' rebuild.
FileResult<ReviewLogShape> replayLog(const QString& path, const MemoryModel& model,
                                     MemoryStates& states, CounterRebuild* rebuild) {
    UndoFilter filter([&](const ReviewEntry& entry) {
        replayReview(states, entry, model);
        if (rebuild != nullptr) {
            rebuild->take(entry);
        }
    });
    FileResult<ReviewLogShape> shape =
        streamReviewLog(path, [&](const ReviewEntry& entry) { filter.push(entry); });
    if (shape) {
        filter.finish();
    }
    return shape;
}

// The key by which a merge tells two entries apart.
struct ReviewKey {
    quint8 type;
    quint8 kind;
    quint8 verdict;
    qint64 time;
    qint32 code;
    bool operator==(const ReviewKey&) const = default;
};

ReviewKey keyOf(const ReviewEntry& entry) {
    return {quint8(entry.type), quint8(entry.kind), quint8(entry.verdict), entry.time, entry.code};
}

struct ReviewKeyHash {
    size_t operator()(const ReviewKey& key) const {
        const quint64 head = (quint64(quint32(key.code)) << 16) | (quint64(key.type) << 8) |
                             (quint64(key.kind) << 4) | quint64(key.verdict);
        return size_t((head * 0x9E3779B97F4A7C15ULL) ^ quint64(key.time) * 0xC2B2AE3D27D4EB4FULL);
    }
};

}  // namespace

LearnerReading Learner::read(LearnerFiles files) {
    LearnerReading reading;
    reading.files = std::move(files);
    FileResult<TrainingChoices> choices = readTrainingChoices(reading.files.choices);
    if (choices) {
        reading.choices = std::move(*choices);
        reading.choicesKept = true;
    } else if (choices.error().kind == FileErrorKind::Malformed ||
               choices.error().kind == FileErrorKind::TooLarge) {
        // A damaged or oversized file is kept for a look; the learner's next choices make a new
        // one.
        const FileResult<QString> backup = putAside(reading.files.choices);
        reading.problems.push_back({LearnerProblem::Kind::ChoicesDamaged, reading.files.choices,
                                    backup.value_or(QString()), choices.error()});
    }
    reading.model = MemoryModel(reading.choices.parameters.value_or(DefaultMemoryParameters));

    const QString& log = reading.files.log;
    const FileResult<ReviewLogShape> replayed =
        replayLog(log, reading.model, reading.states, &reading.rebuild);
    if (replayed) {
        reading.log = LearnerReading::Log::Read;
        return reading;
    }
    reading.states = {};
    reading.rebuild = {};
    FileError error = replayed.error();
    if (error.kind == FileErrorKind::Malformed) {
        if (FileResult<QString> backup = putAside(log); backup) {
            reading.problems.push_back({LearnerProblem::Kind::LogDamaged, log, *backup, error});
            error.kind = FileErrorKind::NotFound;
        } else {
            error = backup.error();
        }
    }
    if (error.kind == FileErrorKind::NotFound) {
        reading.log = LearnerReading::Log::None;
        return reading;
    }
    // A log that cannot be read is never written over.
    reading.log = LearnerReading::Log::Unusable;
    reading.problems.push_back({LearnerProblem::Kind::LogUnusable, log, QString(), error});
    return reading;
}

LoadedLearner Learner::load(LearnerFiles files, ProfileList profile, const QTimeZone& zone) {
    return load(read(std::move(files)), std::move(profile), zone);
}

LoadedLearner Learner::load(LearnerReading reading, ProfileList profile, const QTimeZone& zone) {
    LoadedLearner loaded;
    Learner& learner = loaded.learner;
    learner.active_ = true;
    learner.files_ = std::move(reading.files);
    learner.zone_ = zone;
    learner.profile_ = std::move(profile);
    learner.choices_ = std::move(reading.choices);
    learner.choicesKept_ = reading.choicesKept;
    learner.model_ = reading.model;
    learner.states_ = std::move(reading.states);
    loaded.report.problems = std::move(reading.problems);
    switch (reading.log) {
        case LearnerReading::Log::Read:
            loaded.report.kindsUpdated =
                reading.rebuild.applyTo(learner.profile_, RebuildScope::Behind, zone);
            break;
        case LearnerReading::Log::None:
            // The counters of a profile kept before its log began are where the replay starts.
            learner.pendingSeeds_ = seedEntries(learner.profile_, zone);
            for (const ReviewEntry& seed : learner.pendingSeeds_) {
                replayReview(learner.states_, seed, learner.model_);
            }
            break;
        case LearnerReading::Log::Unusable:
            learner.logBroken_ = true;
            break;
    }
    return loaded;
}

void Learner::breakLog() {
    log_.reset();
    logBroken_ = true;
}

FileResult<void> Learner::ensureLogOpen() {
    if (log_) {
        return {};
    }
    FileResult<ReviewLogWriter> opened = ReviewLogWriter::open(files_.log);
    if (!opened) {
        return unexpected(opened.error());
    }
    log_ = std::move(*opened);
    if (!pendingSeeds_.empty()) {
        if (FileResult<void> seeded = log_->append(pendingSeeds_); !seeded) {
            return unexpected(seeded.error());
        }
        pendingSeeds_.clear();
    }
    return {};
}

FileResult<void> Learner::answer(const GradedQuestion& question) {
    if (!active_ || question.answers.empty()) {
        return {};
    }
    LastQuestion last;
    last.question = question;
    const quint32 localTime = localAnswerTime(question.time, zone_);
    const int found = profileIndexOf(profile_, question.code);
    for (const GradedAnswer& given : question.answers) {
        const ReviewEntry entry =
            answerEntry(question.time, question.code, given.kind, given.grade, question.durationMs);
        last.entries.push_back(entry);
        if (found >= 0) {
            AnswerStats& stats = profile_.records[size_t(found)].stats(given.kind);
            last.statsBefore.emplace_back(stats);
            recordInStats(stats, given.grade, localTime);
        } else {
            last.statsBefore.emplace_back(std::nullopt);
        }
        const MemoryState* state = states_.find(question.code, given.kind);
        last.statesBefore.push_back(state != nullptr ? std::optional(*state) : std::nullopt);
        replayReview(states_, entry, model_);
    }
    FileResult<void> written;
    if (!logBroken_) {
        written = ensureLogOpen();
        if (written) {
            last.logLengthBefore = log_->size();
            written = log_->append(last.entries);
        }
        if (written) {
            last.logged = true;
            unsynced_ = true;
        } else {
            breakLog();
        }
    }
    last_ = std::move(last);
    return written;
}

std::optional<Undone> Learner::undo() {
    if (!last_) {
        return std::nullopt;
    }
    LastQuestion last = std::move(*last_);
    last_.reset();
    const int found = profileIndexOf(profile_, last.question.code);
    // Back in reverse order, so a kind answered twice ends as it was before the first.
    for (size_t i = last.entries.size(); i-- > 0;) {
        const AnswerKind kind = last.entries[i].kind;
        if (found >= 0 && last.statsBefore[i]) {
            profile_.records[size_t(found)].stats(kind) = *last.statsBefore[i];
        }
        if (last.statesBefore[i]) {
            *states_.emplace(last.question.code, kind, *last.statesBefore[i]).first =
                *last.statesBefore[i];
        } else {
            states_.erase(last.question.code, kind);
        }
    }
    Undone undone{std::move(last.question), std::nullopt};
    if (last.logged && log_) {
        FileResult<void> written;
        if (log_->version() == 1) {
            written = log_->cut(last.logLengthBefore);
        } else {
            std::vector<ReviewEntry> undos;
            for (const ReviewEntry& entry : last.entries) {
                undos.push_back(undoEntry(entry));
            }
            written = log_->append(undos);
        }
        if (written) {
            unsynced_ = true;
        } else {
            undone.logFailure = written.error();
            breakLog();
        }
    }
    return undone;
}

FileResult<std::vector<ReviewEntry>> Learner::history() const {
    if (!active_) {
        return std::vector<ReviewEntry>{};
    }
    if (!log_ && !pendingSeeds_.empty()) {
        return pendingSeeds_;
    }
    FileResult<std::vector<ReviewEntry>> read = readReviewHistory(files_.log);
    if (!read && read.error().kind == FileErrorKind::NotFound) {
        return std::vector<ReviewEntry>{};
    }
    return read;
}

FileResult<MergeOutcome> Learner::merge(std::vector<ReviewEntry> batch) {
    if (!active_ || logBroken_) {
        return unexpected(FileError{FileErrorKind::Other, QStringLiteral("no log")});
    }
    FileResult<std::vector<ReviewEntry>> held = history();
    if (!held) {
        return unexpected(held.error());
    }
    MergeOutcome outcome;
    std::vector<ReviewEntry> entries = std::move(*held);
    completeSeeds(entries, profile_, zone_);
    const size_t heldCount = entries.size();
    entries.reserve(heldCount + batch.size());
    for (ReviewEntry& entry : batch) {
        if (isStorable(entry)) {
            entries.push_back(std::move(entry));
        } else {
            ++outcome.refused;
        }
    }
    // The log's own entries come first among equal times, so of two equal entries the log's
    // stays.
    std::vector<size_t> order(entries.size());
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return entries[a].time < entries[b].time; });

    std::unordered_set<ReviewKey, ReviewKeyHash> seen;
    seen.reserve(entries.size());
    std::unordered_multiset<ReviewKey, ReviewKeyHash> undone;
    std::vector<size_t> kept;
    kept.reserve(entries.size());
    for (size_t index : order) {
        const ReviewEntry& entry = entries[index];
        if (!seen.insert(keyOf(entry)).second) {
            outcome.duplicates += index >= heldCount;
            continue;
        }
        if (entry.type == ReviewEntryType::Undo) {
            ReviewEntry answer = entry;
            answer.type = ReviewEntryType::Answer;
            undone.insert(keyOf(answer));
        }
        kept.push_back(index);
    }
    // An undone answer leaves; its undo record stays, so a copy of the answer that arrives later
    // is cancelled too (and counts as one the log held).
    std::vector<ReviewEntry> merged;
    merged.reserve(kept.size());
    for (size_t index : kept) {
        const ReviewEntry& entry = entries[index];
        if (entry.type == ReviewEntryType::Answer) {
            const auto cancelled = undone.find(keyOf(entry));
            if (cancelled != undone.end()) {
                undone.erase(cancelled);
                outcome.duplicates += index >= heldCount;
                continue;
            }
        }
        outcome.added += index >= heldCount;
        merged.push_back(entry);
    }

    log_.reset();
    if (FileResult<void> written = startReviewLog(files_.log, merged); !written) {
        return unexpected(written.error());
    }
    pendingSeeds_.clear();
    unsynced_ = false;
    last_.reset();

    MemoryStates states;
    states.reserve(merged.size() / 4 + 16);
    CounterRebuild rebuild;
    for (const ReviewEntry& entry : merged) {
        replayReview(states, entry, model_);
        rebuild.take(entry);
    }
    states_ = std::move(states);
    rebuild.applyTo(profile_, RebuildScope::Whole, zone_);
    return outcome;
}

FileResult<void> Learner::sync() {
    if (!log_ || !unsynced_) {
        return {};
    }
    unsynced_ = false;
    FileResult<void> synced = log_->sync();
    if (!synced) {
        breakLog();
    }
    return synced;
}

FileResult<MemoryStates> Learner::statesWith(const MemoryParameters& parameters) const {
    const MemoryModel model(parameters);
    MemoryStates states;
    if (!log_ && !pendingSeeds_.empty()) {
        for (const ReviewEntry& seed : pendingSeeds_) {
            replayReview(states, seed, model);
        }
        return states;
    }
    const FileResult<ReviewLogShape> replayed = replayLog(files_.log, model, states, nullptr);
    if (!replayed && replayed.error().kind != FileErrorKind::NotFound) {
        return unexpected(replayed.error());
    }
    return states;
}

FileResult<void> Learner::keepChoices(const TrainingChoices& choices) {
    if (!active_) {
        // Without a profile the choices last until one is taken.
        choices_ = choices;
        return {};
    }
    const bool newParameters = choices.parameters != choices_.parameters;
    choices_ = choices;
    choicesKept_ = true;
    if (newParameters) {
        model_ = MemoryModel(choices_.parameters.value_or(DefaultMemoryParameters));
        // A log that cannot be read now keeps the memory as it was replayed.
        if (FileResult<MemoryStates> states = statesWith(model_.parameters()); states) {
            states_ = std::move(*states);
        }
    }
    return saveTrainingChoices(files_.choices, choices_);
}
