// What many printed cards show, made ready on worker threads.
#include "app/kanjiset/cardpipeline.h"

#include "app/state/handwritingaids.h"
#include "app/state/pictures.h"
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
        return ui::loadPngAsStored(path).value_or(QImage());
    }
    return stripImageOf(strokes);
}

StripSource stripSourceOf(const PictureCache& pictures, HandwritingAids& aids,
                          const KanjiRecord& record, const QString& stripFile) {
    StripSource source;
    if (const QImage* kept = pictures.strip(record.Unicode, stripFile)) {
        source.kept = *kept;
    } else if (stripFile.isEmpty()) {
        source.strokes = aids.referenceStrokes(record.Unicode);
    } else {
        source.path = stripFile;
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
        Job job;
        job.content = std::move(content);
        job.framesCard = framesCard;
        job.lastCard = card;
        if (framesCard != card) {
            job.framesProgress = Progress::Made;
        }
        jobs_.push_back(std::move(job));
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

void CardPipeline::makeFrames(Job& job, std::unique_lock<std::mutex>& lock) {
    job.framesProgress = Progress::Making;
    const StripSource source = std::move(job.content.strip);
    lock.unlock();
    const QImage strip = source.make();
    PrintedFrames frames = printedFrames(strip, perRow_(strokeFrameCount(strip)));
    lock.lock();
    job.frames = std::move(frames);
    job.framesProgress = Progress::Made;
    changed_.notify_all();
}

void CardPipeline::makeLines(Job& job, std::unique_lock<std::mutex>& lock) {
    job.linesProgress = Progress::Making;
    const std::vector<FieldText> texts = std::move(job.content.texts);
    lock.unlock();
    std::vector<ShapedLine> lines = fitTexts_(texts);
    lock.lock();
    job.lines = std::move(lines);
    job.linesProgress = Progress::Made;
    changed_.notify_all();
}

void CardPipeline::work() {
    std::unique_lock lock(mutex_);
    const auto cards = static_cast<int>(jobs_.size());
    while (true) {
        while (nextJob_ < cards &&
               jobs_[static_cast<size_t>(nextJob_)].framesProgress != Progress::Waiting &&
               jobs_[static_cast<size_t>(nextJob_)].linesProgress != Progress::Waiting) {
            ++nextJob_;
        }
        if (stopping_ || nextJob_ >= cards) {
            return;
        }
        if (nextJob_ > askedJob_ + LookAhead) {
            changed_.wait(lock);
            continue;
        }
        Job& job = jobs_[static_cast<size_t>(nextJob_)];
        if (job.framesProgress == Progress::Waiting) {
            makeFrames(job, lock);
        } else {
            makeLines(job, lock);
        }
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
    if (framesJob.framesProgress == Progress::Waiting) {
        makeFrames(framesJob, lock);
    }
    if (job.linesProgress == Progress::Waiting) {
        makeLines(job, lock);
    }
    changed_.wait(lock, [&job, &framesJob] {
        return job.linesProgress == Progress::Made && framesJob.framesProgress == Progress::Made;
    });
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
