#include "ui/quickstyle.h"

#include "ui/images.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QGroupBox>
#include <QIconEngine>
#include <QPaintDevice>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>

#include <algorithm>
#include <optional>

namespace ui {

namespace {

// An icon of the base style, loaded when it is first drawn or measured.
class DeferredIconEngine : public QIconEngine {
public:
    DeferredIconEngine(const QStyle* base, QStyle::StandardPixmap pixmap,
                       Qt::LayoutDirection direction)
        : base_(base), pixmap_(pixmap), direction_(direction) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine* clone() const override {
        return new DeferredIconEngine(base_, pixmap_, direction_);
    }

private:
    const QIcon& icon() {
        if (!icon_) {
            QStyleOption option;
            option.direction = direction_;
            // A style replaced since hands its icons over to the one in use.
            const QStyle* style = base_ != nullptr ? base_.get() : QApplication::style();
            icon_ = style->standardIcon(pixmap_, &option);
        }
        return *icon_;
    }

    QPointer<const QStyle> base_;
    QStyle::StandardPixmap pixmap_;
    Qt::LayoutDirection direction_;
    std::optional<QIcon> icon_;
};

class QuickStyle : public QProxyStyle {
public:
    // Fusion draws a group frame by stretching the edges of a small frame picture to the frame's
    // size. Smoothed, that stretch runs on Qt's thread pool for every paint and takes longer than
    // everything else on the card together; the edges are uniform along the stretch, so
    // stretching them unsmoothed draws the same frame, at most one step in 255 apart on its outer
    // line. Where a picture pixel is not a screen pixel, the smoothing stays.
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
        if (const FramePicture& picture = groupFramePicture(); !picture.pixmap.isNull()) {
            drawGroupFrame(option, painter, widget, picture);
        } else {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
        }
        painter->restore();
    }

    // Fusion draws a header's lines pixel by pixel in translucent colours, and Qt blends more
    // than 95 such pixels on its thread pool, which the first wide header would start before the
    // first kanji is shown. A section's picture is the same at every column apart from its
    // separator at the right, so pieces of it drawn side by side, the separator with the last,
    // give the same pixels on this thread.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
        if (element != CE_HeaderSection || header == nullptr ||
            header->orientation != Qt::Horizontal || option->rect.width() <= HeaderPiece) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const QRect whole = option->rect;
        for (int left = whole.left(); left <= whole.right(); left += HeaderPiece) {
            QStyleOptionHeaderV2 piece;
            if (const auto* v2 = qstyleoption_cast<const QStyleOptionHeaderV2*>(option)) {
                piece = *v2;
            } else {
                static_cast<QStyleOptionHeader&>(piece) = *header;
            }
            const int width = std::min(HeaderPiece, whole.right() - left + 1);
            piece.rect = QRect(left, whole.top(), width, whole.height());
            if (left + width <= whole.right()) {
                piece.position = QStyleOptionHeader::End;
            }
            QProxyStyle::drawControl(element, &piece, painter, widget);
        }
    }

    // Every menu bar loads the pictures of its overflow button, in all their sizes, when it is
    // made; they are shown only when the window is too narrow for its menus.
    QIcon standardIcon(StandardPixmap pixmap, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (pixmap != SP_ToolBarHorizontalExtensionButton &&
            pixmap != SP_ToolBarVerticalExtensionButton) {
            return QProxyStyle::standardIcon(pixmap, option, widget);
        }
        const Qt::LayoutDirection direction = option != nullptr ? option->direction
                                              : widget != nullptr
                                                  ? widget->layoutDirection()
                                                  : QGuiApplication::layoutDirection();
        return QIcon(new DeferredIconEngine(baseStyle(), pixmap, direction));
    }

private:
    static constexpr int FrameEdge = 6;
    static constexpr int HeaderPiece = 64;

    // Fusion's own frame picture, read without Qt's image reader: before that reads a PNG
    // itself, it loads every installed image plugin to ask whether one of them does.
    struct FramePicture {
        QPixmap pixmap;
        // The colour of the picture's middle, when it is one colour throughout.
        std::optional<QColor> uniformMiddle;
    };

    const FramePicture& groupFramePicture() const {
        if (!groupFrame_) {
            const QImage image = loadBuiltInPng(
                QStringLiteral(":/qt-project.org/styles/commonstyle/images/fusion_groupbox.png"));
            groupFrame_ = FramePicture{QPixmap::fromImage(image), uniformMiddleOf(image)};
        }
        return *groupFrame_;
    }

