// The strokes the training page's writing canvas hands on.
#include "app/training/peninput.h"

#include "app/state/app.h"
#include "app/state/trainingids.h"
#include "app/training/handwriting.h"
#include "app/training/livewriting.h"
#include "ui/writingcanvas.h"

namespace {

// The reference strokes of the kanji asked while it is being answered, or nullptr.
const StrokeList* askedKanjiStrokes(App& app) {
    const TrainingSession& run = app.training;
    if (run.checkState != CheckState::Answering || run.trainingPos < 0 ||
        run.trainingPos >= static_cast<qint32>(run.trainingList.size())) {
        return nullptr;
    }
    return app.handwriting.referenceStrokes(
        run.trainingList[static_cast<size_t>(run.trainingPos)].Code);
}

}  // namespace

void takeStroke(App& app, const QPolygon& points) {
    if (points.isEmpty()) {
        return;
    }
    WritingPad& pad = app.writingPad;
    // The canvas inked the stroke as it was written; the pad's picture takes the same ink.
    ui::WritingCanvas::ink(pad.writingCanvas, points);
    Stroke& stroke = pad.strokes.emplace_back();
    for (const QPoint& point : points) {
        stroke.push_back({static_cast<float>(point.x()), static_cast<float>(point.y())});
    }
    if (liveWritingOn(app)) {
        if (const StrokeList* reference = askedKanjiStrokes(app)) {
            const std::optional<LiveStrokeMiss> miss = takeLiveStroke(pad, *reference);
            app.mainWindow->setText(StrokeSlipLabel,
                                    miss ? liveStrokeMissText(app.texts, *miss) : QString());
            app.mainWindow->setVisible(StrokeSlipLabel, miss.has_value());
        }
    } else {
        readWrittenKanjiAhead(app.handwriting, pad);
    }
    app.mainWindow->setImage(CanvasImage, pad.writingCanvas);
}

void endStrokeInProgress(App& app) {
    // A page not made yet has no stroke to end, and is not made for asking.
    auto* canvas = app.mainWindow
                       ? dynamic_cast<ui::WritingCanvas*>(app.mainWindow->madeControl(CanvasImage))
                       : nullptr;
    if (canvas == nullptr) {
        return;
    }
    if (const std::optional<QPolygon> stroke = canvas->endStroke()) {
        takeStroke(app, *stroke);
    }
}
