// Printable kanji cards as a PDF.
#include "app/kanjiset/cardspdf.h"

#include "app/kanjiset/cardview.h"
#include "app/kanjiset/pdfpages.h"
#include "app/state/app.h"
#include "core/kanjiset/kanjirecord.h"
#include "ui/progress.h"

#include <algorithm>

namespace {

constexpr int Columns = 2;
constexpr int Rows = 4;
constexpr int CardsPerPage = Columns * Rows;
constexpr double CardWidth = 90.0;
constexpr double CardHeight = 64.0;
// The grid sits in the middle of the page, leaving room for the cut marks around it.
constexpr double GridLeft = (A4Width - Columns * CardWidth) / 2;
constexpr double GridTop = (A4Height - Rows * CardHeight) / 2;
constexpr double Padding = 3.5;
constexpr double InnerWidth = CardWidth - 2 * Padding;
constexpr double TextHeight = 2.7;
constexpr double LineHeight = 3.5;
constexpr double Gap = 1.5;
// Kanji with many strokes get smaller frames, and more rows, rather than being cut off.
constexpr double LargestFrame = 8.0;
constexpr double SmallestFrame = 5.5;
constexpr double LargestKanji = 27.0;
// Steps between repaints: a few thousand cards take seconds.
constexpr int ProgressStep = 32;

struct FieldLine {
    QString text;
    int maxLines = 1;
};

std::vector<FieldLine> fieldLines(const App& app, const KanjiRecord& record,
                                  const CardFields& fields) {
    const TextTables& t = app.texts;
    std::vector<FieldLine> lines;
    const auto add = [&lines](const QString& text, int maxLines) {
        if (!text.trimmed().isEmpty()) {
            lines.push_back({text, maxLines});
        }
    };
    if (fields.code) {
        add(QString::number(record.Unicode), 1);
    }
    if (fields.onYomi && !record.OnYomi.isEmpty()) {
        add(t.text(MessageText::OnColumn) + QStringLiteral(": ") + record.OnYomi, 1);
    }
    const QString kun = formatKun(record.KunYomi, fields.kunMask);
    if (fields.kunYomi && !kun.isEmpty()) {
        add(t.text(MessageText::KunColumn) + QStringLiteral(": ") + kun, 1);
    }
    if (fields.note) {
        add(record.Bemerkung, 2);
    }
    if (fields.genshi) {
        add(genshiText(app, record), 1);
    }
    return lines;
}

// Frames in rows across the card: as large as the strokes allow, then smaller, then in more rows.
struct FrameLayout {
    double size = 0;
    int perRow = 0;
    int rows = 0;
    double height() const { return rows == 0 ? 0 : rows * size + (rows - 1) * 0.6; }
};

FrameLayout frameLayout(int frames) {
    if (frames == 0) {
        return {};
    }
    FrameLayout layout;
    layout.size = std::clamp(InnerWidth / frames, SmallestFrame, LargestFrame);
    layout.perRow = qMax(1, static_cast<int>(InnerWidth / layout.size));
    layout.rows = (frames + layout.perRow - 1) / layout.perRow;
    return layout;
}

void drawCard(App& app, PdfPages& pages, const KanjiRecord& record, const CardFields& fields,
              double left, double top) {
    QPainter& p = pages.painter();
    const QFont textFont = PdfPages::sized(app.resources.kanjiFont, TextHeight);
    const QImage strip = strokeStripOf(app, record);
    const FrameLayout frames = frameLayout(strokeFrameCount(strip));

    QStringList lines;
    for (const FieldLine& field : fieldLines(app, record, fields)) {
        lines += fitLines(p, field.text, textFont, InnerWidth, field.maxLines);
    }
    const double textBlock = lines.size() * LineHeight;
    const double framesBlock = frames.height() > 0 ? frames.height() + Gap : 0;
    const double kanjiBox =
        qMin(LargestKanji, CardHeight - 2 * Padding - textBlock - framesBlock - Gap);

    p.setPen(Qt::black);
    p.setFont(PdfPages::sized(app.resources.kanjiFont, kanjiBox * 0.92));
    p.drawText(PdfPages::rect(left + Padding, top + Padding, InnerWidth, kanjiBox), Qt::AlignCenter,
               kanjiText(record.Unicode));

    p.setFont(textFont);
    double y = top + Padding + kanjiBox + Gap;
    for (const QString& line : lines) {
        p.drawText(PdfPages::rect(left + Padding, y, InnerWidth, LineHeight),
                   Qt::AlignLeft | Qt::AlignVCenter, line);
        y += LineHeight;
    }
    if (frames.rows > 0) {
        // The frames sit at the bottom of the card, centred when they fill a single row.
        const int firstRow = qMin(frames.perRow, strokeFrameCount(strip));
        const double x = left + (CardWidth - firstRow * frames.size) / 2;
        drawStrokeFrames(p, strip, QPointF(x, top + CardHeight - Padding - frames.height()),
                         frames.size, frames.perRow,
                         PdfPages::sized(app.resources.kanjiFont, frames.size * 0.28));
    }
}

// Marks in the margin in line with every cut, and small crosses where inner cuts meet, so the
// sheet can be cut with a guillotine or with scissors.
void drawCutMarks(QPainter& p) {
    p.save();
    p.setPen(QPen(Qt::black, PdfPages::px(0.15)));
    const double right = GridLeft + Columns * CardWidth;
    const double bottom = GridTop + Rows * CardHeight;
    const auto line = [&p](double x1, double y1, double x2, double y2) {
        p.drawLine(QPointF(PdfPages::px(x1), PdfPages::px(y1)),
                   QPointF(PdfPages::px(x2), PdfPages::px(y2)));
    };
    for (int c = 0; c <= Columns; ++c) {
        const double x = GridLeft + c * CardWidth;
        line(x, GridTop - 10, x, GridTop - 3);
        line(x, bottom + 3, x, bottom + 10);
    }
    for (int r = 0; r <= Rows; ++r) {
        const double y = GridTop + r * CardHeight;
        line(GridLeft - 10, y, GridLeft - 3, y);
        line(right + 3, y, right + 10, y);
    }
    for (int c = 1; c < Columns; ++c) {
        for (int r = 1; r < Rows; ++r) {
            const double x = GridLeft + c * CardWidth;
            const double y = GridTop + r * CardHeight;
            line(x, y - 2, x, y + 2);
            line(x - 2, y, x + 2, y);
        }
    }
    p.restore();
}

}  // namespace

