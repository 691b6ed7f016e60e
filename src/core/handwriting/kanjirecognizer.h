// zinnia's handwriting recognition with the Japanese model of tegaki-zinnia-japanese.
#pragma once

#include "base/files.h"
#include "core/handwriting/strokes.h"

#include <QString>

#include <memory>
#include <vector>

namespace zinnia {
class Recognizer;
}

class KanjiRecognizer {
public:
    // Where Debian's tegaki-zinnia-japanese installs its model.
    static QString defaultModelPath();
    // The reason's text names the model's path and why it could not be opened; a file zinnia
    // cannot read as a model is Malformed.
    static FileResult<KanjiRecognizer> open(const QString& modelPath);

    KanjiRecognizer(KanjiRecognizer&&) noexcept;
    KanjiRecognizer& operator=(KanjiRecognizer&&) noexcept;
    ~KanjiRecognizer();

    // The best candidates for strokes drawn on a width x height surface, best first; at most
    // count, none for an empty drawing. Where on the surface the kanji is written, and how large
    // down to an eighth of the surface, does not matter.
    std::vector<char32_t> candidates(const StrokeList& drawn, int width, int height,
                                     int count = 5) const;

private:
    struct Deleter {
        void operator()(zinnia::Recognizer* recognizer) const;
    };
    explicit KanjiRecognizer(std::unique_ptr<zinnia::Recognizer, Deleter> recognizer);
    std::unique_ptr<zinnia::Recognizer, Deleter> recognizer_;
};
