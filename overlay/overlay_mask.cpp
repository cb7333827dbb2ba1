#include "overlay/overlay_mask.h"

#include <QPainter>

namespace ostrel {

void ApplyOverlayMask(QImage& picture, const QImage& mask, QPoint origin) {
  if (picture.depth() != 32) picture.convertTo(QImage::Format_RGB32);
  QPainter painter(&picture);
  ApplyOverlayMask(painter, picture.rect(), mask, origin);
}

void ApplyOverlayMask(QPainter& painter, const QRect& area, const QImage& mask, QPoint origin) {
  const QPainter::CompositionMode mode = painter.compositionMode();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.drawImage(area.topLeft(), mask, QRect(origin + area.topLeft(), area.size()));
  painter.setCompositionMode(mode);
}

}  // namespace ostrel
