// The rendered picture of a kanji character.
#pragma once

#include "core/handwriting/strokes.h"
#include "core/kanjiset/kanjirecord.h"

#include <QFont>
#include <QImage>

constexpr int KanjiImageSize = 160;

// The character with that code as text; empty for a value that is no character.
QString kanjiText(qint32 code);

// Draws the character with code (a full code point) in font on white, its top-left corner at
// (12, 12), into image, or into a new 160 x 160 image when image is null.
QImage renderKanjiImage(QImage image, qint32 code, const QFont& font);

// The record's cached picture, rendered on first use.
const QImage& kanjiImageOf(KanjiRecord& record, const QFont& font);

// A stroke-order strip drawn from reference strokes; a null image without strokes.
QImage stripImageOf(const StrokeList* strokes);
