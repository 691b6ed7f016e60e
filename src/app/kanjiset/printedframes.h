// A strip's stroke-order frames as printed: one-bit rows of frames and their drawing on a page.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPointF>

#include <vector>

class GlyphPainter;

// A strip's frames made ready for the page, on any thread: each row of frames one picture of
// one bit a pixel, the newest stroke black and the strokes before it grey. That is a
// twenty-fourth of the bytes of a picture in colour, so thousands of kanji make a small file,
// quick to compress, and grey is what most printers of flash cards print the red of the screen
// as anyway. Strokes paler than a mid grey are left out.
struct PrintedFrames {
    struct Row {
        // The lines of the frames from top down that have ink; null where none has.
        QImage mask;
        int top = 0;
    };
    int count = 0;
    int perRow = 0;
    std::vector<Row> rows;
};
PrintedFrames printedFrames(const QImage& strip, int perRow);

// Draws the frames left to right from topLeft (millimetres), frameMm wide each, in their rows,
// each with a thin border and its stroke number in the corner.
void drawPrintedFrames(QPainter& painter, GlyphPainter& numbers, const PrintedFrames& frames,
                       QPointF topLeft, double frameMm, const QFont& numberFont);
