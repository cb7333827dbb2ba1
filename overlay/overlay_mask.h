#pragma once

#include <QImage>
#include <QPoint>

#include "overlay/tile_marks.h"

namespace ostrel {

// Shows the overlay on a picture: every pixel of `picture` is combined by exclusive-or with
// the mask pixel under it, `picture`'s top-left pixel lying at `origin` in the mask (for the
// video view, its position in the main window's client area). Parts of the picture outside
// the mask stay as they are. The picture is converted to Format_RGB32 when it is not in a
// 32-bit format.
void ApplyOverlayMask(QImage& picture, const QImage& mask, QPoint origin);

// The same while a picture is painted: the part of the mask under `area` (in the painter's
// coordinates, whose top-left pixel lies at `origin` in the client area) is combined into
// what the painter has drawn, with no copy of the picture.
void ApplyOverlayMask(QPainter& painter, const QRect& area, const QImage& mask, QPoint origin);

// The same two, visiting only the mask's marked tiles: everywhere else it is black and
// changes nothing, so the cost follows what is drawn instead of the picture's size.
void ApplyOverlayMask(QImage& picture, const QImage& mask, const TileMarks& marks, QPoint origin);
void ApplyOverlayMask(QPainter& painter, const QRect& area, const QImage& mask, const TileMarks& marks,
                      QPoint origin);

}  // namespace ostrel
