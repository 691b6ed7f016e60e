// Writing on the canvas with a pen tablet or one finger on a touch screen, as with the mouse.
#include "app/training/peninput.h"

#include "app/state/app.h"
#include "app/state/trainingids.h"
#include "app/training/handwriting.h"
#include "app/training/livewriting.h"
#include "ui/images.h"

#include <QEvent>
#include <QMouseEvent>
#include <QTabletEvent>
#include <QTouchEvent>
#include <QWidget>

namespace {

class PenFilter : public QObject {
public:
    PenFilter(App& app, QWidget* canvas) : QObject(canvas), app_(app), canvas_(canvas) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::TabletPress:
            case QEvent::TabletMove: {
                const auto* tablet = static_cast<QTabletEvent*>(event);
                // A pen hovering over the tablet moves without touching it.
                if (event->type() == QEvent::TabletPress || tablet->buttons() != Qt::NoButton ||
                    tablet->pressure() > 0) {
                    app_.writingPad.penOnCanvas = true;
                    writeOnCanvas(app_, tablet->position().toPoint());
                }
                event->accept();
                return true;
            }
            case QEvent::TabletRelease:
                liftPen(app_);
                event->accept();
                return true;
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate: {
                const auto* touch = static_cast<QTouchEvent*>(event);
                // A second finger is a gesture, not writing: the stroke ends there.
                if (touch->points().size() != 1) {
                    liftPen(app_);
                } else {
                    app_.writingPad.penOnCanvas = true;
                    // Taken from the screen position, which every sender of the event sets.
                    const QPointF screen = touch->points().front().globalPosition();
                    writeOnCanvas(app_, canvas_->mapFromGlobal(screen).toPoint());
                }
                event->accept();
                return true;
            }
            case QEvent::TouchEnd:
            case QEvent::TouchCancel:
                liftPen(app_);
                event->accept();
                return true;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove: {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                const QPointingDevice* device = mouse->pointingDevice();
                return mouse->source() != Qt::MouseEventNotSynthesized ||
                       (device != nullptr && device->type() != QInputDevice::DeviceType::Mouse);
            }
            default:
                return QObject::eventFilter(watched, event);
        }
    }

private:
    App& app_;
    QWidget* canvas_;  // the filter's parent
};

}  // namespace

void writeOnCanvas(App& app, QPoint pen) {
    WritingPad& pad = app.writingPad;
    const StrokePoint point{static_cast<float>(pen.x()), static_cast<float>(pen.y())};
    if (pad.lastPenX == -1 || pad.lastPenY == -1) {
        ui::fillCircle(pad.writingCanvas, pen, 4, QColor(0, 255, 0));
        pad.strokes.push_back({point});
    } else {
        ui::drawLine(pad.writingCanvas, QPoint(pad.lastPenX, pad.lastPenY), pen, 3, Qt::black);
        if (pad.strokes.empty()) {
            pad.strokes.emplace_back();
        }
        if (pad.strokes.back().empty() || pad.strokes.back().back() != point) {
            pad.strokes.back().push_back(point);
        }
    }
    pad.lastPenX = pen.x();
    pad.lastPenY = pen.y();
    app.mainWindow->setImage(CanvasImage, pad.writingCanvas);
}

void liftPen(App& app) {
    app.writingPad.penOnCanvas = false;
    const bool wasWriting = app.writingPad.lastPenX != -1 && app.writingPad.lastPenY != -1;
    app.writingPad.lastPenX = -1;
    app.writingPad.lastPenY = -1;
    if (!wasWriting) {
        return;
    }
    if (liveWritingOn(app)) {
        judgeLiveStroke(app);
    } else {
        readWrittenKanjiAhead(app);
    }
}

void installPenInput(App& app) {
    QWidget* canvas = app.mainWindow->control(CanvasImage);
    if (canvas == nullptr) {
        return;
    }
    canvas->setAttribute(Qt::WA_AcceptTouchEvents);
    // Parented to the canvas, which owns it.
    canvas->installEventFilter(new PenFilter(app, canvas));
}
