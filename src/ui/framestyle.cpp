#include "ui/framestyle.h"

#include <QApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QProxyStyle>

namespace ui {

namespace {

// Fusion draws a group frame by stretching the edges of a small frame picture to the frame's
// size. Smoothed, that stretch runs on Qt's thread pool for every paint and takes longer than
// everything else on the card together; the edges are uniform along the stretch, so stretching
// them unsmoothed draws the same frame, at most one step in 255 apart on its outer line. Where
// a picture pixel is not a screen pixel, the smoothing stays.
class QuickGroupFrameStyle : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        const bool plainPixels = painter != nullptr && painter->device() != nullptr &&
                                 painter->device()->devicePixelRatio() == 1.0;
        if (element != PE_FrameGroupBox || !plainPixels) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        painter->restore();
    }
};

}  // namespace

void useQuickGroupFrames() {
    if (dynamic_cast<QuickGroupFrameStyle*>(QApplication::style()) == nullptr) {
        QApplication::setStyle(new QuickGroupFrameStyle);
    }
}

}  // namespace ui
