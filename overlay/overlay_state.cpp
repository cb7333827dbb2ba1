#include "overlay/overlay_state.h"

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
  overlay->surfaceMarks = TileMarks(clientArea);
  return overlay;
}

void DeleteOverlayResources(std::unique_ptr<OverlayState>& overlay) { overlay.reset(); }

void ForgetOverlay(OverlayState& overlay) {
  overlay.surface.fill(QColor(0, 0, 0));
  overlay.surfaceMarks = TileMarks(overlay.surface.size());
  overlay.PointLayer = QImage();
  overlay.pointSpans.clear();
  overlay.drawn = {};
  overlay.trajectoryPixels.clear();
  overlay.trajectoryPixelsInRows = true;
}

void ResizeOverlay(OverlayState& overlay, QSize clientArea) {
  overlay.surface = QImage(clientArea, QImage::Format_RGB32);
  ForgetOverlay(overlay);
}

}  // namespace ostrel
