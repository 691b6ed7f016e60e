// Loading pictures, fonts by family and height, and drawing on off-screen images.
#include "ui/images.h"

#include "base/files.h"
#include "base/ico.h"
#include "base/png.h"

#include <QBuffer>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QScreen>
#include <QTextLayout>

#include <cstring>

namespace ui {

namespace {

constexpr qint64 MaxPictureFileBytes = qint64(64) << 20;

// The families tried in order for the program's two named fonts.
const QStringList& kanjiFallbacks() {
    static const QStringList families{QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho"),
                                      QStringLiteral("Noto Serif CJK JP"),
                                      QStringLiteral("Noto Sans CJK JP")};
    return families;
}

QImage imageOf(const RgbaImage& decoded) {
    QImage image(decoded.width, decoded.height, QImage::Format_ARGB32);
    if (image.isNull()) {
        return {};
    }
    const auto rowBytes = static_cast<size_t>(decoded.width) * sizeof(std::uint32_t);
    for (int y = 0; y < decoded.height; ++y) {
        std::memcpy(image.scanLine(y), decoded.pixels.data() + size_t(y) * size_t(decoded.width),
                    rowBytes);
    }
    return image;
}

QImage imageOf(const RgbImage& decoded) {
    QImage image(decoded.width, decoded.height, QImage::Format_RGB888);
    if (image.isNull()) {
        return {};
    }
    const auto rowBytes = static_cast<size_t>(decoded.width) * 3;
    for (int y = 0; y < decoded.height; ++y) {
        std::memcpy(image.scanLine(y), decoded.bytes.data() + size_t(y) * rowBytes, rowBytes);
    }
    return image;
}

QImage imageOf(const IndexedImage& decoded) {
    QImage image(decoded.width, decoded.height, QImage::Format_Indexed8);
    if (image.isNull()) {
        return {};
    }
    image.setColorTable(QList<QRgb>(decoded.colours.begin(), decoded.colours.end()));
    for (int y = 0; y < decoded.height; ++y) {
        std::memcpy(image.scanLine(y), decoded.indices.data() + size_t(y) * size_t(decoded.width),
                    static_cast<size_t>(decoded.width));
    }
    return image;
}

}  // namespace

FileResult<QImage> loadPng(const QString& path) {
    const FileResult<QByteArray> bytes = readWholeFile(path, MaxPictureFileBytes);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    const std::optional<RgbaImage> decoded = decodePng(*bytes);
    if (!decoded) {
        return unexpected(FileError{FileErrorKind::Malformed, {}});
    }
    return imageOf(*decoded);
}

QImage loadBuiltInPng(const QString& resourcePath) {
    // Resources live in the program's own memory: the file reader's checks for outside files
    // (a regular file, opened without blocking) do not apply and would refuse them.
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const std::optional<RgbaImage> decoded = decodePng(file.readAll());
    return decoded ? imageOf(*decoded) : QImage();
}

FileResult<QImage> loadPngAsStored(const QString& path) {
    const FileResult<QByteArray> bytes = readWholeFile(path, MaxPictureFileBytes);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    if (const std::optional<IndexedImage> indexed = decodePalettePng(*bytes)) {
        return imageOf(*indexed);
    }
    if (const std::optional<RgbImage> opaque = decodeOpaquePng(*bytes)) {
        return imageOf(*opaque);
    }
    const std::optional<RgbaImage> decoded = decodePng(*bytes);
    if (!decoded) {
        return unexpected(FileError{FileErrorKind::Malformed, {}});
    }
    return imageOf(*decoded);
}

FileResult<QImage> loadIco(const QString& path) {
    // The control icons' own forms are read here; Qt's reader, a plugin that takes longer to
    // load than all the icons to read, is left the others. It reads the bytes already read, as
    // it would otherwise open the file itself and wait on a pipe.
    FileResult<QByteArray> bytes = readWholeFile(path, MaxPictureFileBytes);
    if (!bytes) {
        return unexpected(bytes.error());
    }
    if (const std::optional<RgbaImage> decoded = decodeIco(*bytes)) {
        return imageOf(*decoded).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    QBuffer buffer(&*bytes);
    QImageReader reader(&buffer, "ico");
    QImage read = reader.read();
    if (read.isNull()) {
        return unexpected(FileError{FileErrorKind::Malformed, reader.errorString()});
    }
    return read;
}

void registerFontSubstitutions() {
    QFont::insertSubstitutions(QStringLiteral("MS Mincho"), kanjiFallbacks());
    QFont::insertSubstitutions(QStringLiteral("HDZB_27"), kanjiFallbacks());
    // Where the Gothic faces are missing, kana and kanji still come from an IPA font.
    QFont::insertSubstitutions(QStringLiteral("IPAGothic"),
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAMincho"),
                                QStringLiteral("Noto Sans CJK JP")});
    QFont::insertSubstitutions(QStringLiteral("IPAPGothic"),
                               {QStringLiteral("IPAGothic"), QStringLiteral("IPAPMincho"),
                                QStringLiteral("IPAMincho"), QStringLiteral("Noto Sans CJK JP")});
}

void useCompactInterfaceFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStretch(QFont::SemiCondensed);
    font.setPixelSize(11);
    QGuiApplication::setFont(font);
}

QFont fontByPoints(const QString& family, int points) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
    QFont font(family);
    font.setPixelSize(std::max(1, static_cast<int>(points * dpi / 72.0)));
    return font;
}

QFont fontByPixels(const QString& family, int pixels) {
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

void prepareFontsFor(const QFont& font, const QString& sample) {
    QTextLayout layout(sample, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
}

QImage createImage(int width, int height) {
    return QImage(width, height, QImage::Format_ARGB32_Premultiplied);
}

void fill(QImage& image, const QColor& colour) {
    image.fill(colour);
}

void drawText(QImage& image, const QFont& font, QPoint position, const QString& text,
              const QColor& colour) {
    QPainter painter;
    if (!painter.begin(&image)) {
        return;
    }
    painter.setFont(font);
    painter.setPen(colour);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QFontMetrics metrics(font);
    painter.drawText(position + QPoint(0, metrics.ascent()), text);
}

void drawLine(QImage& image, QPoint from, QPoint to, int width, const QColor& colour) {
    QPainter painter;
    if (!painter.begin(&image)) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(from, to);
}

void fillCircle(QImage& image, QPoint centre, int radius, const QColor& colour) {
    QPainter painter;
    if (!painter.begin(&image)) {
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(centre, radius, radius);
}

void copyRect(const QImage& source, QRect rect, QImage& target, QPoint position) {
    // Only the part of the rectangle that lies in the source is copied, and only where it
    // lands in the target.
    const QRect part = rect.intersected(source.rect());
    const QPoint landing = position + (part.topLeft() - rect.topLeft());
    const QRect into = QRect(landing, part.size()).intersected(target.rect());
    if (into.isEmpty() || target.depth() % 8 != 0) {
        return;
    }
    // Copied row by row in the target's format: a painter converts the whole source first, a
    // strip of thirty frames on Qt's thread pool for the one frame wanted.
    const QRect taken(part.topLeft() + (into.topLeft() - landing), into.size());
    const QImage piece = source.copy(taken).convertToFormat(target.format());
    const auto pixelBytes = static_cast<size_t>(target.depth() / 8);
    for (int y = 0; y < into.height(); ++y) {
        std::memcpy(target.scanLine(into.top() + y) + pixelBytes * size_t(into.left()),
                    piece.constScanLine(y), pixelBytes * size_t(into.width()));
    }
}

}  // namespace ui
