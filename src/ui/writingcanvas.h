// The canvas a kanji is written on: one stroke from pen down to pen up, whether the mouse, a pen
// tablet or a finger writes it.
#pragma once

#include "ui/widgets.h"

#include <QPolygon>

#include <optional>

class QTabletEvent;

namespace ui {

// An image that takes the mouse, a pen tablet and one finger on a touch screen as one pen. It
// inks the stroke being written over the image it shows (a green dot where the pen comes down,
// black lines on from there) and hands each finished stroke on as a Stroke event carrying its
// points. Points off the canvas are not written: a stroke that leaves it goes on from its last
// point on the canvas when it comes back, and a press off the canvas writes nothing. Mouse events
// the system makes from a pen or a finger are ignored, so that each stroke arrives once.
class WritingCanvas : public ImageView {
public:
    WritingCanvas(QWidget* parent, EventTarget target);

    // Inks a stroke onto an image as the canvas does while the stroke is written.
    static void ink(QImage& image, const QPolygon& stroke);
    // Whether a point of the widget is on the canvas: of its edges, those at the right and the
    // bottom are, those at the left and the top are not.
    static bool onCanvas(QPoint point, QSize size);

    // Ends the stroke being written, if one is, and returns it instead of posting it; the rest
    // of that drag writes nothing.
    std::optional<QPolygon> endStroke();

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    enum class Pen { Up, Mouse, Tablet, Touch };

    void penDown(Pen pen, QPoint point);
    void penMoves(Pen pen, QPoint point);
    void penUp(Pen pen);

    // What writes the stroke being written; Up between strokes.
    Pen pen_ = Pen::Up;
    QPolygon stroke_;
};

}  // namespace ui
