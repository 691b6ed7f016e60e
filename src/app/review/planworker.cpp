// The recommended retention and new kanji per day, worked out on a thread of its own so that the
// window stays responsive; its progress and result arrive on the window's thread.
#include "app/review/planworker.h"

#include <QMetaObject>
#include <QObject>

PlanWorker::~PlanWorker() {
    stop();
}

void PlanWorker::stop() {
    if (cancelled_) {
        *cancelled_ = true;
    }
    if (thread_.joinable()) {
        thread_.join();
    }
}

void PlanWorker::start(PlanRequest request, QObject* receiver, std::function<void(int)> progress,
                       std::function<void(std::optional<Recommendation>)> done) {
    stop();
    // Each run has its own flag: a call posted by a cancelled run finds it set and does nothing.
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    cancelled_ = cancelled;
    thread_ = std::thread([request = std::move(request), target = QPointer<QObject>(receiver),
                           progress = std::move(progress), done = std::move(done), cancelled] {
        const MemoryModel model(request.parameters);
        PlanStart start{request.set, request.states, model, request.asked};
        start.now = request.now;
        start.dayStart = request.dayStart;
        start.firstRecall = request.firstRecall;
        start.answersPerDay = request.answersPerDay;
        const auto post = [&target, &cancelled](std::function<void()> call) {
            if (target) {
                QMetaObject::invokeMethod(
                    target.data(),
                    [call = std::move(call), cancelled] {
                        if (!*cancelled) {
                            call();
                        }
                    },
                    Qt::QueuedConnection);
            }
        };
        const std::optional<Recommendation> plan =
            recommendPlan(start, [&](int finished, int total) {
                const int percent = 100 * finished / std::max(total, 1);
                post([progress, percent] { progress(percent); });
                return !*cancelled;
            });
        if (plan) {
            post([done, plan] { done(plan); });
        }
    });
}
