// A small pad to draw a kanji on, handing on each finished stroke.
#include "app/kanjiset/sketchpad.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

SketchPad::SketchPad(QWidget* parent, ui::EventTarget target) : QWidget(parent), target_(target) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

void SketchPad::clear() {
    strokes_.clear();
    drawing_ = false;
    update();
}

void SketchPad::addStroke(Stroke stroke) {
    strokes_.push_back(std::move(stroke));
    update();
    target_.post(ui::Action::Change);
}

void SketchPad::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(Qt::lightGray, 1, Qt::DashLine));
    painter.drawLine(width() / 2, 0, width() / 2, height());
    painter.drawLine(0, height() / 2, width(), height() / 2);
    painter.setPen(QPen(Qt::darkGray));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const Stroke& stroke : strokes_) {
        if (stroke.empty()) {
            continue;
        }
        QPainterPath path(QPointF(stroke.front().x, stroke.front().y));
        for (const StrokePoint& point : stroke) {
            path.lineTo(point.x, point.y);
        }
        painter.drawPath(path);
    }
}

void SketchPad::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    drawing_ = true;
    const QPointF at = event->position();
    strokes_.push_back({{static_cast<float>(at.x()), static_cast<float>(at.y())}});
    update();
}

void SketchPad::mouseMoveEvent(QMouseEvent* event) {
    if (!drawing_ || strokes_.empty()) {
        return;
    }
    const QPointF at = event->position();
    strokes_.back().push_back({static_cast<float>(at.x()), static_cast<float>(at.y())});
    update();
}

void SketchPad::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !drawing_) {
        return;
    }
    drawing_ = false;
    target_.post(ui::Action::Change);
}
