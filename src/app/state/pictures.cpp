// The pictures of kanji the window shows, drawn when first needed and kept by the kanji's code.
#include "app/state/pictures.h"

#include "core/handwriting/strokestrip.h"
#include "core/kanjiset/kanjirecord.h"
#include "ui/images.h"

#include <cstring>

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

const QImage& PictureCache::kanji(qint32 code, const QFont& font) {
    auto found = kanji_.find(code);
    if (found == kanji_.end()) {
        found = kanji_.emplace(code, renderKanjiImage(QImage(), code, font)).first;
    }
    return found->second;
}

const QImage* PictureCache::drawnKanji(qint32 code) const {
    const auto found = kanji_.find(code);
    return found == kanji_.end() ? nullptr : &found->second;
}

void PictureCache::keepKanji(qint32 code, QImage image) {
    kanji_[code] = std::move(image);
}

const QImage* PictureCache::strip(qint32 code, const QString& source) const {
    const auto found = strips_.find(code);
    return found == strips_.end() || found->second.source != source ? nullptr
                                                                    : &found->second.image;
}

void PictureCache::keepStrip(qint32 code, StripPicture strip) {
    strips_[code] = std::move(strip);
}

void PictureCache::drop(qint32 code) {
    kanji_.erase(code);
    strips_.erase(code);
}
