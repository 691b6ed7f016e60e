#include "app/training/gradedcanvas.h"

#include "core/handwriting/strokegrade.h"
#include "core/handwriting/strokelibrary.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>

namespace {

constexpr qreal EmptyCanvasMargin = 16;
constexpr qreal StrokeWidth = 3;
const QColor NumberColour(130, 130, 130);

QRectF boxOf(const StrokeList& strokes) {
    const StrokeBounds b = boundsOf(strokes);
    return b.left > b.right ? QRectF() : QRectF(QPointF(b.left, b.top), QPointF(b.right, b.bottom));
}

// Maps the reference's box onto the drawing's, side by side as the grading compares them.
QSizeF gradedSides(const QRectF& box) {
    const qreal least = std::max({box.width(), box.height(), qreal(1e-6)}) * MinSideRatio;
    return {std::max(box.width(), least), std::max(box.height(), least)};
}

QTransform fitReference(const QRectF& reference, const QRectF& drawing) {
    const QSizeF from = gradedSides(reference);
    const QSizeF to = gradedSides(drawing);
    QTransform fit;
    fit.translate(drawing.center().x(), drawing.center().y());
    fit.scale(to.width() / from.width(), to.height() / from.height());
    fit.translate(-reference.center().x(), -reference.center().y());
    return fit;
}

QPainterPath pathOf(const Stroke& stroke, const QTransform& transform = {}) {
    QPainterPath path;
    if (stroke.empty()) {
        return path;
    }
    path.moveTo(transform.map(QPointF(stroke.front().x, stroke.front().y)));
    for (const StrokePoint& p : stroke) {
        path.lineTo(transform.map(QPointF(p.x, p.y)));
    }
    return path;
}

void drawReference(QPainter& painter, const StrokeList& reference, const QTransform& fit) {
    painter.setPen(
        QPen(ReferenceStrokeColour, StrokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const Stroke& stroke : reference) {
        painter.drawPath(pathOf(stroke, fit));
    }
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    painter.setPen(NumberColour);
    for (size_t i = 0; i < reference.size(); ++i) {
        if (reference[i].empty()) {
            continue;
        }
        const QPointF start = fit.map(QPointF(reference[i].front().x, reference[i].front().y));
        painter.drawText(QRectF(start - QPointF(12, 12), QSizeF(12, 12)),
                         Qt::AlignRight | Qt::AlignBottom, QString::number(i + 1));
    }
}

}  // namespace

QImage gradedCanvas(QSize size, const StrokeList& drawn, const StrokeList* reference,
                    const std::vector<bool>& drawnMatched) {
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::Antialiasing);
    if (reference != nullptr && !reference->empty()) {
        QRectF target = boxOf(drawn);
        if (target.isNull()) {
            target = QRectF(QPointF(0, 0), QSizeF(size))
                         .adjusted(EmptyCanvasMargin, EmptyCanvasMargin, -EmptyCanvasMargin,
                                   -EmptyCanvasMargin);
        }
        QRectF source = boxOf(*reference);
        if (source.isNull()) {
            source = QRectF(0, 0, StrokeLibrary::BoxSize, StrokeLibrary::BoxSize);
        }
        drawReference(painter, *reference, fitReference(source, target));
    }
    for (size_t i = 0; i < drawn.size(); ++i) {
        const bool matched = i < drawnMatched.size() && drawnMatched[i];
        painter.setPen(QPen(matched ? MatchedStrokeColour : MissedStrokeColour, StrokeWidth,
                            Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (drawn[i].size() == 1) {
            painter.drawPoint(QPointF(drawn[i].front().x, drawn[i].front().y));
        } else {
            painter.drawPath(pathOf(drawn[i]));
        }
    }
    return canvas;
}
