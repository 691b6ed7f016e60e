// Printable kanji cards as a PDF.
#include "app/kanjiset/cardspdf.h"

#include "app/kanjiset/cardlayout.h"
#include "app/kanjiset/cardpipeline.h"
#include "app/kanjiset/cardview.h"
#include "app/kanjiset/pdfpages.h"
#include "app/state/app.h"
#include "core/kanjiset/kanjirecord.h"
#include "ui/progress.h"

#include <algorithm>
#include <span>

namespace {

constexpr double Padding = 3.5;
constexpr double InnerWidth = CardWidth - 2 * Padding;
constexpr double TextHeight = 2.7;
constexpr double LineHeight = 3.5;
constexpr double Gap = 1.5;
// Kanji with many strokes get smaller frames, and more rows, rather than being cut off.
constexpr double LargestFrame = 8.0;
constexpr double SmallestFrame = 5.5;
constexpr double LargestKanji = 27.0;
// The front's kanji fills the card but for the line below it.
constexpr double FrontKanji = CardHeight - 2 * Padding - LineHeight - Gap;
// Steps between repaints: a few thousand cards take seconds.
constexpr int ProgressStep = 32;

std::vector<FieldText> fieldTexts(const App& app, const KanjiRecord& record,
                                  const CardFields& fields, bool examples) {
    const TextTables& t = app.texts;
    std::vector<FieldText> lines;
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
    if (examples) {
        for (const QString& example : record.Beispiel) {
            add(example, 1);
        }
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

// What every card of a document draws with.
class CardPainter {
public:
    CardPainter(App& app, PdfPages& pages, const QFont& textFont)
        : app_(app),
          p_(pages.painter()),
          textFont_(textFont),
          baseline_(PdfPages::baseline(textFont, LineHeight)),
          glyphs_(pages.painter()) {}

    // A one-sided card: the kanji, the texts below it and the frames at the bottom.
    void whole(const KanjiRecord& record, const CardPipeline::Prepared& prepared, QRectF card) {
        const PrintedFrames& frames = prepared.frames;
        const std::vector<ShapedLine>& lines = prepared.lines;
        const FrameLayout layout = frameLayout(frames.count);
        const double textBlock = lines.size() * LineHeight;
        const double framesBlock = layout.height() > 0 ? layout.height() + Gap : 0;
        const double kanjiBox =
            qMin(LargestKanji, CardHeight - 2 * Padding - textBlock - framesBlock - Gap);
        drawKanji(record,
                  QRectF(card.left() + Padding, card.top() + Padding, InnerWidth, kanjiBox));
        drawLines(lines, card.top() + Padding + kanjiBox + Gap, card);
        drawFrames(frames, layout, card);
    }

    // The front of a two-sided card: the kanji large, and below it its strokes and JLPT level.
    void front(const KanjiRecord& record, const PrintedFrames& frames, QRectF card) {
        drawKanji(record,
                  QRectF(card.left() + Padding, card.top() + Padding, InnerWidth, FrontKanji));
        const QRectF line = PdfPages::rect(
            card.left() + Padding, card.bottom() - Padding - LineHeight, InnerWidth, LineHeight);
        p_.setFont(textFont_);
        if (frames.count > 0) {
            p_.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                        app_.texts.text(MessageText::CardStrokes).arg(frames.count));
        }
        if (record.Idx2 >= 1 && record.Idx2 <= 4) {
            p_.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                        app_.texts.text(MessageText::CardJlpt).arg(record.Idx2));
        }
    }

    // The back: the texts from the top, as many as the room above the frames takes.
    void back(const CardPipeline::Prepared& prepared, QRectF card) {
        const PrintedFrames& frames = prepared.frames;
        const FrameLayout layout = frameLayout(frames.count);
        const double framesBlock = layout.height() > 0 ? layout.height() + Gap : 0;
        const auto room =
            static_cast<size_t>(qMax(0.0, (CardHeight - 2 * Padding - framesBlock) / LineHeight));
        drawLines({prepared.lines.begin(),
                   prepared.lines.begin() +
                       static_cast<std::ptrdiff_t>(qMin(room, prepared.lines.size()))},
                  card.top() + Padding, card);
        drawFrames(frames, layout, card);
    }

private:
    void drawKanji(const KanjiRecord& record, QRectF box) {
        p_.setPen(Qt::black);
        p_.setFont(PdfPages::sized(app_.resources.kanjiFont, box.height() * 0.92));
        p_.drawText(PdfPages::rect(box.x(), box.y(), box.width(), box.height()), Qt::AlignCenter,
                    kanjiText(record.Unicode));
    }

    void drawLines(std::span<const ShapedLine> lines, double top, QRectF card) {
        p_.setPen(Qt::black);
        double y = top;
        for (const ShapedLine& line : lines) {
            glyphs_.draw(line, textFont_,
                         QPointF(PdfPages::px(card.left() + Padding), PdfPages::px(y) + baseline_));
            y += LineHeight;
        }
    }

    // The frames sit at the bottom of the card, centred when they fill a single row.
    void drawFrames(const PrintedFrames& frames, const FrameLayout& layout, QRectF card) {
        if (layout.rows == 0) {
            return;
        }
        const int firstRow = qMin(layout.perRow, frames.count);
        const double x = card.left() + (CardWidth - firstRow * layout.size) / 2;
        drawPrintedFrames(p_, glyphs_, frames,
                          QPointF(x, card.bottom() - Padding - layout.height()), layout.size,
                          PdfPages::sized(app_.resources.kanjiFont, layout.size * 0.28));
    }

    App& app_;
    QPainter& p_;
    const QFont textFont_;
    // Lines are drawn at their baseline, which is several times quicker than in a box.
    const double baseline_;
    GlyphPainter glyphs_;
};

// Marks in the margin in line with every cut, and small crosses where inner cuts meet, so the
// sheet can be cut with a guillotine or with scissors.
void drawCutMarks(QPainter& p) {
    p.save();
    p.setPen(QPen(Qt::black, PdfPages::px(0.15)));
    const double right = GridLeft + CardColumns * CardWidth;
    const double bottom = GridTop + CardRows * CardHeight;
    const auto line = [&p](double x1, double y1, double x2, double y2) {
        p.drawLine(QPointF(PdfPages::px(x1), PdfPages::px(y1)),
                   QPointF(PdfPages::px(x2), PdfPages::px(y2)));
    };
    for (int c = 0; c <= CardColumns; ++c) {
        const double x = GridLeft + c * CardWidth;
        line(x, GridTop - 10, x, GridTop - 3);
        line(x, bottom + 3, x, bottom + 10);
    }
    for (int r = 0; r <= CardRows; ++r) {
        const double y = GridTop + r * CardHeight;
        line(GridLeft - 10, y, GridLeft - 3, y);
        line(right + 3, y, right + 10, y);
    }
    for (int c = 1; c < CardColumns; ++c) {
        for (int r = 1; r < CardRows; ++r) {
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
    // The texts are made here, where the App may be read, and broken into lines on the workers.
    std::vector<CardContent> contents;
    for (const KanjiRecord* record : records) {
        contents.push_back(
            {stripSourceOf(app.pictures, app.handwriting, *record, strokeStripSource(app, *record)),
             fieldTexts(app, *record, fields, fields.twoSided)});
    }
    const QFont textFont = PdfPages::sized(app.resources.kanjiFont, TextHeight);
    CardPipeline cards(
        std::move(contents), [](int strokes) { return frameLayout(strokes).perRow; },
        [textFont](const std::vector<FieldText>& texts) {
            std::vector<ShapedLine> lines;
            for (const FieldText& field : texts) {
                for (ShapedLine& line :
                     fitShapedLines(field.text, textFont, InnerWidth, field.maxLines)) {
                    lines.push_back(std::move(line));
                }
            }
            return lines;
        });
    const std::vector<CardPlace> places = cardPlaces(count, fields.twoSided);
    PdfPages pages(app.setName);
    CardPainter painter(app, pages, textFont);
    // Page by page: a sheet's fronts, then, two-sided, its backs.
    for (int first = 0; first < count; first += CardsPerPage) {
        const int last = qMin(first + CardsPerPage, count);
        if (first > 0) {
            pages.newPage();
        }
        drawCutMarks(pages.painter());
        for (int i = first; i < last; ++i) {
            const KanjiRecord& record = *records[static_cast<size_t>(i)];
            const QRectF place = places[static_cast<size_t>(i)].front.place;
            if (fields.twoSided) {
                painter.front(record, cards.card(i).frames, place);
            } else {
                painter.whole(record, cards.card(i), place);
                cards.done(i);
            }
            if (i % ProgressStep == 0) {
                progress.setValue(i);
            }
        }
        if (fields.twoSided) {
            pages.newPage();
            for (int i = first; i < last; ++i) {
                painter.back(cards.card(i), places[static_cast<size_t>(i)].back->place);
                cards.done(i);
            }
        }
    }
    const QByteArray bytes = pages.finish();
    // The progress window closes before a failure is told.
    progress.setValue(count);
    savePdf(app, title, *path, bytes);
}
