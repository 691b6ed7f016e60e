// Writing a kanji stroke by stroke: each stroke is judged the moment the pen lifts.
#include "app/training/livewriting.h"

#include "app/state/app.h"
#include "app/state/trainingids.h"
#include "app/training/gradedcanvas.h"
#include "app/training/handwriting.h"
#include "core/handwriting/strokegrade.h"

#include <QPainter>

namespace {

// A stroke is missed this often before its reference is shown.
constexpr int MissesBeforeHint = 3;
const QColor HintColour(225, 225, 225);
constexpr qreal StrokeWidth = 3;

// The strokes kept green, the one just missed red over them, and the hint of the next stroke
// (KanjiVG's box on the whole canvas) faint beneath.
void redraw(WritingPad& pad, const StrokeList& reference, const Stroke* missed) {
    pad.writingCanvas.fill(Qt::white);
    QPainter painter(&pad.writingCanvas);
    painter.setRenderHint(QPainter::Antialiasing);
    const std::size_t next = pad.strokes.size();
    if (next < reference.size() && next < pad.liveMisses.size() &&
        pad.liveMisses[next] >= MissesBeforeHint) {
        const qreal scale = pad.writingCanvas.width() / qreal(StrokeLibrary::BoxSize);
        painter.setPen(QPen(HintColour, 2 * StrokeWidth, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(pathOf(reference[next], QTransform::fromScale(scale, scale)));
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
}

}  // namespace

bool liveWritingOn(const App& app) {
    return app.mainWindow && app.mainWindow->control(LiveStrokesBox) != nullptr &&
           app.mainWindow->isChecked(LiveStrokesBox);
}

void judgeLiveStroke(WritingPad& pad, const StrokeList& reference) {
    if (reference.empty() || pad.strokes.empty()) {
        return;
    }
    pad.liveMisses.resize(reference.size());
    Stroke lifted = pad.strokes.back();
    if (isClick(lifted)) {
        // A click is no stroke: it leaves nothing behind.
        pad.strokes.pop_back();
        redraw(pad, reference, nullptr);
        return;
    }
    const std::size_t place = pad.strokes.size() - 1;
    bool matched = false;
    if (place < reference.size()) {
        const StrokeList upToHere(reference.begin(),
                                  reference.begin() + static_cast<std::ptrdiff_t>(place) + 1);
        matched = gradeStrokes(pad.strokes, upToHere).verdict == Grade::Right;
    }
    if (matched) {
        redraw(pad, reference, nullptr);
        return;
    }
    pad.strokes.pop_back();
    pad.liveSlipped = true;
    if (place < pad.liveMisses.size()) {
        ++pad.liveMisses[place];
    }
    redraw(pad, reference, &lifted);
}

std::optional<Grade> liveWritingResult(const WritingPad& pad, const StrokeList* reference) {
    if (reference == nullptr || reference->empty()) {
        return std::nullopt;
    }
    if (pad.strokes.size() != reference->size()) {
        return Grade::Wrong;
    }
    return pad.liveSlipped ? Grade::Partly : Grade::Right;
}
