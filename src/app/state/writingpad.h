// The canvas the learner writes a kanji on, and what grading it needs.
#pragma once

#include "app/state/backgroundrecognition.h"
#include "core/handwriting/handwritinggrade.h"
#include "core/handwriting/strokelibrary.h"

#include <QImage>
#include <QString>

#include <optional>
#include <vector>

// The surface the learner writes the kanji on with the mouse, and the last pen point on it
// (-1 while the pen is lifted).
struct WritingPad {
    QImage writingCanvas;
    qint32 lastPenX = -1;
    qint32 lastPenY = -1;
    // A pen or a finger is writing: the mouse state, which the system moves along with them,
    // is not read meanwhile.
    bool penOnCanvas = false;
    // What was written, stroke by stroke in canvas pixels, for grading.
    StrokeList strokes;
    // Writing stroke by stroke: per reference stroke how often it was missed, and whether any
    // stroke was missed or its hint shown since the question was asked.
    std::vector<int> liveMisses;
    bool liveSlipped = false;
};

// KanjiVG's reference strokes and zinnia's recogniser, each loaded the first time it is needed,
// so a learner who never writes pays nothing for them.
struct HandwritingAids {
    // zinnia's model; a missing one only costs the second opinion.
    QString recognizerModel = KanjiRecognizer::defaultModelPath();
    std::optional<StrokeLibrary> library;
    std::optional<KanjiRecognizer> recognizer;
    // Declared after the recognizer, so that it is gone, its worker done, before the recognizer.
    BackgroundRecognition recognition;
    // A file that could not be read is not tried again on every kanji.
    bool libraryTried = false;
    bool recognizerTried = false;
};
