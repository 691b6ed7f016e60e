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
// Pixels of a stroke frame in the file.
constexpr int PrintedFrameSize = StrokeFrameSize / 2;

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

void drawStrokeFrames(QPainter& painter, const QImage& strip, QPointF topLeft, double frameMm,
                      int perRow, const QFont& numberFont) {
    const int frames = strokeFrameCount(strip);
    if (frames == 0 || perRow < 1) {
        return;
    }
    painter.save();
    // Strokes are line art on white: deflated they are a fraction of the size of a JPEG, and
    // without its blur around the lines.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const double gapMm = 0.6;
    for (int first = 0, row = 0; first < frames; first += perRow, ++row) {
        const int count = qMin(perRow, frames - first);
        const double y = topLeft.y() + row * (frameMm + gapMm);
        // A row of frames is one picture, so the file holds one image per row and not one per
        // stroke; opaque pixels spare it a transparency mask. Frames are printed less than a
        // centimetre wide, where half their pixels still give some 160 dpi, and a quarter of
        // the pixels keeps a file of thousands of cards small and quick to compress.
        const QImage picture =
            strip.copy(first * StrokeFrameSize, 0, count * StrokeFrameSize, StrokeFrameSize)
                .scaled(count * PrintedFrameSize, PrintedFrameSize, Qt::IgnoreAspectRatio,
                        Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_RGB32);
        painter.drawImage(PdfPages::rect(topLeft.x(), y, count * frameMm, frameMm), picture);
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
