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
    // What the font leaves open is taken from the program's font, as a painter would take it:
    // measured on another thread, the font is then the one drawn.
    font = font.resolve(QFont());
    font.setPixelSize(qMax(1, qRound(px(heightMm))));
    // Hints fit outlines to a screen's pixels; a PDF keeps the outlines, and measuring each
    // glyph without running them is several times quicker.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont PdfPages::onPage(const QFont& font) {
    // Of the device, a font takes only its resolution.
    QImage device(1, 1, QImage::Format_Mono);
    const int dotsPerMetre = qRound(Resolution / 0.0254);
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    return QFont(font, &device);
}

QFontMetricsF PdfPages::metrics(const QFont& font) {
    return QFontMetricsF(onPage(font));
}

double PdfPages::baseline(const QFont& font, double lineMm) {
    const QFontMetricsF measured = metrics(font);
    return (px(lineMm) - measured.height()) / 2 + measured.ascent();
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

QString genshiText(const App& app, const KanjiRecord& record) {
    QStringList parts;
    for (qint32 position : genshiPositions(record.Genshi)) {
        if (const GenshiEntry* entry = genshiEntryAt(app.genshiList, position)) {
            parts.append(entry->Genshi + QLatin1Char(' ') + entry->Bedeutung);
        }
    }
    return parts.join(QStringLiteral(", "));
}
