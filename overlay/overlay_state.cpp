#include "overlay/overlay_state.h"

#include <algorithm>

#include "overlay/pixel_writer.h"

namespace ostrel {

QImage MakeClearSurface(QSize size) {
  QImage surface(size, QImage::Format_RGB32);
  surface.fill(QColor(0, 0, 0));
  return surface;
}

std::unique_ptr<OverlayState> CreateOverlayResources(QSize clientArea) {
  auto overlay = std::make_unique<OverlayState>();
  overlay->pens = MakeOverlayPens();
  overlay->maskImage = MakeClearSurface(clientArea);
  return overlay;
}

void DeleteOverlayResources(std::unique_ptr<OverlayState>& overlay) { overlay.reset(); }

void ForgetOverlay(OverlayState& overlay) {
  overlay.maskImage.fill(QColor(0, 0, 0));
  overlay.maskHoldsPoints = true;
  overlay.maskSpans.clear();
  overlay.maskHoldsTrajectories = true;
  overlay.maskPixels.clear();
  overlay.pointImage = QImage();
  overlay.pointImageHoldsPoints = true;
  overlay.pointImageSpans.clear();
  overlay.pointSpans.clear();
  overlay.drawn = {};
  overlay.trajectoryPixels.clear();
  overlay.keptTrails.Clear();
  overlay.trajectoryRuns.Clear();
  overlay.trajectoryRunsCurrent = true;
  overlay.tiles.reset();
}

// Exclusive-or takes away what the mask holds and puts in what the last redraw drew, in any
// order.
const QImage& Surface(OverlayState& overlay) {
  if (!overlay.maskHoldsPoints) {
    const QColor white = overlay.pens.whiteBrush;
    PaintSpans(overlay.maskImage, DrawMode::Xor, overlay.maskSpans, white);
    PaintSpans(overlay.maskImage, DrawMode::Xor, overlay.pointSpans, white);
    overlay.maskHoldsPoints = true;
  }
  if (!overlay.maskHoldsTrajectories) {
    CombineXorRecord(overlay.maskImage, overlay.maskPixels);
    CombineXorRecord(overlay.maskImage, overlay.trajectoryPixels);
    overlay.maskHoldsTrajectories = true;
  }
  return overlay.maskImage;
}

const QImage& PointLayer(OverlayState& overlay) {
  if (overlay.pointImageHoldsPoints || overlay.pointImage.isNull()) return overlay.pointImage;
  PaintSpans(overlay.pointImage, DrawMode::Copy, overlay.pointImageSpans, QColor(0, 0, 0));
  PaintSpans(overlay.pointImage, DrawMode::Copy, overlay.pointSpans, overlay.pens.whiteBrush);
  overlay.pointImageHoldsPoints = true;
  return overlay.pointImage;
}

const TileMarks& OverlayTiles(OverlayState& overlay) {
  if (overlay.tiles) return *overlay.tiles;
  TileMarks& marks = overlay.tiles.emplace(overlay.maskImage.size());
  const QRect inside = overlay.maskImage.rect();
  for (const PixelSpan& span : overlay.pointSpans) {
    if (span.y >= inside.top() && span.y <= inside.bottom()) {
      marks.MarkSpan(span.y, std::max(span.left, inside.left()), std::min(span.right, inside.right()));
    }
  }
  ForEachRunInside(overlay.trajectoryPixels, inside.size(),
                   [&marks](const XorRun& run) { marks.MarkSpan(run.y, run.left, run.right); });
  return marks;
}

void ResizeOverlay(OverlayState& overlay, QSize clientArea) {
  overlay.maskImage = QImage(clientArea, QImage::Format_RGB32);
  ForgetOverlay(overlay);
}

}  // namespace ostrel
