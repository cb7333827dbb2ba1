#include "overlay/overlay_mask.h"

#include <QPainter>
#include <cstdint>

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

void ApplyOverlayMask(QImage& picture, const QImage& mask, const TileMarks& marks, QPoint origin) {
  if (picture.depth() != 32) picture.convertTo(QImage::Format_RGB32);
  if (mask.size() != marks.picture() || mask.depth() != 32) return;
  marks.ForEachRun(QRect(origin, picture.size()), [&](const QRect& run) {
    const QPoint at = run.topLeft() - origin;
    for (int y = 0; y < run.height(); ++y) {
      auto* to = reinterpret_cast<std::uint32_t*>(picture.scanLine(at.y() + y)) + at.x();
      const auto* from = reinterpret_cast<const std::uint32_t*>(mask.constScanLine(run.top() + y)) + run.left();
      for (int x = 0; x < run.width(); ++x) to[x] ^= from[x] & 0x00FFFFFFu;
    }
  });
}

void ApplyOverlayMask(QPainter& painter, const QRect& area, const QImage& mask, const TileMarks& marks,
                      QPoint origin) {
  const QPainter::CompositionMode mode = painter.compositionMode();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  marks.ForEachRun(area.translated(origin), [&](const QRect& run) {
    painter.drawImage(run.topLeft() - origin, mask, run);
  });
  painter.setCompositionMode(mode);
}

}  // namespace ostrel
