// KanjiVG's reference strokes and zinnia's recogniser, loaded on first use.
#include "app/state/handwritingaids.h"

void HandwritingAids::setStrokeFile(QString path) {
    if (path == strokeFile_) {
        return;
    }
    strokeFile_ = std::move(path);
    library_.reset();
    libraryTried_ = false;
}

const StrokeList* HandwritingAids::referenceStrokes(qint32 code) {
    if (!libraryTried_) {
        libraryTried_ = true;
        if (FileResult<StrokeLibrary> loaded = loadStrokeLibrary(strokeFile_)) {
            library_ = std::move(loaded).value();
        }
    }
    if (!library_ || code <= 0) {
        return nullptr;
    }
    return library_->find(static_cast<char32_t>(code));
}

const KanjiRecognizer* HandwritingAids::recognizer() {
    if (!recognizerTried_) {
        recognizerTried_ = true;
        if (auto opened = KanjiRecognizer::open(recognizerModel_)) {
            recognizer_ = std::move(opened).value();
        }
    }
    return recognizer_ ? &*recognizer_ : nullptr;
}

void HandwritingAids::readAhead(StrokeList drawn, QSize canvas) {
    if (const KanjiRecognizer* zinnia = recognizer()) {
        recognition_.start(*zinnia, std::move(drawn), canvas.width(), canvas.height());
    }
}

std::vector<char32_t> HandwritingAids::candidates(const StrokeList& drawn, QSize canvas) {
    const KanjiRecognizer* zinnia = recognizer();
    if (zinnia == nullptr) {
        return {};
    }
    return recognition_.candidates(*zinnia, drawn, canvas.width(), canvas.height());
}
