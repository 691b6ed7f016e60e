// What many printed cards show, made ready on worker threads.
#include "app/kanjiset/cardpipeline.h"

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
// How many cards the workers may make ready ahead of the painter.
constexpr int LookAhead = 32;

}  // namespace

QImage StripSource::make() const {
    if (!kept.isNull()) {
        return kept;
    }
    if (!path.isEmpty()) {
        return ui::loadPngIndexed(path).value_or(QImage());
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

CardPipeline::CardPipeline(std::vector<CardContent> cards, PerRow perRow, FitTexts fitTexts)
    : perRow_(std::move(perRow)), fitTexts_(std::move(fitTexts)) {
    QHash<QString, int> cardOfPath;
    QHash<const StrokeList*, int> cardOfStrokes;
    QHash<qint64, int> cardOfKept;
    for (int card = 0; card < static_cast<int>(cards.size()); ++card) {
        CardContent& content = cards[static_cast<size_t>(card)];
        int* known = nullptr;
        if (!content.strip.kept.isNull()) {
            known = &cardOfKept[content.strip.kept.cacheKey()];
        } else if (!content.strip.path.isEmpty()) {
            known = &cardOfPath[content.strip.path];
        } else {
            known = &cardOfStrokes[content.strip.strokes];
        }
        // Cards count from 1 in the maps, so that 0 is a strip not seen before.
        if (*known == 0) {
            *known = card + 1;
        } else {
            // Only the first card showing a strip makes its frames.
            content.strip = {};
        }
        const int framesCard = *known - 1;
        jobs_.push_back(Job{std::move(content), framesCard, card, std::nullopt, std::nullopt});
        jobs_[static_cast<size_t>(framesCard)].lastCard = card;
    }
    const int workers = std::min(Workers, static_cast<int>(jobs_.size()));
    for (int i = 0; i < workers; ++i) {
        workers_.emplace_back([this] { work(); });
    }
}

CardPipeline::~CardPipeline() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) {
        worker.join();
    }
}

void CardPipeline::work() {
    std::unique_lock lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] {
            return stopping_ || nextJob_ >= static_cast<int>(jobs_.size()) ||
                   nextJob_ <= askedJob_ + LookAhead;
        });
        if (stopping_ || nextJob_ >= static_cast<int>(jobs_.size())) {
            return;
        }
        const int card = nextJob_++;
        Job& job = jobs_[static_cast<size_t>(card)];
        const CardContent content = std::move(job.content);
        const bool makesFrames = job.framesCard == card;
        lock.unlock();
        std::optional<PrintedFrames> frames;
        if (makesFrames) {
            const QImage strip = content.strip.make();
            frames = printedFrames(strip, perRow_(strokeFrameCount(strip)));
        }
        std::vector<ShapedLine> lines = fitTexts_(content.texts);
        lock.lock();
        job.frames = std::move(frames);
        job.lines = std::move(lines);
        changed_.notify_all();
    }
}

CardPipeline::Prepared CardPipeline::card(int card) {
    Job& job = jobs_[static_cast<size_t>(card)];
    Job& framesJob = jobs_[static_cast<size_t>(job.framesCard)];
    std::unique_lock lock(mutex_);
    if (card > askedJob_) {
        askedJob_ = card;
        changed_.notify_all();
    }
    changed_.wait(
        lock, [&job, &framesJob] { return job.lines.has_value() && framesJob.frames.has_value(); });
    return {*framesJob.frames, *job.lines};
}

void CardPipeline::done(int card) {
    Job& job = jobs_[static_cast<size_t>(card)];
    Job& framesJob = jobs_[static_cast<size_t>(job.framesCard)];
    const std::lock_guard lock(mutex_);
    job.lines.reset();
    if (framesJob.lastCard == card) {
        framesJob.frames.reset();
    }
}
