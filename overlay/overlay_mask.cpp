#include "overlay/overlay_mask.h"

#include <QPainter>
#include <cstdint>

#include "overlay/painter_target.h"

namespace ostrel {
namespace {

// Combines the marked tiles of `mask` under `inMask` into `picture` at `at`.
void XorRunsInto(QImage& picture, QPoint at, const QImage& mask, const TileMarks& marks, const QRect& inMask) {
  marks.ForEachRun(inMask, [&](const QRect& run) {
    const QPoint to = run.topLeft() + at;
    for (int y = 0; y < run.height(); ++y) {
      auto* target = reinterpret_cast<std::uint32_t*>(picture.scanLine(to.y() + y)) + to.x();
      const auto* from = reinterpret_cast<const std::uint32_t*>(mask.constScanLine(run.top() + y)) + run.left();
      for (int x = 0; x < run.width(); ++x) target[x] ^= from[x] & 0x00FFFFFFu;
    }
  });
}

}  // namespace

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
  XorRunsInto(picture, -origin, mask, marks, QRect(origin, picture.size()));
}

void ApplyOverlayMask(QPainter& painter, const QRect& area, const QImage& mask, const TileMarks& marks,
                      QPoint origin) {
  if (mask.size() != marks.picture() || mask.depth() != 32) return;
  // A painter call per run of tiles costs more than combining its pixels: where the
  // painter's picture is at hand, they are combined straight into it.
  if (const std::optional<PainterTarget> target = FindPainterTarget(painter)) {
    ForEachPaintablePart(*target, area, origin, [&](const QRect& inMask, QPoint toPicture) {
      XorRunsInto(*target->picture, toPicture, mask, marks, inMask);
    });
    return;
  }
  const QPainter::CompositionMode mode = painter.compositionMode();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  marks.ForEachRun(area.translated(origin), [&](const QRect& run) {
    painter.drawImage(run.topLeft() - origin, mask, run);
  });
  painter.setCompositionMode(mode);
}

}  // namespace ostrel
