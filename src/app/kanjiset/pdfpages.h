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

struct App;

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

// A text of a card and the most lines it may take.
struct FieldText {
    QString text;
    int maxLines = 1;
};

// The kanji's Genshi as characters with their meanings, "氵 Wasser, 口 Mund"; entries whose
// position lies outside the list are left out.
QString genshiText(const App& app, const KanjiRecord& record);
