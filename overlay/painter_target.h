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

}  // namespace ostrel
