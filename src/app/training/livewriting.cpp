// Writing a kanji stroke by stroke: each stroke is judged the moment the pen lifts.
#include "app/training/livewriting.h"

#include "app/state/app.h"
#include "app/state/trainingids.h"
#include "app/training/gradedcanvas.h"
#include "app/training/handwriting.h"
#include "core/handwriting/strokegrade.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace {

// A stroke is missed this often before its reference is shown.
constexpr int MissesBeforeHint = 3;
const QColor HintColour(225, 225, 225);
constexpr qreal StrokeWidth = 3;

std::optional<qint32> askedCode(const App& app) {
    const TrainingSession& run = app.training;
    if (run.checkState != CheckState::Answering || run.trainingPos < 0 ||
        run.trainingPos >= static_cast<qint32>(run.trainingList.size())) {
        return std::nullopt;
    }
    return run.trainingList[static_cast<size_t>(run.trainingPos)].Code;
}

bool moves(const Stroke& stroke) {
    constexpr float ClickReach = 2.5f;
    return std::ranges::any_of(stroke, [&](const StrokePoint& p) {
        return std::abs(p.x - stroke.front().x) > ClickReach ||
               std::abs(p.y - stroke.front().y) > ClickReach;
    });
}

QPainterPath pathOf(const Stroke& stroke, qreal scale = 1) {
    QPainterPath path;
    if (!stroke.empty()) {
        path.moveTo(stroke.front().x * scale, stroke.front().y * scale);
        for (const StrokePoint& p : stroke) {
            path.lineTo(p.x * scale, p.y * scale);
        }
    }
    return path;
}

// The strokes kept green, the one just missed red over them, and the hint of the next stroke
// (KanjiVG's box on the whole canvas) faint beneath.
void redraw(App& app, const StrokeList& reference, const Stroke* missed) {
    WritingPad& pad = app.writingPad;
    pad.writingCanvas.fill(Qt::white);
    QPainter painter(&pad.writingCanvas);
    painter.setRenderHint(QPainter::Antialiasing);
    const std::size_t next = pad.strokes.size();
    if (next < reference.size() && next < pad.liveMisses.size() &&
        pad.liveMisses[next] >= MissesBeforeHint) {
        const qreal scale = pad.writingCanvas.width() / qreal(StrokeLibrary::BoxSize);
        painter.setPen(QPen(HintColour, 2 * StrokeWidth, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(pathOf(reference[next], scale));
    }
    const auto draw = [&](const Stroke& stroke, const QColor& colour) {
        painter.setPen(QPen(colour, StrokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(pathOf(stroke));
    };
    for (const Stroke& stroke : pad.strokes) {
        draw(stroke, MatchedStrokeColour);
    }
    if (missed != nullptr) {
        draw(*missed, MissedStrokeColour);
    }
    painter.end();
    app.mainWindow->setImage(CanvasImage, pad.writingCanvas);
}

}  // namespace

bool liveWritingOn(const App& app) {
    return app.mainWindow && app.mainWindow->control(LiveStrokesBox) != nullptr &&
           app.mainWindow->isChecked(LiveStrokesBox);
}

void judgeLiveStroke(App& app) {
    WritingPad& pad = app.writingPad;
    const std::optional<qint32> code = askedCode(app);
    const StrokeList* reference = code ? referenceStrokes(app, *code) : nullptr;
    if (reference == nullptr || reference->empty() || pad.strokes.empty()) {
        return;
    }
    pad.liveMisses.resize(reference->size());
    Stroke lifted = pad.strokes.back();
    if (!moves(lifted)) {
        // The click that takes up the pen is no stroke.
        pad.strokes.pop_back();
        redraw(app, *reference, nullptr);
        return;
    }
    const std::size_t place = pad.strokes.size() - 1;
    bool matched = false;
    if (place < reference->size()) {
        const StrokeList upToHere(reference->begin(),
                                  reference->begin() + static_cast<std::ptrdiff_t>(place) + 1);
        matched = gradeStrokes(pad.strokes, upToHere).verdict == Grade::Right;
    }
    if (matched) {
        redraw(app, *reference, nullptr);
        return;
    }
    pad.strokes.pop_back();
    pad.liveSlipped = true;
    if (place < pad.liveMisses.size()) {
        ++pad.liveMisses[place];
    }
    redraw(app, *reference, &lifted);
}

std::optional<Grade> liveWritingResult(App& app, qint32 code) {
    if (!liveWritingOn(app)) {
        return std::nullopt;
    }
    const StrokeList* reference = referenceStrokes(app, code);
    if (reference == nullptr || reference->empty()) {
        return std::nullopt;
    }
    if (app.writingPad.strokes.size() != reference->size()) {
        return Grade::Wrong;
    }
    return app.writingPad.liveSlipped ? Grade::Partly : Grade::Right;
}
