// The pictures of kanji the window shows, drawn when first needed and kept by the kanji's code, so
// the set's records stay plain data.
#pragma once

#include "core/handwriting/strokes.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <unordered_map>

constexpr int KanjiImageSize = 160;

// Draws the character with code (a full code point) in font on white, its top-left corner at
// (12, 12), into image, or into a new 160 x 160 image when image is null.
QImage renderKanjiImage(QImage image, qint32 code, const QFont& font);

// A stroke-order strip drawn from reference strokes; a null image without strokes.
QImage stripImageOf(const StrokeList* strokes);

// A kanji's stroke-order strip and where it came from: the file it was read from, or empty when
// it was drawn from the reference strokes. A file of another set or another name is another
// picture.
struct StripPicture {
    QString source;
    QImage image;
};

class PictureCache {
public:
    // The kanji's rendered character, drawn on first use.
    const QImage& kanji(qint32 code, const QFont& font);
    // The kanji's rendered character if it is drawn already; null otherwise.
    const QImage* drawnKanji(qint32 code) const;
    void keepKanji(qint32 code, QImage image);

    // The kanji's strip if one from that source is kept; null otherwise.
    const QImage* strip(qint32 code, const QString& source) const;
    void keepStrip(qint32 code, StripPicture strip);

    // Forgets the kanji's pictures; drawing them again takes a millisecond.
    void drop(qint32 code);
    int size() const { return static_cast<int>(kanji_.size() + strips_.size()); }

private:
    std::unordered_map<qint32, QImage> kanji_;
    std::unordered_map<qint32, StripPicture> strips_;
};
