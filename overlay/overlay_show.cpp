#include "overlay/overlay_show.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "overlay/overlay_mask.h"
#include "overlay/painter_target.h"

namespace ostrel {
namespace {

constexpr std::uint32_t kColourBits = 0x00FFFFFFu;

// The point layer's spans (in rows, top first) inside `inMask`, combined at `toPicture`.
void ShowPointSpans(QImage& picture, QPoint toPicture, const OverlayState& overlay, const QRect& inMask) {
  const std::uint32_t white = overlay.pens.whiteBrush.rgb() & kColourBits;
  uchar* const bits = picture.bits();
  const qsizetype stride = picture.bytesPerLine();
  const auto& spans = overlay.pointSpans;
  auto span = std::lower_bound(spans.begin(), spans.end(), inMask.top(),
                               [](const PixelSpan& s, int y) { return s.y < y; });
  for (; span != spans.end() && span->y <= inMask.bottom(); ++span) {
    const int left = std::max(span->left, inMask.left());
    const int right = std::min(span->right, inMask.right());
    auto* pixel = reinterpret_cast<std::uint32_t*>(bits + (span->y + toPicture.y()) * stride) + (left + toPicture.x());
    for (int x = left; x <= right; ++x) *pixel++ ^= white;
  }
}

// The trajectory layer's runs inside `inMask`, combined at `toPicture`.
void ShowTrajectoryRuns(QImage& picture, QPoint toPicture, const OverlayState& overlay, const QRect& inMask) {
  uchar* const bits = picture.bits();
  const qsizetype stride = picture.bytesPerLine();
  const int maskLeft = inMask.left();
  const int maskRight = inMask.right();
  overlay.trajectoryRuns.ForEachRun(inMask.top(), inMask.bottom(), [&](const XorRun& run) {
    const int left = std::max(run.left, maskLeft);
    const int right = std::min(run.right, maskRight);
    auto* pixel = reinterpret_cast<std::uint32_t*>(bits + (run.y + toPicture.y()) * stride) + (left + toPicture.x());
    for (int x = left; x <= right; ++x) *pixel++ ^= run.bits;
  });
}

}  // namespace

void ShowOverlay(QPainter& painter, const QRect& area, OverlayState& overlay, QPoint origin) {
  const std::optional<PainterTarget> target = FindPainterTarget(painter);
  if (!target) {
    ApplyOverlayMask(painter, area, Surface(overlay), OverlayTiles(overlay), origin);
    return;
  }
  if (!overlay.trajectoryRunsCurrent) {
    overlay.trajectoryRuns.Build(overlay.trajectoryPixels, overlay.maskImage.height());
    overlay.trajectoryRunsCurrent = true;
  }
  const QRect mask(QPoint(0, 0), overlay.maskImage.size());
  ForEachPaintablePart(*target, area, origin, [&](const QRect& part, QPoint toPicture) {
    const QRect inMask = part & mask;
    if (inMask.isEmpty()) return;
    ShowPointSpans(*target->picture, toPicture, overlay, inMask);
    ShowTrajectoryRuns(*target->picture, toPicture, overlay, inMask);
  });
}

}  // namespace ostrel
