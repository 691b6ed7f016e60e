// What writing a kanji by hand is checked with: KanjiVG's reference strokes and zinnia's
// recogniser, each loaded the first time it is needed, so a learner who never writes pays
// nothing for them.
#pragma once

#include "app/state/backgroundrecognition.h"
#include "core/handwriting/kanjirecognizer.h"
#include "core/handwriting/strokelibrary.h"

#include <QSize>
#include <QString>

#include <optional>
#include <vector>

class HandwritingAids {
public:
    // The file the reference strokes are read from on first use.
    void setStrokeFile(QString path);

    // The kanji's strokes in writing order, or nullptr when the file or the kanji has none. A
    // file that could not be read is not tried again on every kanji.
    const StrokeList* referenceStrokes(qint32 code);
    // zinnia with its model, or nullptr when the model cannot be opened: a missing model only
    // costs the second opinion.
    const KanjiRecognizer* recognizer();

    // Starts reading a drawing on a worker, so that checking it later need not wait.
    void readAhead(StrokeList drawn, QSize canvas);
    // What zinnia reads in the drawing: the worker's reading when it read the same strokes, else
    // read now; nothing without a recogniser.
    std::vector<char32_t> candidates(const StrokeList& drawn, QSize canvas);

private:
    QString strokeFile_;
    QString recognizerModel_ = KanjiRecognizer::defaultModelPath();
    std::optional<StrokeLibrary> library_;
    std::optional<KanjiRecognizer> recognizer_;
    // Declared after the recognizer, so that it is gone, its worker done, before the recognizer.
    BackgroundRecognition recognition_;
    bool libraryTried_ = false;
    bool recognizerTried_ = false;
};
