// The stroke-order frames of many printed kanji, made ready on worker threads.
#include "app/kanjiset/framepipeline.h"

#include "app/kanjiset/cardview.h"
#include "app/state/app.h"
#include "app/state/pictures.h"
#include "app/training/handwriting.h"
#include "ui/images.h"

#include <QHash>

#include <algorithm>

namespace {

// Two threads: the machines the program runs on have two cores and more, and the painter keeps
// one of them busy.
constexpr int Workers = 2;
// How many strips the workers may make ahead of the painter.
constexpr int LookAhead = 32;

}  // namespace

QImage StripSource::make() const {
    if (!kept.isNull()) {
        return kept;
    }
    if (!path.isEmpty()) {
        return ui::loadPng(path).value_or(QImage());
    }
    return stripImageOf(strokes);
}

StripSource stripSourceOf(App& app, const KanjiRecord& record) {
    StripSource source;
    if (const QImage* kept = app.pictures.strip(record.Unicode, strokeStripSource(app, record))) {
        source.kept = *kept;
    } else if (record.Anim.isEmpty()) {
        source.strokes = referenceStrokes(app, record.Unicode);
    } else {
        source.path = strokeStripPath(app, record);
    }
    return source;
}

FramePipeline::FramePipeline(const std::vector<StripSource>& cards, PerRow perRow)
    : perRow_(std::move(perRow)) {
    QHash<QString, int> jobOfPath;
    QHash<const StrokeList*, int> jobOfStrokes;
    QHash<qint64, int> jobOfKept;
    for (int card = 0; card < static_cast<int>(cards.size()); ++card) {
        const StripSource& source = cards[static_cast<size_t>(card)];
        int* known = nullptr;
        if (!source.kept.isNull()) {
            known = &jobOfKept[source.kept.cacheKey()];
        } else if (!source.path.isEmpty()) {
            known = &jobOfPath[source.path];
        } else {
            known = &jobOfStrokes[source.strokes];
        }
        // Jobs count from 1 in the maps, so that 0 is a strip not seen before.
        if (*known == 0) {
            jobs_.push_back(Job{source, card, std::nullopt});
            *known = static_cast<int>(jobs_.size());
        }
        jobOfCard_.push_back(*known - 1);
        jobs_[static_cast<size_t>(*known - 1)].lastCard = card;
    }
    const int workers = std::min(Workers, static_cast<int>(jobs_.size()));
    for (int i = 0; i < workers; ++i) {
        workers_.emplace_back([this] { work(); });
    }
}

FramePipeline::~FramePipeline() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

void FramePipeline::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] {
            return stopping_ || nextJob_ >= static_cast<int>(jobs_.size()) ||
                   nextJob_ <= askedJob_ + LookAhead;
        });
        if (stopping_ || nextJob_ >= static_cast<int>(jobs_.size())) {
            return;
        }
        Job& job = jobs_[static_cast<size_t>(nextJob_++)];
        const StripSource source = std::move(job.source);
        lock.unlock();
        const QImage strip = source.make();
        PrintedFrames made = printedFrames(strip, perRow_(strokeFrameCount(strip)));
        lock.lock();
        job.frames = std::move(made);
        changed_.notify_all();
    }
}

const PrintedFrames& FramePipeline::frames(int card) {
    const int wanted = jobOfCard_[static_cast<size_t>(card)];
    Job& job = jobs_[static_cast<size_t>(wanted)];
    std::unique_lock lock(mutex_);
    if (wanted > askedJob_) {
        askedJob_ = wanted;
        changed_.notify_all();
    }
    changed_.wait(lock, [&job] { return job.frames.has_value(); });
    return *job.frames;
}

void FramePipeline::done(int card) {
    Job& job = jobs_[static_cast<size_t>(jobOfCard_[static_cast<size_t>(card)])];
    const std::lock_guard lock(mutex_);
    if (job.lastCard == card) {
        job.frames.reset();
    }
}
