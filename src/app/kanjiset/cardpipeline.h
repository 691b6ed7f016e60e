// What many printed cards show, made ready on two worker threads while the one painter a PDF
// allows draws the pages: decoding the stroke-order strips, making their frames and breaking the
// texts into lines need not wait for it. Where the workers fall behind, as with strips stored in
// full colour, the painter makes what it needs itself rather than wait.
#pragma once

#include "app/kanjiset/pdfpages.h"
#include "app/kanjiset/shapedtext.h"
#include "core/handwriting/strokes.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class HandwritingAids;
class PictureCache;

// What a record's stroke-order strip is made from, as strokeStripOf finds it: the picture cache,
// the strip's file, or the reference strokes. Found on the main thread; the strip is then made on
// any thread.
struct StripSource {
    QImage kept;
    QString path;
    const StrokeList* strokes = nullptr;

    QImage make() const;
};
// stripFile is the record's own strip (strokeStripSource), empty when it names none.
StripSource stripSourceOf(const PictureCache& pictures, HandwritingAids& aids,
                          const KanjiRecord& record, const QString& stripFile);

// A card as the painter receives it.
struct CardContent {
    StripSource strip;
    std::vector<FieldText> texts;
};

class CardPipeline {
public:
    // How many frames a row holds for a kanji of so many strokes; called on any thread.
    using PerRow = std::function<int(int frames)>;
    // The lines a card's texts take, shaped; called on any thread.
    using FitTexts = std::function<std::vector<ShapedLine>(const std::vector<FieldText>& texts)>;

    // The cards in printing order. Cards with the same strip share its frames, which are made
    // once and drawn from the same pictures, so the file holds them once.
    CardPipeline(std::vector<CardContent> cards, PerRow perRow, FitTexts fitTexts);
    ~CardPipeline();
    CardPipeline(const CardPipeline&) = delete;
    CardPipeline& operator=(const CardPipeline&) = delete;

    struct Prepared {
        const PrintedFrames& frames;
        const std::vector<ShapedLine>& lines;
    };
    // A card made ready, waiting for a worker only where it has begun what the card needs;
    // valid until done(card).
    Prepared card(int card);
    // The card is drawn: its lines are let go, and its frames once no later card shows them.
    void done(int card);

private:
    enum class Progress { Waiting, Making, Made };
    struct Job {
        CardContent content;
        // The card whose job makes the frames this card shows: itself or an earlier card.
        int framesCard = 0;
        // For a card making frames, the last card that shows them.
        int lastCard = 0;
        Progress framesProgress = Progress::Waiting;
        Progress linesProgress = Progress::Waiting;
        std::optional<PrintedFrames> frames;
        std::optional<std::vector<ShapedLine>> lines;
    };
    // A card's frames or its lines, whichever thread makes them; called with the lock held,
    // which it lets go of while making.
    void makeFrames(Job& job, std::unique_lock<std::mutex>& lock);
    void makeLines(Job& job, std::unique_lock<std::mutex>& lock);
    void work();

    std::vector<Job> jobs_;
    PerRow perRow_;
    FitTexts fitTexts_;
    std::mutex mutex_;
    std::condition_variable changed_;
    // The next card whose frames or lines a worker may take.
    int nextJob_ = 0;
    // The furthest card the painter has asked for: the workers keep only a little ahead of it,
    // so a few thousand cards never hold all their frames at once.
    int askedJob_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};
