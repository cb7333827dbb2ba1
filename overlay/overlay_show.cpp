#include "overlay/overlay_show.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "overlay/overlay_mask.h"
#include "overlay/painter_target.h"

namespace ostrel {
namespace {

constexpr std::uint32_t kColourBits = 0x00FFFFFFu;

std::uint32_t* PixelAt(QImage& picture, int x, int y) {
  return reinterpret_cast<std::uint32_t*>(picture.scanLine(y)) + x;
}

// The point layer's spans (in rows, top first) inside `inMask`, combined at `toPicture`.
void ShowPointSpans(QImage& picture, QPoint toPicture, const OverlayState& overlay, const QRect& inMask) {
  const std::uint32_t white = overlay.pens.whiteBrush.rgb() & kColourBits;
  const auto& spans = overlay.pointSpans;
  auto span = std::lower_bound(spans.begin(), spans.end(), inMask.top(),
                               [](const PixelSpan& s, int y) { return s.y < y; });
  for (; span != spans.end() && span->y <= inMask.bottom(); ++span) {
    const int left = std::max(span->left, inMask.left());
    const int right = std::min(span->right, inMask.right());
    if (left > right) continue;
    std::uint32_t* pixel = PixelAt(picture, left + toPicture.x(), span->y + toPicture.y());
    for (int x = left; x <= right; ++x) *pixel++ ^= white;
  }
}

// The trajectory layer's pixels (in rows, top first) inside `inMask`, combined at `toPicture`.
void ShowTrajectoryPixels(QImage& picture, QPoint toPicture, const OverlayState& overlay, const QRect& inMask) {
  uchar* bits = picture.bits();
  const qsizetype stride = picture.bytesPerLine();
  const auto& pixels = overlay.trajectoryPixels;
  const int left = inMask.left();
  const int right = inMask.right();
  auto delta = std::lower_bound(pixels.begin(), pixels.end(), inMask.top(),
                                [](const XorDelta& d, int y) { return d.y < y; });
  for (; delta != pixels.end() && delta->y <= inMask.bottom(); ++delta) {
    if (delta->x < left || delta->x > right) continue;
    reinterpret_cast<std::uint32_t*>(bits + (delta->y + toPicture.y()) * stride)[delta->x + toPicture.x()] ^= delta->bits;
  }
}

}  // namespace

void ShowOverlay(QPainter& painter, const QRect& area, OverlayState& overlay, QPoint origin) {
  const std::optional<PainterTarget> target = FindPainterTarget(painter);
  if (!target) {
    ApplyOverlayMask(painter, area, Surface(overlay), OverlayTiles(overlay), origin);
    return;
  }
  if (!overlay.trajectoryPixelsInRows) {
    SortXorRecordByRow(overlay.trajectoryPixels, overlay.recordScratch);
    overlay.trajectoryPixelsInRows = true;
  }
  const QRect mask(QPoint(0, 0), overlay.maskImage.size());
  ForEachPaintablePart(*target, area, origin, [&](const QRect& part, QPoint toPicture) {
    const QRect inMask = part & mask;
    if (inMask.isEmpty()) return;
    ShowPointSpans(*target->picture, toPicture, overlay, inMask);
    ShowTrajectoryPixels(*target->picture, toPicture, overlay, inMask);
  });
}

}  // namespace ostrel
