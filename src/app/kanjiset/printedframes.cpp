// A strip's stroke-order frames as printed: one-bit rows of frames and their drawing on a page.
#include "app/kanjiset/printedframes.h"

#include "app/kanjiset/cardview.h"
#include "app/kanjiset/pdfpages.h"
#include "app/kanjiset/shapedtext.h"

#include <QFontMetricsF>
#include <QPen>

#include <cstring>

namespace {

constexpr QColor BorderColour(150, 150, 150);

}  // namespace

namespace {

enum class Ink : uchar { None, Newest, Earlier };

Ink inkOf(QRgb pixel) {
    // Most of a strip is white.
    if ((pixel & 0xFFFFFFu) == 0xFFFFFFu || qAlpha(pixel) < 128) {
        return Ink::None;
    }
    const int red = qRed(pixel);
    // The newest stroke, red in the strip also where it fades into the white around it, is
    // black; the strokes before it are grey.
    if (red >= 128 && red - qMax(qGreen(pixel), qBlue(pixel)) >= 80) {
        return Ink::Newest;
    }
    return qGray(pixel) < 160 ? Ink::Earlier : Ink::None;
}

// The lines of a mask, copied whole: QImage::copy goes pixel by pixel where the width is not a
// multiple of eight.
QImage linesOf(const QImage& mask, int top, int count) {
    QImage lines(mask.width(), count, mask.format());
    lines.setColorTable(mask.colorTable());
    for (int y = 0; y < count; ++y) {
        std::memcpy(lines.scanLine(y), mask.constScanLine(top + y),
                    static_cast<size_t>(mask.bytesPerLine()));
    }
    return lines;
}

// Whether a pixel is inked in black: the newest stroke everywhere, the strokes before it on every
// other dot, which prints as grey.
constexpr std::array<std::array<uchar, 2>, 3> BlackAtParity{{{0, 0}, {1, 1}, {1, 0}}};

// Each row of frames as one picture of one bit a pixel, cut to the lines that have ink; lineInk(y)
// gives what tells the pixels of the strip's line y apart.
template <typename LineInk>
std::vector<PrintedFrames::Row> frameRows(int count, int perRow, LineInk lineInk) {
    std::vector<PrintedFrames::Row> rows;
    for (int first = 0; first < count; first += perRow) {
        const int width = qMin(perRow, count - first) * StrokeFrameSize;
        QImage mask(width, StrokeFrameSize, QImage::Format_Mono);
        // Black at index 0 and white at 1 make the PDF writer keep the picture as a mask, which
        // it fills with the pen's colour.
        mask.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        int top = StrokeFrameSize;
        int bottom = -1;
        for (int y = 0; y < StrokeFrameSize; ++y) {
            const auto inkAt = lineInk(y);
            uchar* bits = mask.scanLine(y);
            uchar lineInked = 0;
            for (int x = 0; x < width; x += 8) {
                uchar ink = 0;
                for (int bit = 0; bit < qMin(8, width - x); ++bit) {
                    const auto pixel =
                        static_cast<size_t>(inkAt(first * StrokeFrameSize + x + bit));
                    ink |= static_cast<uchar>(BlackAtParity[pixel][(x + bit + y) & 1] << (7 - bit));
                }
                bits[x >> 3] = static_cast<uchar>(~ink);
                lineInked |= ink;
            }
            if (lineInked != 0) {
                top = qMin(top, y);
                bottom = y;
            }
        }
        // The white above and below the strokes is left out: a fifth of the bytes to compress.
        rows.push_back(bottom < 0 ? PrintedFrames::Row{}
                                  : PrintedFrames::Row{linesOf(mask, top, bottom - top + 1), top});
    }
    return rows;
}

}  // namespace

PrintedFrames printedFrames(const QImage& strip, int perRow) {
    PrintedFrames frames;
    frames.count = strokeFrameCount(strip);
    frames.perRow = perRow;
    if (frames.count == 0 || perRow < 1) {
        return frames;
    }
    if (strip.format() == QImage::Format_Indexed8) {
        // The strips a set keeps have a palette of a few colours: each is told apart once.
        std::array<Ink, 256> inkOfIndex{};
        const QList<QRgb> colours = strip.colorTable();
        for (qsizetype i = 0; i < qMin<qsizetype>(colours.size(), 256); ++i) {
            inkOfIndex[static_cast<size_t>(i)] = inkOf(colours[i]);
        }
        frames.rows = frameRows(frames.count, perRow, [&strip, &inkOfIndex](int y) {
            return
                [line = strip.constScanLine(y), &inkOfIndex](int x) { return inkOfIndex[line[x]]; };
        });
        return frames;
    }
    if (strip.format() == QImage::Format_RGB888) {
        frames.rows = frameRows(frames.count, perRow, [&strip](int y) {
            return [line = strip.constScanLine(y)](int x) {
                const uchar* rgb = line + 3 * x;
                return inkOf(qRgb(rgb[0], rgb[1], rgb[2]));
            };
        });
        return frames;
    }
    const QImage pixels = strip.convertToFormat(QImage::Format_ARGB32);
    frames.rows = frameRows(frames.count, perRow, [&pixels](int y) {
        return [line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y))](int x) {
            return inkOf(line[x]);
        };
    });
    return frames;
}

void drawPrintedFrames(QPainter& painter, GlyphPainter& numbers, const PrintedFrames& frames,
                       QPointF topLeft, double frameMm, const QFont& numberFont) {
    painter.save();
    const double gapMm = 0.6;
    painter.setBrush(Qt::NoBrush);
    // The numbers are placed on their baseline, shaped once: laying out a text in a box takes
    // several times as long, and a card has a dozen of them.
    const double ascent = QFontMetricsF(numberFont, painter.device()).ascent();
    std::vector<QRectF> borders;
    for (size_t row = 0; row < frames.rows.size(); ++row) {
        const int first = static_cast<int>(row) * frames.perRow;
        const int count = qMin(frames.perRow, frames.count - first);
        const double y = topLeft.y() + static_cast<double>(row) * (frameMm + gapMm);
        if (const PrintedFrames::Row& inked = frames.rows[row]; !inked.mask.isNull()) {
            const double scale = frameMm / StrokeFrameSize;
            painter.setPen(Qt::black);
            painter.drawImage(PdfPages::rect(topLeft.x(), y + inked.top * scale, count * frameMm,
                                             inked.mask.height() * scale),
                              inked.mask);
        }
        painter.setPen(QPen(BorderColour, PdfPages::px(0.1)));
        borders.clear();
        for (int i = 0; i < count; ++i) {
            const QRectF frame = PdfPages::rect(topLeft.x() + i * frameMm, y, frameMm, frameMm);
            borders.push_back(frame);
            numbers.drawRecurring(QString::number(first + i + 1), numberFont,
                                  QPointF(frame.left() + PdfPages::px(0.5),
                                          frame.top() + PdfPages::px(0.2) + ascent));
        }
        painter.drawRects(borders.data(), static_cast<int>(borders.size()));
    }
    painter.restore();
}
