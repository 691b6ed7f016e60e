// The eleven button pictures of the main window, drawn as vector shapes.
#include "makeicons/controlicons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <iterator>

namespace {

struct Palette {
    QColor light, dark, outline;
};

const Palette blue{QColor(0x5A, 0x9C, 0xE8), QColor(0x1F, 0x5F, 0xAF), QColor(0x15, 0x45, 0x85)};
const Palette green{QColor(0x5C, 0xC8, 0x66), QColor(0x1E, 0x8A, 0x30), QColor(0x15, 0x66, 0x22)};
const Palette red{QColor(0xEC, 0x6A, 0x5A), QColor(0xB8, 0x2A, 0x20), QColor(0x86, 0x1B, 0x14)};
const Palette grey{QColor(0x7A, 0x7A, 0x7A), QColor(0x38, 0x38, 0x38), QColor(0x22, 0x22, 0x22)};

// Fills a shape with a top-to-bottom gradient and a thin round-jointed outline.
void fillShape(QPainter& painter, const QPainterPath& path, const Palette& palette) {
    QLinearGradient gradient(0, path.boundingRect().top(), 0, path.boundingRect().bottom());
    gradient.setColorAt(0, palette.light);
    gradient.setColorAt(1, palette.dark);
    painter.setPen(QPen(palette.outline, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(gradient);
    painter.drawPath(path);
}

// A stroke with a darker rim: the wide dark line first, the coloured line on top.
void rimmedStroke(QPainter& painter, const QPainterPath& path, const QColor& colour,
                  const QColor& rim, qreal width) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(rim, width + 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
}

QPainterPath triangle(QPointF a, QPointF b, QPointF c) {
    QPainterPath path(a);
    path.lineTo(b);
    path.lineTo(c);
    path.closeSubpath();
    return path;
}

QPainterPath roundedBox(qreal x, qreal y, qreal width, qreal height) {
    QPainterPath path;
    path.addRoundedRect(x, y, width, height, 2, 2);
    return path;
}

// Draws the left-pointing form mirrored, so both directions share one shape.
template <typename Draw>
void mirrored(QPainter& painter, Draw draw) {
    painter.save();
    painter.translate(32, 0);
    painter.scale(-1, 1);
    draw(painter);
    painter.restore();
}

void drawSound(QPainter& painter) {
    const QPointF outline[] = {{3, 12}, {9, 12}, {17, 5}, {17, 27}, {9, 20}, {3, 20}};
    QPainterPath speaker;
    speaker.addPolygon(QPolygonF(std::begin(outline), std::end(outline)));
    speaker.closeSubpath();
    fillShape(painter, speaker, grey);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(blue.dark, 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(13, 11, 10, 10), -50 * 16, 100 * 16);
    painter.drawArc(QRectF(10, 6, 20, 20), -50 * 16, 100 * 16);
}

void drawOneLeft(QPainter& painter) {
    fillShape(painter, triangle({23, 5}, {23, 27}, {7, 16}), blue);
}

void drawTwoLeft(QPainter& painter) {
    fillShape(painter, triangle({29, 6}, {29, 26}, {15, 16}), blue);
    fillShape(painter, triangle({17, 6}, {17, 26}, {3, 16}), blue);
}

void drawOneRight(QPainter& painter) {
    mirrored(painter, drawOneLeft);
}

void drawTwoRight(QPainter& painter) {
    mirrored(painter, drawTwoLeft);
}

void drawStart(QPainter& painter) {
    fillShape(painter, triangle({9, 4}, {9, 28}, {28, 16}), green);
}

void drawStop(QPainter& painter) {
    fillShape(painter, roundedBox(6, 6, 20, 20), red);
}

void drawPause(QPainter& painter) {
    fillShape(painter, roundedBox(7, 5, 7, 22), blue);
    fillShape(painter, roundedBox(18, 5, 7, 22), blue);
}

void drawWrong(QPainter& painter) {
    QPainterPath cross(QPointF(8, 8));
    cross.lineTo(24, 24);
    cross.moveTo(24, 8);
    cross.lineTo(8, 24);
    rimmedStroke(painter, cross, QColor(0xD8, 0x2A, 0x1E), red.outline, 5);
}

void drawPartly(QPainter& painter) {
    const QColor orange(0xF2, 0x9A, 0x18);
    const QColor rim(0xA8, 0x62, 0x08);
    const QRectF circle(5, 5, 22, 22);
    QPainterPath half;
    half.moveTo(16, 5);
    half.arcTo(circle, 90, 180);
    half.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(orange);
    painter.drawPath(half);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(rim, 4.5));
    painter.drawEllipse(circle);
    painter.setPen(QPen(orange, 2.5));
    painter.drawEllipse(circle);
}

void drawOk(QPainter& painter) {
    QPainterPath check(QPointF(6, 17));
    check.lineTo(13, 24);
    check.lineTo(26, 8);
    rimmedStroke(painter, check, QColor(0x2A, 0xA8, 0x36), green.outline, 5);
}

// The program's own icon: a blue card with the kanji for tree in white brush strokes, in the
// gradient, outline and rimmed strokes of the buttons.
void drawProgram(QPainter& painter) {
    QPainterPath card;
    card.addRoundedRect(2, 2, 28, 28, 5, 5);
    fillShape(painter, card, blue);
    QPainterPath tree(QPointF(7.5, 12));
    tree.lineTo(24.5, 12);
    tree.moveTo(16, 5.5);
    tree.lineTo(16, 26.5);
    tree.moveTo(15.5, 13);
    tree.quadTo(12, 20, 6.5, 24);
    tree.moveTo(16.5, 13);
    tree.quadTo(20, 20, 25.5, 24);
    rimmedStroke(painter, tree, Qt::white, blue.outline, 2.6);
}

}  // namespace

const ControlIcon& programIcon() {
    static const ControlIcon icon{"renkari.png", drawProgram};
    return icon;
}

const std::array<ControlIcon, 11>& controlIcons() {
    static const std::array<ControlIcon, 11> icons{{
        {"Sound.ico", drawSound},
        {"2left.ico", drawTwoLeft},
        {"1left.ico", drawOneLeft},
        {"1right.ico", drawOneRight},
        {"2right.ico", drawTwoRight},
        {"Start.ico", drawStart},
        {"stop.ico", drawStop},
        {"pause.ico", drawPause},
        {"Wrong.ico", drawWrong},
        {"Partly.ico", drawPartly},
        {"ok.ico", drawOk},
    }};
    return icons;
}

QImage renderControlIcon(const ControlIcon& icon, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    icon.draw(painter);
    painter.end();
    return image;
}
