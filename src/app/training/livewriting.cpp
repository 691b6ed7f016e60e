// Writing a kanji stroke by stroke: each stroke is judged the moment the pen lifts.
#include "app/training/livewriting.h"

#include "app/state/app.h"
#include "app/state/trainingids.h"
#include "app/training/gradedcanvas.h"
#include "app/training/handwriting.h"
#include "core/handwriting/livestroke.h"
#include "core/shell/texttables.h"

#include <QPainter>

namespace {

// A stroke is missed this often before its reference is shown.
constexpr int MissesBeforeHint = 3;
const QColor HintColour(30, 110, 230, 190);
constexpr qreal StrokeWidth = 3;

// The hint of the stroke due (KanjiVG's box on the whole canvas), drawn over whatever the learner
// wrote so that no stroke of theirs hides it: its start as a dot, its direction as an arrow at
// its end.
void drawHint(QPainter& painter, const Stroke& stroke, qreal scale) {
    if (stroke.empty()) {
        return;
    }
    const QTransform toCanvas = QTransform::fromScale(scale, scale);
    painter.setPen(QPen(HintColour, 2 * StrokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(pathOf(stroke, toCanvas));
    const auto at = [&](const StrokePoint& p) { return toCanvas.map(QPointF(p.x, p.y)); };
    painter.setPen(Qt::NoPen);
    painter.setBrush(HintColour);
    painter.drawEllipse(at(stroke.front()), 3 * StrokeWidth, 3 * StrokeWidth);
    // The direction at the end, over the last few points so that a hook's tip does not turn it.
    const QPointF end = at(stroke.back());
    QPointF from = end;
    for (auto p = stroke.rbegin(); p != stroke.rend(); ++p) {
        from = at(*p);
        if (QLineF(from, end).length() >= 4 * StrokeWidth) {
            break;
        }
    }
    if (from == end) {
        return;
    }
    const QLineF back(end, from);
    const qreal length = 5 * StrokeWidth;
    QLineF left = QLineF::fromPolar(length, back.angle() + 28).translated(end);
    QLineF right = QLineF::fromPolar(length, back.angle() - 28).translated(end);
    painter.drawPolygon(QPolygonF{end, left.p2(), right.p2()});
}

// The strokes kept green, the one just missed red, and the hint of the next stroke over them.
void redraw(WritingPad& pad, const StrokeList& reference, const Stroke* missed) {
    pad.writingCanvas.fill(Qt::white);
    QPainter painter(&pad.writingCanvas);
    painter.setRenderHint(QPainter::Antialiasing);
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
    const std::size_t next = pad.strokes.size();
    if (next < reference.size() && next < pad.liveMisses.size() &&
        pad.liveMisses[next] >= MissesBeforeHint) {
        drawHint(painter, reference[next],
                 pad.writingCanvas.width() / qreal(StrokeLibrary::BoxSize));
    }
}

}  // namespace

bool liveWritingOn(const App& app) {
    return app.mainWindow && app.mainWindow->control(LiveStrokesBox) != nullptr &&
           app.mainWindow->isChecked(LiveStrokesBox);
}

std::optional<LiveStrokeMiss> takeLiveStroke(WritingPad& pad, const StrokeList& reference) {
    if (reference.empty() || pad.strokes.empty()) {
        return std::nullopt;
    }
    pad.liveMisses.resize(reference.size());
    Stroke lifted = pad.strokes.back();
    pad.strokes.pop_back();
    if (isClick(lifted)) {
        // A click is no stroke: it leaves nothing behind.
        redraw(pad, reference, nullptr);
        return std::nullopt;
    }
    const std::optional<LiveStrokeMiss> miss = judgeLiveStroke(pad.strokes, lifted, reference);
    if (!miss) {
        pad.strokes.push_back(std::move(lifted));
        redraw(pad, reference, nullptr);
        return std::nullopt;
    }
    pad.liveSlipped = true;
    if (miss->stroke < pad.liveMisses.size()) {
        ++pad.liveMisses[miss->stroke];
    }
    redraw(pad, reference, &lifted);
    return miss;
}

QString liveStrokeMissText(const TextTables& texts, const LiveStrokeMiss& miss) {
    const QString due = QString::number(miss.stroke + 1);
    switch (miss.kind) {
        case LiveStrokeMiss::Kind::Backwards:
            return texts.text(MessageText::HandwritingBackwards).arg(due);
        case LiveStrokeMiss::Kind::Later:
            return texts.text(MessageText::LiveStrokeLater)
                .arg(due, QString::number(miss.later + 1));
        case LiveStrokeMiss::Kind::Misfit:
            return texts.text(MessageText::LiveStrokeMissed).arg(due);
        case LiveStrokeMiss::Kind::Extra:
            return texts.text(MessageText::HandwritingExtra);
    }
    return {};
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
