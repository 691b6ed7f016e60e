// zinnia's reading of the kanji being written, started on a worker as each stroke ends.
#include "app/state/backgroundrecognition.h"

#include <QThreadPool>

#include <chrono>
#include <memory>

namespace {

bool done(const std::shared_future<std::vector<char32_t>>& future) {
    return future.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

}  // namespace

BackgroundRecognition::~BackgroundRecognition() {
    for (const Reading& reading : readings_) {
        reading.candidates.wait();
    }
}

void BackgroundRecognition::start(const KanjiRecognizer& recognizer, StrokeList drawn, int width,
                                  int height) {
    std::erase_if(readings_, [](const Reading& r) { return done(r.candidates); });
    auto promise = std::make_shared<std::promise<std::vector<char32_t>>>();
    readings_.push_back({drawn, width, height, promise->get_future().share()});
    QThreadPool::globalInstance()->start(
        [promise, &recognizer, drawn = std::move(drawn), width, height] {
            try {
                promise->set_value(recognizer.candidates(drawn, width, height));
            } catch (...) {
                promise->set_exception(std::current_exception());
            }
        });
}

std::vector<char32_t> BackgroundRecognition::candidates(const KanjiRecognizer& recognizer,
                                                        const StrokeList& drawn, int width,
                                                        int height) {
    if (!readings_.empty()) {
        const Reading& newest = readings_.back();
        if (newest.drawn == drawn && newest.width == width && newest.height == height) {
            try {
                return newest.candidates.get();
            } catch (...) {
                // A reading that failed on the worker is tried again here, where it can be seen.
            }
        }
    }
    return recognizer.candidates(drawn, width, height);
}
