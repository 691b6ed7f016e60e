// The canvas after a written kanji was graded, and strokes as lines to draw.
#pragma once

#include "core/handwriting/strokes.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include <vector>

inline const QColor ReferenceStrokeColour(200, 200, 200);
inline const QColor MatchedStrokeColour(0, 160, 0);
inline const QColor MissedStrokeColour(220, 0, 0);

// A stroke as one line through its points, mapped by the transform.
QPainterPath pathOf(const Stroke& stroke, const QTransform& transform = {});

// The reference strokes (KanjiVG's box) fitted to the drawing's bounding box, grey with their
// numbers at their starts, and the drawn strokes (canvas pixels) over them: green where
// drawnMatched says so, red otherwise. Without a drawing the reference fills the canvas; without
// a reference only the drawing is shown.
QImage gradedCanvas(QSize size, const StrokeList& drawn, const StrokeList* reference,
                    const std::vector<bool>& drawnMatched);

// Where each stroke's number goes: beside its start, or moved along the stroke or aside from it
// where that box would overlap an earlier number's, kept within bounds when it can be. Strokes
// without points get an empty box.
std::vector<QRectF> strokeNumberBoxes(const std::vector<QPolygonF>& strokes, QSizeF label,
                                      const QRectF& bounds);
