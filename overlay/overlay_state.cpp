#include "overlay/overlay_state.h"

#include <algorithm>

namespace ostrel {

QImage MakeClearSurface(QSize size) {
  QImage surface(size, QImage::Format_RGB32);
  surface.fill(QColor(0, 0, 0));
  return surface;
}

std::unique_ptr<OverlayState> CreateOverlayResources(QSize clientArea) {
  auto overlay = std::make_unique<OverlayState>();
  overlay->pens = MakeOverlayPens();
  overlay->surface = MakeClearSurface(clientArea);
  return overlay;
}

void DeleteOverlayResources(std::unique_ptr<OverlayState>& overlay) { overlay.reset(); }

void ForgetOverlay(OverlayState& overlay) {
  overlay.surface.fill(QColor(0, 0, 0));
  overlay.PointLayer = QImage();
  overlay.pointSpans.clear();
  overlay.drawn = {};
  overlay.trajectoryPixels.clear();
  overlay.trajectoryPixelsInRows = true;
  overlay.tiles.reset();
}

const TileMarks& OverlayTiles(OverlayState& overlay) {
  if (overlay.tiles) return *overlay.tiles;
  TileMarks& marks = overlay.tiles.emplace(overlay.surface.size());
  const QRect inside = overlay.surface.rect();
  for (const PixelSpan& span : overlay.pointSpans) {
    if (span.y >= inside.top() && span.y <= inside.bottom()) {
      marks.MarkSpan(span.y, std::max(span.left, inside.left()), std::min(span.right, inside.right()));
    }
  }
  for (const XorDelta& pixel : overlay.trajectoryPixels) {
    if (inside.contains(pixel.x, pixel.y)) marks.MarkPixel(pixel.x, pixel.y);
  }
  return marks;
}

void ResizeOverlay(OverlayState& overlay, QSize clientArea) {
  overlay.surface = QImage(clientArea, QImage::Format_RGB32);
  ForgetOverlay(overlay);
}

}  // namespace ostrel