void writeCardsPdf(App& app, const std::vector<int>& positions, const CardFields& fields) {
    std::vector<const KanjiRecord*> records;
    for (int position : positions) {
        if (position >= 0 && position < app.kanjiSet.size() &&
            !isBlank(app.kanjiSet.records[static_cast<size_t>(position)])) {
            records.push_back(&app.kanjiSet.records[static_cast<size_t>(position)]);
        }
    }
    if (records.empty()) {
        return;
    }
    const QString title = QStringLiteral("pdf");
    const std::optional<QString> path = askPdfTarget(app, title);
    if (!path) {
        return;
    }
    const int count = static_cast<int>(records.size());
    ui::Progress progress(app.mainWindow ? app.mainWindow->top() : nullptr,
                          app.texts.text(MessageText::PdfProgress), count);
    PdfPages pages(app.setName);
    for (int i = 0; i < count; ++i) {
        const int slot = i % CardsPerPage;
        if (slot == 0) {
            if (i > 0) {
                pages.newPage();
            }
            drawCutMarks(pages.painter());
        }
        drawCard(app, pages, *records[static_cast<size_t>(i)], fields,
                 GridLeft + (slot % Columns) * CardWidth, GridTop + (slot / Columns) * CardHeight);
        if (i % ProgressStep == 0) {
            progress.setValue(i);
        }
    }
    const QByteArray bytes = pages.finish();
    // The progress window closes before a failure is told.
    progress.setValue(count);
    savePdf(app, title, *path, bytes);
}