    static std::optional<QColor> uniformMiddleOf(const QImage& image) {
        const QRect middle = image.rect().adjusted(FrameEdge, FrameEdge, -FrameEdge, -FrameEdge);
        if (middle.isEmpty()) {
            return std::nullopt;
        }
        const QRgb colour = image.pixel(middle.topLeft());
        for (int y = middle.top(); y <= middle.bottom(); ++y) {
            for (int x = middle.left(); x <= middle.right(); ++x) {
                if (image.pixel(x, y) != colour) {
                    return std::nullopt;
                }
            }
        }
        return QColor::fromRgba(colour);
    }

    // Where Fusion puts it: below the caption, or just below the top of a frame without one.
    // A middle of one colour is filled rather than stretched from the picture, which gives the
    // same pixels several times sooner.
    void drawGroupFrame(const QStyleOption* option, QPainter* painter, const QWidget* widget,
                        const FramePicture& picture) const {
        constexpr int CaptionGap = 3;
        const auto* box = qobject_cast<const QGroupBox*>(widget);
        const bool captionless = box != nullptr && !box->isCheckable() && box->title().isEmpty();
        const int top = captionless ? CaptionGap
                                    : std::max(pixelMetric(PM_ExclusiveIndicatorHeight),
                                               option->fontMetrics.height()) +
                                          CaptionGap;
        const QRect frame = option->rect.adjusted(0, top, 0, 0);
        const QMargins edges(FrameEdge, FrameEdge, FrameEdge, FrameEdge);
        const QRect middle = frame.marginsRemoved(edges);
        if (!picture.uniformMiddle || middle.isEmpty()) {
            qDrawBorderPixmap(painter, frame, edges, picture.pixmap);
            return;
        }
        // Corners and edges piece by piece, as the stretch would place them: a stretch of the
        // whole picture is drawn on Qt's thread pool even where it is hidden.
        const QPixmap& pixmap = picture.pixmap;
        const int e = FrameEdge;
        const int sourceWidth = pixmap.width() - 2 * e;
        const int sourceHeight = pixmap.height() - 2 * e;
        const int right = pixmap.width() - e;
        const int bottom = pixmap.height() - e;
        const int frameRight = frame.right() - e + 1;
        const int frameBottom = frame.bottom() - e + 1;
        painter->drawPixmap(QRect(frame.left(), frame.top(), e, e), pixmap, QRect(0, 0, e, e));
        painter->drawPixmap(QRect(frameRight, frame.top(), e, e), pixmap, QRect(right, 0, e, e));
        painter->drawPixmap(QRect(frame.left(), frameBottom, e, e), pixmap, QRect(0, bottom, e, e));
        painter->drawPixmap(QRect(frameRight, frameBottom, e, e), pixmap,
                            QRect(right, bottom, e, e));
        painter->drawPixmap(QRect(middle.left(), frame.top(), middle.width(), e), pixmap,
                            QRect(e, 0, sourceWidth, e));
        painter->drawPixmap(QRect(middle.left(), frameBottom, middle.width(), e), pixmap,
                            QRect(e, bottom, sourceWidth, e));
        painter->drawPixmap(QRect(frame.left(), middle.top(), e, middle.height()), pixmap,
                            QRect(0, e, e, sourceHeight));
        painter->drawPixmap(QRect(frameRight, middle.top(), e, middle.height()), pixmap,
                            QRect(right, e, e, sourceHeight));
        fillInBands(painter, middle, *picture.uniformMiddle);
    }

    // Qt blends a translucent fill taller than 95 rows on its thread pool, which it starts for
    // the first such fill, before the first kanji is shown; bands of 64 rows give the same pixels
    // on this thread.
    static void fillInBands(QPainter* painter, const QRect& rect, const QColor& colour) {
        constexpr int Band = 64;
        for (int top = rect.top(); top <= rect.bottom(); top += Band) {
            painter->fillRect(
                QRect(rect.left(), top, rect.width(), std::min(Band, rect.bottom() - top + 1)),
                colour);
        }
    }

    mutable std::optional<FramePicture> groupFrame_;
};

}  // namespace

std::unique_ptr<QStyle> makeQuickStyle() {
    return std::make_unique<QuickStyle>();
}

void useQuickStyle() {
    if (dynamic_cast<QuickStyle*>(QApplication::style()) == nullptr) {
        QApplication::setStyle(makeQuickStyle().release());
    }
}

}  // namespace ui
