// "Lernkarten drucken": practice sheets as a PDF.
#include "app/kanjiset/practicesheet.h"

#include "app/kanjiset/cardview.h"
#include "app/kanjiset/pdfpages.h"
#include "app/kanjiset/printdialog.h"
#include "app/kanjiset/shapedtext.h"
#include "app/state/app.h"
#include "core/kanjiset/exportlines.h"
#include "core/kanjiset/kanjirecord.h"
#include "core/training/practicechoice.h"
#include "ui/progress.h"

#include <algorithm>

namespace {

constexpr double Margin = 12.0;
constexpr double ContentWidth = A4Width - 2 * Margin;
constexpr double HeaderTop = 7.0;
constexpr double KanjiBox = 20.0;
constexpr double TextLeft = KanjiBox + 4.0;
constexpr double TextWidth = ContentWidth - TextLeft;
constexpr double TextHeight = 3.0;
constexpr double LineHeight = 3.9;
constexpr double LargestFrame = 7.0;
constexpr int BoxCount = 12;
constexpr double BoxSize = ContentWidth / BoxCount;
// Boxes with a grey kanji to trace before writing it freely.
constexpr int TracedBoxes = 2;
constexpr double RowHeight = KanjiBox + 2.0 + BoxSize + 5.0;
constexpr int RowsPerPage = static_cast<int>((A4Height - 2 * Margin) / RowHeight);
constexpr int ProgressStep = 8;

void drawHeader(App& app, PdfPages& pages, int page, int pageCount) {
    QPainter& p = pages.painter();
    p.setPen(QColor(90, 90, 90));
    p.setFont(PdfPages::sized(app.resources.kanjiFont, 2.6));
    const QRectF line = PdfPages::rect(Margin, HeaderTop, ContentWidth, 4.0);
    p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, app.setName);
    p.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
               QString::number(page) + QStringLiteral(" / ") + QString::number(pageCount));
}

void drawPracticeBox(App& app, QPainter& p, double x, double y, const QString& traced) {
    const QRectF box = PdfPages::rect(x, y, BoxSize, BoxSize);
    // The cross guides place the strokes within the square.
    p.setPen(QPen(QColor(170, 170, 170), PdfPages::px(0.15), Qt::DashLine));
    p.drawLine(QPointF(box.center().x(), box.top()), QPointF(box.center().x(), box.bottom()));
    p.drawLine(QPointF(box.left(), box.center().y()), QPointF(box.right(), box.center().y()));
    if (!traced.isEmpty()) {
        p.setPen(QColor(200, 200, 200));
        p.setFont(PdfPages::sized(app.resources.kanjiFont, BoxSize * 0.85));
        p.drawText(box, Qt::AlignCenter, traced);
    }
    p.setPen(QPen(QColor(80, 80, 80), PdfPages::px(0.25)));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box);
}

void drawRow(App& app, PdfPages& pages, GlyphPainter& glyphs, const KanjiRecord& record,
             double top) {
    QPainter& p = pages.painter();
    const QString kanji = kanjiText(record.Unicode);

    p.setPen(Qt::black);
    p.setFont(PdfPages::sized(app.resources.kanjiFont, KanjiBox * 0.9));
    p.drawText(PdfPages::rect(Margin, top, KanjiBox, KanjiBox), Qt::AlignCenter, kanji);

    const QFont textFont = PdfPages::sized(app.resources.kanjiFont, TextHeight);
    const double baseline = PdfPages::baseline(textFont, LineHeight);
    const TextTables& t = app.texts;
    double y = top;
    for (const QString& text :
         {t.text(MessageText::OnColumn) + QStringLiteral(": ") + record.OnYomi,
          t.text(MessageText::KunColumn) + QStringLiteral(": ") +
              formatKun(record.KunYomi, KunAllParts),
          record.Bemerkung}) {
        for (const ShapedLine& line : fitShapedLines(text, textFont, TextWidth, 1)) {
            glyphs.draw(line, textFont,
                        QPointF(PdfPages::px(Margin + TextLeft), PdfPages::px(y) + baseline));
            y += LineHeight;
        }
    }

    const QImage strip = strokeStripOf(app, record);
    if (const int frames = strokeFrameCount(strip); frames > 0) {
        // One row below the texts; kanji with very many strokes get narrower frames.
        const double size = std::min(LargestFrame, TextWidth / frames);
        drawPrintedFrames(p, glyphs, printedFrames(strip, frames),
                          QPointF(Margin + TextLeft, top + KanjiBox - LargestFrame), size,
                          PdfPages::sized(app.resources.kanjiFont, size * 0.28));
    }

    const double boxesTop = top + KanjiBox + 2.0;
    for (int i = 0; i < BoxCount; ++i) {
        drawPracticeBox(app, p, Margin + i * BoxSize, boxesTop,
                        i < TracedBoxes ? kanji : QString());
    }
}

}  // namespace

void printPracticeSheets(App& app) {
    if (app.kanjiSet.empty()) {
        return;
    }
    const std::optional<PrintChoice> choice = askPrintChoice(app);
    if (!choice) {
        return;
    }
    const bool profileInUse = !app.profile.profileName.isEmpty();
    const std::vector<int> positions =
        practicePositions(app.kanjiSet, profileInUse ? &app.learner.profile() : nullptr,
                          app.training.askedCodes, *choice);
    if (positions.empty()) {
        app.ui.requesters().message(dialogParent(app), app.texts.text(MainText::PrintCards),
                                    app.texts.text(MessageText::PrintNothingChosen));
        return;
    }
    const QString title = app.texts.text(MainText::PrintCards);
    const std::optional<QString> path = askPdfTarget(app, title);
    if (!path) {
        return;
    }
    const int count = static_cast<int>(positions.size());
    const int pageCount = (count + RowsPerPage - 1) / RowsPerPage;
    ui::Progress progress(app.mainWindow ? app.mainWindow->top() : nullptr,
                          app.texts.text(MessageText::PdfProgress), count);
    PdfPages pages(app.setName + QStringLiteral(" - ") + title);
    GlyphPainter glyphs(pages.painter());
    for (int i = 0; i < count; ++i) {
        const int row = i % RowsPerPage;
        if (row == 0) {
            if (i > 0) {
                pages.newPage();
            }
            drawHeader(app, pages, i / RowsPerPage + 1, pageCount);
        }
        drawRow(app, pages, glyphs, app.kanjiSet.records[static_cast<size_t>(positions[i])],
                Margin + row * RowHeight);
        if (i % ProgressStep == 0) {
            progress.setValue(i);
        }
    }
    const QByteArray bytes = pages.finish();
    // The progress window closes before a failure is told.
    progress.setValue(count);
    savePdf(app, title, *path, bytes);
}
