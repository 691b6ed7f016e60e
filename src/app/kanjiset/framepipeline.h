// The stroke-order frames of many printed kanji, made ready on two worker threads while the one
// painter a PDF allows draws the pages: decoding the strips and making their masks need not
// wait for it.
#pragma once

#include "app/kanjiset/pdfpages.h"
#include "core/handwriting/strokes.h"

#include <QImage>
#include <QString>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

struct App;

// What a record's stroke-order strip is made from, as strokeStripOf finds it: the picture cache,
// the strip's file, or the reference strokes. Found where the App may be read; the strip is then
// made on any thread.
struct StripSource {
    QImage kept;
    QString path;
    const StrokeList* strokes = nullptr;

    QImage make() const;
};
StripSource stripSourceOf(App& app, const KanjiRecord& record);

class FramePipeline {
public:
    // How many frames a row holds for a kanji of so many strokes; called on the workers.
    using PerRow = std::function<int(int frames)>;

    // One source per card, in printing order. Cards with the same strip share its frames,
    // which are made once and drawn from the same pictures, so the file holds them once.
    FramePipeline(const std::vector<StripSource>& cards, PerRow perRow);
    ~FramePipeline();
    FramePipeline(const FramePipeline&) = delete;
    FramePipeline& operator=(const FramePipeline&) = delete;

    // The frames of a card, waiting for a worker to finish them; valid until done(card).
    const PrintedFrames& frames(int card);
    // The card is drawn: its frames are let go once no later card shows them.
    void done(int card);

private:
    struct Job {
        StripSource source;
        int lastCard = 0;
        std::optional<PrintedFrames> frames;
    };
    void work();

    std::vector<Job> jobs_;
    std::vector<int> jobOfCard_;
    PerRow perRow_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int nextJob_ = 0;
    // The furthest job the painter has asked for: the workers keep only a little ahead of it,
    // so a few thousand cards never hold all their frames at once.
    int askedJob_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};
