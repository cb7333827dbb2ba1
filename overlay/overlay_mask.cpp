#include "overlay/overlay_mask.h"

#include <QPainter>

namespace ostrel {

void ApplyOverlayMask(QImage& picture, const QImage& mask, QPoint origin) {
  if (picture.depth() != 32) picture.convertTo(QImage::Format_RGB32);
  QPainter painter(&picture);
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.drawImage(-origin, mask);
}

}  // namespace ostrel
