// A small pad to draw a kanji on with the mouse or a finger, handing on each finished stroke.
#pragma once

#include "core/handwriting/strokes.h"
#include "ui/widgets.h"

#include <QWidget>

class SketchPad : public QWidget {
public:
    // Each finished stroke posts Change to target.
    SketchPad(QWidget* parent, ui::EventTarget target);

    const StrokeList& strokes() const { return strokes_; }
    void clear();
    // Draws a stroke as the pen would, posting its Change: for tests and scripted demos.
    void addStroke(Stroke stroke);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ui::EventTarget target_;
    StrokeList strokes_;
    bool drawing_ = false;
};
