// zinnia's reading of the kanji being written, started on a worker as each stroke ends, so that
// checking the kanji does not wait for it.
#pragma once

#include "core/handwriting/kanjirecognizer.h"

#include <future>
#include <vector>

class BackgroundRecognition {
public:
    BackgroundRecognition() = default;
    BackgroundRecognition(const BackgroundRecognition&) = delete;
    BackgroundRecognition& operator=(const BackgroundRecognition&) = delete;
    // The worker reads the recognizer: it must not outlive it.
    ~BackgroundRecognition();

    // Reads the drawing on a worker; an earlier reading still running is left to finish unseen.
    // The recognizer must outlive this object.
    void start(const KanjiRecognizer& recognizer, StrokeList drawn, int width, int height);
    // The candidates for this drawing: the worker's when it read the same strokes (waiting for it
    // if need be), else read now.
    std::vector<char32_t> candidates(const KanjiRecognizer& recognizer, const StrokeList& drawn,
                                     int width, int height);

private:
    struct Reading {
        StrokeList drawn;
        int width = 0;
        int height = 0;
        std::shared_future<std::vector<char32_t>> candidates;
    };
    // The newest reading is last; older ones are kept only until they are done.
    std::vector<Reading> readings_;
};
