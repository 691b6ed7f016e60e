// Text shaped on worker threads, drawn by the PDF's painter.
#include "app/kanjiset/shapedtext.h"

#include "app/kanjiset/pdfpages.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QTextLayout>

namespace {

// The font's first face as the page measures it, on the calling thread: faces cannot move
// between threads, but the same face gives the same glyph numbers on every thread.
QRawFont firstFace(const QFont& font) {
    return QRawFont::fromFont(PdfPages::onPage(font));
}

}  // namespace

namespace {

// The glyphs of the line's characters from..from+length, from the start of their baseline; false
// where some character needs another face than the font's first.
bool glyphsOf(const QTextLine& line, int from, int length, const QRawFont& face,
              ShapedLine& shaped) {
    const QPointF start(line.cursorToX(from), line.ascent());
    for (const QGlyphRun& run : line.glyphRuns(from, length)) {
        if (run.rawFont() != face) {
            shaped.glyphs.clear();
            shaped.positions.clear();
            return false;
        }
        shaped.glyphs += run.glyphIndexes();
        for (const QPointF& position : run.positions()) {
            shaped.positions.append(position - start);
        }
    }
    return true;
}

// The text as one line, however long.
struct LaidOutText {
    QTextLayout layout;
    QTextLine line;

    LaidOutText(const QString& text, const QFont& pageFont) : layout(text, pageFont) {
        layout.beginLayout();
        line = layout.createLine();
        layout.endLayout();
    }
};

}  // namespace

ShapedLine shapeLine(const QString& text, const QFont& font) {
    ShapedLine shaped{text, {}, {}};
    const QFont pageFont = PdfPages::onPage(font);
    const LaidOutText laidOut(text, pageFont);
    if (laidOut.line.isValid()) {
        glyphsOf(laidOut.line, 0, static_cast<int>(text.size()), QRawFont::fromFont(pageFont),
                 shaped);
    }
    return shaped;
}

std::vector<ShapedLine> fitShapedLines(const QString& text, const QFont& font, double widthMm,
                                       int maxLines) {
    const QString words = text.simplified();
    const QFont pageFont = PdfPages::onPage(font);
    const LaidOutText laidOut(words, pageFont);
    std::vector<ShapedLine> lines;
    if (words.isEmpty() || !laidOut.line.isValid()) {
        return lines;
    }
    const QRawFont face = QRawFont::fromFont(pageFont);
    const double width = PdfPages::px(widthMm);
    const auto size = static_cast<int>(words.size());
    const auto nextBlank = [&words, size](int from) {
        const auto blank = static_cast<int>(words.indexOf(QLatin1Char(' '), from));
        return blank < 0 ? size : blank;
    };
    int start = 0;
    while (start < size) {
        const double left = laidOut.line.cursorToX(start);
        // The furthest blank the line may end at; a first word too wide stands alone.
        int end = nextBlank(start);
        while (end < size && laidOut.line.cursorToX(nextBlank(end + 1)) - left <= width) {
            end = nextBlank(end + 1);
        }
        if (static_cast<int>(lines.size()) + 1 == maxLines) {
            // The last line takes the rest, cut with an ellipsis.
            end = size;
        }
        const QString lineText = words.mid(start, end - start);
        if (laidOut.line.cursorToX(end) - left <= width) {
            ShapedLine shaped{lineText, {}, {}};
            glyphsOf(laidOut.line, start, end - start, face, shaped);
            lines.push_back(std::move(shaped));
        } else {
            lines.push_back(shapeLine(
                QFontMetricsF(pageFont).elidedText(lineText, Qt::ElideRight, width), font));
        }
        start = end + 1;
    }
    return lines;
}

void GlyphPainter::draw(const ShapedLine& line, const QFont& font, QPointF baseline) {
    if (line.glyphs.isEmpty()) {
        painter_.setFont(font);
        painter_.drawText(baseline, line.text);
        return;
    }
    const QString key = font.key();
    auto face = faces_.find(key);
    if (face == faces_.end()) {
        face = faces_.insert(key, firstFace(font));
    }
    QGlyphRun run;
    run.setRawFont(*face);
    run.setGlyphIndexes(line.glyphs);
    run.setPositions(line.positions);
    painter_.drawGlyphRun(baseline, run);
}

void GlyphPainter::drawRecurring(const QString& text, const QFont& font, QPointF baseline) {
    const QString key = font.key() + QLatin1Char('\n') + text;
    auto shaped = recurring_.find(key);
    if (shaped == recurring_.end()) {
        shaped = recurring_.insert(key, shapeLine(text, font));
    }
    draw(*shaped, font, baseline);
}
