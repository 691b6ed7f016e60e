#include "app/training/gradedcanvas.h"

#include "core/handwriting/strokegrade.h"
#include "core/handwriting/strokelibrary.h"

#include <QLineF>
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
    std::vector<QPolygonF> fitted;
    for (const Stroke& stroke : reference) {
        QPolygonF& line = fitted.emplace_back();
        for (const StrokePoint& p : stroke) {
            line << fit.map(QPointF(p.x, p.y));
        }
    }
    const QRectF bounds(QPointF(0, 0),
                        QSizeF(painter.device()->width(), painter.device()->height()));
    const std::vector<QRectF> boxes = strokeNumberBoxes(fitted, QSizeF(12, 12), bounds);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        if (!boxes[i].isEmpty()) {
            painter.drawText(boxes[i], Qt::AlignRight | Qt::AlignBottom, QString::number(i + 1));
        }
    }
}

// The point the given part of the way along the line.
QPointF along(const QPolygonF& line, qreal part) {
    qreal total = 0;
    for (qsizetype i = 1; i < line.size(); ++i) {
        total += QLineF(line[i - 1], line[i]).length();
    }
    qreal left = part * total;
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QLineF piece(line[i - 1], line[i]);
        if (piece.length() >= left && piece.length() > 0) {
            return piece.pointAt(left / piece.length());
        }
        left -= piece.length();
    }
    return line.back();
}

}  // namespace

QPainterPath pathOf(const Stroke& stroke, const QTransform& transform) {
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

std::vector<QRectF> strokeNumberBoxes(const std::vector<QPolygonF>& strokes, QSizeF label,
                                      const QRectF& bounds) {
    std::vector<QRectF> boxes;
    std::vector<QRectF> placed;
    for (const QPolygonF& stroke : strokes) {
        if (stroke.isEmpty()) {
            boxes.emplace_back();
            continue;
        }
        // Up and left of the start, where the pen comes down; then further along the stroke;
        // then around the start.
        std::vector<QRectF> choices;
        const auto cornerAt = [&](QPointF p) {
            return QRectF(p - QPointF(label.width(), label.height()), label);
        };
        choices.push_back(cornerAt(stroke.front()));
        for (const qreal part : {0.2, 0.35, 0.5}) {
            choices.push_back(cornerAt(along(stroke, part)));
        }
        const QPointF start = stroke.front();
        for (const QPointF aside : {QPointF(1, -1), QPointF(-1, 1), QPointF(1, 1), QPointF(-2, 0),
                                    QPointF(0, -2), QPointF(2, 0), QPointF(0, 2)}) {
            choices.push_back(
                QRectF(start + QPointF(aside.x() * label.width(), aside.y() * label.height()) -
                           QPointF(label.width(), label.height()),
                       label));
        }
        const auto free = [&](const QRectF& box) {
            return bounds.contains(box) && std::ranges::none_of(placed, [&](const QRectF& other) {
                       return other.intersects(box);
                   });
        };
        const auto chosen = std::ranges::find_if(choices, free);
        boxes.push_back(chosen != choices.end() ? *chosen : choices.front());
        placed.push_back(boxes.back());
    }
    return boxes;
}
