// The recommended retention and new kanji per day, worked out on a thread of its own so that the
// window stays responsive; its progress and result arrive on the window's thread.
#pragma once

#include "core/kanjiset/kanjirecord.h"
#include "core/training/memorymodel.h"
#include "core/training/retentionrecommendation.h"

#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

class QObject;

// What the year is simulated from, held by the worker while it runs.
struct PlanRequest {
    KanjiSet set;
    MemoryStates states;
    MemoryParameters parameters = DefaultMemoryParameters;
    AskedKinds asked;
    qint64 now = 0;
    qint64 dayStart = 0;
    double firstRecall = 0;
    qint32 answersPerDay = 50;
};

class PlanWorker {
public:
    PlanWorker() = default;
    PlanWorker(const PlanWorker&) = delete;
    PlanWorker& operator=(const PlanWorker&) = delete;
    ~PlanWorker();

    // Cancels the work under way and begins anew. progress (percent done) and done are called on
    // receiver's thread, and not at all once the receiver is gone or newer work has begun.
    void start(PlanRequest request, QObject* receiver, std::function<void(int)> progress,
               std::function<void(std::optional<Recommendation>)> done);
    // Cancels the work under way and waits for its thread.
    void stop();

private:
    std::thread thread_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
};
