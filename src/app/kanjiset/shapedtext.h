// Text shaped on worker threads and drawn by the one painter a PDF allows, which then only writes
// glyphs. A line keeps the glyphs of its font's first face; a line that needs another face for
// some character is drawn as text, shaped where it is drawn.
#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QRawFont>
#include <QString>

#include <vector>

struct ShapedLine {
    QString text;
    // Empty where the line is drawn as text.
    QList<quint32> glyphs;
    // From the start of the line's baseline, in the page's units.
    QList<QPointF> positions;
};

// On any thread; font is measured as on the page.
ShapedLine shapeLine(const QString& text, const QFont& font);
// The text broken at blanks into at most maxLines lines of width millimetres, each shaped; what
// does not fit is cut off with an ellipsis. The whole text is shaped once, and only a line cut
// with an ellipsis again.
std::vector<ShapedLine> fitShapedLines(const QString& text, const QFont& font, double widthMm,
                                       int maxLines);

// Draws shaped lines on the painter's thread.
class GlyphPainter {
public:
    explicit GlyphPainter(QPainter& painter) : painter_(painter) {}

    void draw(const ShapedLine& line, const QFont& font, QPointF baseline);
    // A short text that recurs, such as a frame's number: shaped once for each font.
    void drawRecurring(const QString& text, const QFont& font, QPointF baseline);

private:
    QPainter& painter_;
    QHash<QString, QRawFont> faces_;
    QHash<QString, ShapedLine> recurring_;
};
