// What the printed cards and the practice sheets share: A4 pages measured in millimetres, the
// save dialog and the atomic save, the texts of a kanji and its stroke-order frames.
#pragma once

#include "core/kanjiset/kanjirecord.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

struct App;
class GlyphPainter;

constexpr double A4Width = 210.0;
constexpr double A4Height = 297.0;

// A4 portrait pages without printer margins, drawn into memory, coordinates in millimetres.
class PdfPages {
public:
    explicit PdfPages(const QString& title);
    PdfPages(const PdfPages&) = delete;
    PdfPages& operator=(const PdfPages&) = delete;

    QPainter& painter() { return painter_; }
    // Device units of a length in millimetres.
    static double px(double mm);
    static QRectF rect(double x, double y, double width, double height);
    // The font at a height in millimetres.
    static QFont sized(QFont font, double heightMm);
    // The font as the page resolves it, and measured so, on any thread.
    static QFont onPage(const QFont& font);
    static QFontMetricsF metrics(const QFont& font);
    // How far below the top of a line lineMm high the baseline of the font's text lies, the
    // text centred in the line.
    static double baseline(const QFont& font, double lineMm);

    void newPage();
    // Ends the document; the bytes of the PDF.
    QByteArray finish();

private:
    QBuffer buffer_;
    QPdfWriter writer_;
    QPainter painter_;
};

// Asks where a PDF goes, starting at and updating the export folder; ".pdf" is added to a name
// without an extension. Nullopt when the user cancelled.
std::optional<QString> askPdfTarget(App& app, const QString& title);
// Saves the bytes atomically; a failure is told in a message naming the file and the reason.
bool savePdf(App& app, const QString& title, const QString& path, const QByteArray& bytes);

int strokeFrameCount(const QImage& strip);

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
// A text of a card and the most lines it may take.
struct FieldText {
    QString text;
    int maxLines = 1;
};

// The kanji's Genshi as characters with their meanings, "氵 Wasser, 口 Mund"; entries whose
// position lies outside the list are left out.
QString genshiText(const App& app, const KanjiRecord& record);
