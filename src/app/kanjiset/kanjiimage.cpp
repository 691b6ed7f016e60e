// The rendered picture of a kanji character.
#include "app/kanjiset/kanjiimage.h"

#include "core/handwriting/strokestrip.h"
#include "ui/images.h"

#include <cstring>

QString kanjiText(qint32 code) {
    if (code <= 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {};
    }
    const char32_t character = static_cast<char32_t>(code);
    return QString::fromUcs4(&character, 1);
}

QImage renderKanjiImage(QImage image, qint32 code, const QFont& font) {
    if (image.isNull()) {
        image = ui::createImage(KanjiImageSize, KanjiImageSize);
        if (image.isNull()) {
            return image;
        }
    }
    ui::fill(image, Qt::white);
    const QString text = kanjiText(code);
    if (!text.isEmpty()) {
        ui::drawText(image, font, QPoint(12, 12), text);
    }
    return image;
}

const QImage& kanjiImageOf(KanjiRecord& record, const QFont& font) {
    if (!record.KanjiImage) {
        record.KanjiImage =
            std::make_shared<QImage>(renderKanjiImage(QImage(), record.Unicode, font));
    }
    return *record.KanjiImage;
}

QImage stripImageOf(const StrokeList* strokes) {
    if (strokes == nullptr) {
        return {};
    }
    const StripImage strip = renderStrip(*strokes);
    if (strip.width == 0) {
        return {};
    }
    QImage indexed(strip.width, strip.height, QImage::Format_Indexed8);
    QList<QRgb> colours;
    for (const StripRgb& colour : stripPalette()) {
        colours << qRgb(colour.r, colour.g, colour.b);
    }
    indexed.setColorTable(colours);
    for (int y = 0; y < strip.height; ++y) {
        std::memcpy(indexed.scanLine(y), &strip.pixels[static_cast<size_t>(y) * strip.width],
                    static_cast<size_t>(strip.width));
    }
    return indexed.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
