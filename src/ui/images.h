// Loading pictures, fonts by family and height, and drawing on off-screen images.
#pragma once

#include "base/files.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

namespace ui {

// PNG through libpng; Malformed when the file is not a usable PNG.
FileResult<QImage> loadPng(const QString& path);
// The same in the form the file keeps its pixels, for pictures that are only read: a PNG with a
// palette gives 8-bit indices into it, one without transparency 24-bit colour, and only the
// others 32 bits a pixel.
FileResult<QImage> loadPngAsStored(const QString& path);
// A PNG built into the program (a ":/" resource path) through libpng, without asking Qt's image
// reader, which loads every installed image plugin before it reads a PNG itself; null when there
// is no such resource.
QImage loadBuiltInPng(const QString& resourcePath);
// Malformed when neither the program's own reader nor Qt's makes a picture of the file.
FileResult<QImage> loadIco(const QString& path);

// Fonts the program names but the platform may lack are mapped to installed ones.
void registerFontSubstitutions();
// A small interface font, so captions fit the fixed control sizes on every platform.
void useCompactInterfaceFont();
// A height in points, converted with the screen's vertical resolution.
QFont fontByPoints(const QString& family, int points);
// Text whose height on the screen matters more than its size in print: kana and kanji that must
// stay readable in lists and fields.
QFont fontByPixels(const QString& family, int pixels);
// Finds now the fonts that show the scripts of sample where font lacks them, which the first
// text in those scripts would otherwise do on this thread, a millisecond and more for each.
void prepareFontsFor(const QFont& font, const QString& sample);

QImage createImage(int width, int height);
void fill(QImage& image, const QColor& colour);
// Text with transparent background, its top-left corner at position.
void drawText(QImage& image, const QFont& font, QPoint position, const QString& text,
              const QColor& colour = Qt::black);
void drawLine(QImage& image, QPoint from, QPoint to, int width, const QColor& colour);
void fillCircle(QImage& image, QPoint centre, int radius, const QColor& colour);
// Copies source's rectangle into target at position.
void copyRect(const QImage& source, QRect rect, QImage& target, QPoint position);

}  // namespace ui
