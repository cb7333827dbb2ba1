#pragma once

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRegion>
#include <optional>

namespace ostrel {

// The 32-bit picture a raster painter draws into, where the painter's pixels lie in it, and
// the part of it the painter may paint (a widget's pending update), for drawing that is
// cheaper done on the pixels than through painter calls. There is one only when a pixel is a
// pixel: no scaling or turning, no clipping of the painter's own, one device pixel each.
struct PainterTarget {
  QImage* picture = nullptr;
  QPoint offset;  // painter coordinates plus offset give the picture's
  QRegion allowed;
};

std::optional<PainterTarget> FindPainterTarget(QPainter& painter);

// Calls visit(part, toPicture) for each part of `area` (painter coordinates) that the
// target may paint, given in the coordinates of a layer whose pixel `origin` lies under
// the painter's (0, 0); part.topLeft() + toPicture is where it lies in the target's picture.
template <typename Visit>
void ForEachPaintablePart(const PainterTarget& target, const QRect& area, QPoint origin, Visit visit) {
  const QPoint toPicture = target.offset - origin;
  for (const QRect& part : target.allowed & area.translated(target.offset)) visit(part.translated(-toPicture), toPicture);
}

}  // namespace ostrel
