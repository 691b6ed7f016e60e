// What the printed cards and the practice sheets share.
#include "app/kanjiset/pdfpages.h"

#include "app/kanjiset/cardview.h"
#include "app/state/app.h"
#include "base/files.h"
#include "core/kanjiset/genshilist.h"
#include "core/shell/texttables.h"
#include "ui/images.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>

namespace {

// Fine enough that the 0.1 mm lines and small type of a card land where they are meant to.
constexpr int Resolution = 600;

}  // namespace

PdfPages::PdfPages(const QString& title) : writer_(&buffer_) {
    buffer_.open(QIODevice::WriteOnly);
    writer_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer_.setResolution(Resolution);
    writer_.setTitle(title);
    writer_.setCreator(QStringLiteral("Renkari"));
    painter_.begin(&writer_);
    painter_.setRenderHint(QPainter::Antialiasing);
}

double PdfPages::px(double mm) {
    return mm * Resolution / 25.4;
}

QRectF PdfPages::rect(double x, double y, double width, double height) {
    return QRectF(px(x), px(y), px(width), px(height));
}

QFont PdfPages::sized(QFont font, double heightMm) {
    font.setPixelSize(qMax(1, qRound(px(heightMm))));
    return font;
}

void PdfPages::newPage() {
    writer_.newPage();
}

QByteArray PdfPages::finish() {
    painter_.end();
    buffer_.close();
    return buffer_.data();
}

std::optional<QString> askPdfTarget(App& app, const QString& title) {
    std::optional<QString> path = app.ui.requesters().saveFile(
        dialogParent(app), title, app.paths.exportPath, QStringLiteral("pdf (*.pdf)|*.pdf"));
    if (!path || path->isEmpty()) {
        return std::nullopt;
    }
    if (QFileInfo(*path).suffix().isEmpty()) {
        *path += QStringLiteral(".pdf");
    }
    app.paths.exportPath = QFileInfo(*path).absolutePath() + QLatin1Char('/');
    return path;
}

bool savePdf(App& app, const QString& title, const QString& path, const QByteArray& bytes) {
    if (const auto saved = saveFileAtomically(path, bytes); !saved) {
        app.ui.requesters().message(dialogParent(app), title,
                                    app.texts.text(MessageText::ExportFailed)
                                        .arg(path, fileErrorText(app.texts, saved.error())));
        return false;
    }
    return true;
}

int strokeFrameCount(const QImage& strip) {
    return strip.isNull() ? 0 : strip.width() / StrokeFrameSize;
}

PrintedFrames printedFrames(const QImage& strip, int perRow) {
    PrintedFrames frames;
    frames.count = strokeFrameCount(strip);
    frames.perRow = perRow;
    if (frames.count == 0 || perRow < 1) {
        return frames;
    }
    const QImage pixels = strip.convertToFormat(QImage::Format_ARGB32);
    // Black at index 0 and white at 1 make the PDF writer keep the picture at one bit a pixel.
    const QList<QRgb> blackAndWhite{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    for (int first = 0; first < frames.count; first += perRow) {
        const int width = qMin(perRow, frames.count - first) * StrokeFrameSize;
        QImage row(width, StrokeFrameSize, QImage::Format_Mono);
        row.setColorTable(blackAndWhite);
        row.fill(1);
        for (int y = 0; y < StrokeFrameSize; ++y) {
            const auto* source =
                reinterpret_cast<const QRgb*>(pixels.constScanLine(y)) + first * StrokeFrameSize;
            uchar* bits = row.scanLine(y);
            for (int x = 0; x < width; ++x) {
                const QRgb pixel = source[x];
                if (qAlpha(pixel) < 128) {
                    continue;
                }
                const int red = qRed(pixel);
                // The newest stroke, red in the strip also where it fades into the white around
                // it, is black; the strokes before it are a grey of every other dot.
                const bool newest = red >= 128 && red - qMax(qGreen(pixel), qBlue(pixel)) >= 80;
                const bool earlier = !newest && qGray(pixel) < 160 && ((x + y) & 1) == 0;
                if (newest || earlier) {
                    bits[x >> 3] &= static_cast<uchar>(~(0x80 >> (x & 7)));
                }
            }
        }
        frames.rows.push_back(std::move(row));
    }
    return frames;
}

void drawPrintedFrames(QPainter& painter, const PrintedFrames& frames, QPointF topLeft,
                       double frameMm, const QFont& numberFont) {
    painter.save();
    const double gapMm = 0.6;
    for (size_t row = 0; row < frames.rows.size(); ++row) {
        const int first = static_cast<int>(row) * frames.perRow;
        const int count = qMin(frames.perRow, frames.count - first);
        const double y = topLeft.y() + static_cast<double>(row) * (frameMm + gapMm);
        painter.drawImage(PdfPages::rect(topLeft.x(), y, count * frameMm, frameMm),
                          frames.rows[row]);
        painter.setPen(QPen(QColor(150, 150, 150), PdfPages::px(0.1)));
        painter.setBrush(Qt::NoBrush);
        painter.setFont(numberFont);
        for (int i = 0; i < count; ++i) {
            const QRectF frame = PdfPages::rect(topLeft.x() + i * frameMm, y, frameMm, frameMm);
            painter.drawRect(frame);
            painter.drawText(frame.adjusted(PdfPages::px(0.5), PdfPages::px(0.2), 0, 0),
                             Qt::AlignLeft | Qt::AlignTop, QString::number(first + i + 1));
        }
    }
    painter.restore();
}

void drawStrokeFrames(QPainter& painter, const QImage& strip, QPointF topLeft, double frameMm,
                      int perRow, const QFont& numberFont) {
    drawPrintedFrames(painter, printedFrames(strip, perRow), topLeft, frameMm, numberFont);
}

QStringList fitLines(const QPainter& painter, const QString& text, const QFont& font,
                     double widthMm, int maxLines) {
    const QFontMetricsF metrics(font, painter.device());
    const double width = PdfPages::px(widthMm);
    QStringList lines;
    QString line;
    const QStringList words = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 0; i < words.size(); ++i) {
        const QString candidate = line.isEmpty() ? words[i] : line + QLatin1Char(' ') + words[i];
        if (line.isEmpty() || metrics.horizontalAdvance(candidate) <= width) {
            line = candidate;
            continue;
        }
        if (lines.size() + 1 == maxLines) {
            // The last line takes the rest, to be cut with an ellipsis below.
            line += QLatin1Char(' ') + words.mid(i).join(QLatin1Char(' '));
            break;
        }
        lines.append(metrics.elidedText(line, Qt::ElideRight, width));
        line = words[i];
    }
    if (!line.isEmpty()) {
        lines.append(metrics.elidedText(line, Qt::ElideRight, width));
    }
    return lines;
}

QString genshiText(const App& app, const KanjiRecord& record) {
    QStringList parts;
    for (qint32 position : genshiPositions(record.Genshi)) {
        if (const GenshiEntry* entry = genshiEntryAt(app.genshiList, position)) {
            parts.append(entry->Genshi + QLatin1Char(' ') + entry->Bedeutung);
        }
    }
    return parts.join(QStringLiteral(", "));
}
