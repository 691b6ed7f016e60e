// The canvas a kanji is written on: mouse, pen tablet and touch as one pen.
#include "ui/writingcanvas.h"

#include "ui/images.h"
#include "ui/toolkit.h"

#include <QMouseEvent>
#include <QTabletEvent>
#include <QTouchEvent>

namespace ui {

namespace {

const QColor DotColour(0, 255, 0);
constexpr int DotRadius = 4;
constexpr int LineWidth = 3;

// A mouse event made from a pen or a finger: the canvas has that stroke from its own event.
bool madeFromOtherInput(const QMouseEvent* event) {
    const QPointingDevice* device = event->pointingDevice();
    return event->source() != Qt::MouseEventNotSynthesized ||
           (device != nullptr && device->type() != QInputDevice::DeviceType::Mouse);
}

}  // namespace

WritingCanvas::WritingCanvas(QWidget* parent, EventTarget target)
    : ImageView(parent, target, true) {
    setAttribute(Qt::WA_AcceptTouchEvents);
}

void WritingCanvas::ink(QImage& image, const QPolygon& stroke) {
    if (stroke.isEmpty()) {
        return;
    }
    fillCircle(image, stroke.front(), DotRadius, DotColour);
    for (qsizetype i = 1; i < stroke.size(); ++i) {
        drawLine(image, stroke[i - 1], stroke[i], LineWidth, Qt::black);
    }
}

bool WritingCanvas::onCanvas(QPoint point, QSize size) {
    return point.x() > 0 && point.x() <= size.width() && point.y() > 0 &&
           point.y() <= size.height();
}

std::optional<QPolygon> WritingCanvas::endStroke() {
    if (pen_ == Pen::Up) {
        return std::nullopt;
    }
    pen_ = Pen::Up;
    return std::exchange(stroke_, {});
}

void WritingCanvas::penDown(Pen pen, QPoint point) {
    if (pen_ == pen) {
        // The lift of the last stroke never came (the window lost the pointer meanwhile).
        penUp(pen);
    }
    if (pen_ != Pen::Up || !onCanvas(point, size())) {
        return;
    }
    pen_ = pen;
    stroke_ = QPolygon{point};
    QImage shown = image();
    ink(shown, stroke_);
    setImage(shown);
}

void WritingCanvas::penMoves(Pen pen, QPoint point) {
    if (pen_ != pen || !onCanvas(point, size()) || point == stroke_.back()) {
        return;
    }
    QImage shown = image();
    drawLine(shown, stroke_.back(), point, LineWidth, Qt::black);
    setImage(shown);
    stroke_.append(point);
}

void WritingCanvas::penUp(Pen pen) {
    const EventTarget& target = eventTarget();
    if (pen_ == Pen::Up || pen_ != pen || target.toolkit == nullptr) {
        return;
    }
    Event stroke;
    stroke.kind = EventKind::Control;
    stroke.window = target.window;
    stroke.control = target.control;
    stroke.action = Action::Stroke;
    stroke.points = *endStroke();
    target.toolkit->post(stroke);
}

void WritingCanvas::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && !madeFromOtherInput(event)) {
        penDown(Pen::Mouse, event->position().toPoint());
    }
}

void WritingCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    // A quick second stroke comes as a double click in place of its press.
    mousePressEvent(event);
}

void WritingCanvas::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    if (madeFromOtherInput(event)) {
        return;
    }
    if ((event->buttons() & Qt::LeftButton) == 0) {
        penUp(Pen::Mouse);
        return;
    }
    penMoves(Pen::Mouse, event->position().toPoint());
}

void WritingCanvas::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton && !madeFromOtherInput(event)) {
        penUp(Pen::Mouse);
    }
}

void WritingCanvas::tabletEvent(QTabletEvent* event) {
    // Accepted, Qt makes no mouse events of it.
    event->accept();
    const QPoint point = event->position().toPoint();
    switch (event->type()) {
        case QEvent::TabletPress:
            penDown(Pen::Tablet, point);
            break;
        case QEvent::TabletMove:
            // A pen hovering over the tablet moves without touching it.
            if (event->buttons() != Qt::NoButton || event->pressure() > 0) {
                penMoves(Pen::Tablet, point);
            }
            break;
        case QEvent::TabletRelease:
            penUp(Pen::Tablet);
            break;
        default:
            break;
    }
}

void WritingCanvas::hideEvent(QHideEvent* event) {
    // Hidden while a stroke is written, the canvas never sees the pen lift: what was written
    // is handed on now.
    penUp(pen_);
    ImageView::hideEvent(event);
}

bool WritingCanvas::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate: {
            const auto* touch = static_cast<QTouchEvent*>(event);
            if (touch->points().size() != 1) {
                // A second finger is a gesture, not writing: the stroke ends there.
                penUp(Pen::Touch);
            } else {
                // Taken from the screen position, which every sender of the event sets.
                const QPoint point =
                    mapFromGlobal(touch->points().front().globalPosition()).toPoint();
                if (event->type() == QEvent::TouchBegin) {
                    penDown(Pen::Touch, point);
                } else {
                    penMoves(Pen::Touch, point);
                }
            }
            event->accept();
            return true;
        }
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
            penUp(Pen::Touch);
            event->accept();
            return true;
        default:
            return ImageView::event(event);
    }
}

}  // namespace ui
