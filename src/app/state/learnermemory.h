// The daily review of the profile in use: its review log, the memory replayed from it, and the
// training choices kept beside the profile.
#pragma once

#include "core/training/memorymodel.h"
#include "core/training/reviewlog.h"
#include "core/training/trainingchoices.h"

#include <optional>
#include <vector>

struct LearnerMemory {
    // A profile is in use, and its answers are kept.
    bool active = false;
    // Its choices and log are read: only when first needed, as replaying a long history or
    // seeding a large profile would otherwise delay the start.
    bool opened = false;
    // Open while a profile is in use; answers are appended as they are given.
    std::optional<ReviewLogWriter> log;
    // Everything the log holds, for the optimiser and for replaying with other parameters.
    std::vector<ReviewEntry> entries;
    MemoryModel model{DefaultMemoryParameters};
    MemoryStates states;
    TrainingChoices choices;
    // The choices were read from the learner's file (or the profile is new): the training page
    // restores them instead of the defaults.
    bool choicesKept = false;
    // Answers appended since the last sync.
    bool unsynced = false;
    // The entries begin with seeds made from the profile's counters, not yet in the log.
    bool seedsUnwritten = false;
    // The log could not be read or written: this run keeps answers in memory only, and the file
    // is left as it is.
    bool logBroken = false;
};
