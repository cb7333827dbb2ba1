#include "overlay/overlay_show.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "overlay/overlay_mask.h"
#include "overlay/painter_target.h"
#include "overlay/pixel_row_xor.h"

namespace ostrel {
namespace {

constexpr std::uint32_t kColourBits = 0x00FFFFFFu;

// The point layer's spans (in rows, top first) inside `inMask`, combined at `toPicture`.
void ShowPointSpans(QImage& picture, QPoint toPicture, const OverlayState& overlay, const QRect& inMask) {
  const std::uint32_t white = overlay.pens.whiteBrush.rgb() & kColourBits;
  uchar* const bits = picture.bits();
  const qsizetype stride = picture.bytesPerLine();
  const std::uint32_t* const end = PixelsEnd(picture);
  const auto& spans = overlay.pointSpans;
  auto span = std::lower_bound(spans.begin(), spans.end(), inMask.top(),
                               [](const PixelSpan& s, int y) { return s.y < y; });
  for (; span != spans.end() && span->y <= inMask.bottom(); ++span) {
    const int left = std::max(span->left, inMask.left());
    const int right = std::min(span->right, inMask.right());
    auto* pixel = reinterpret_cast<std::uint32_t*>(bits + (span->y + toPicture.y()) * stride) + (left + toPicture.x());
    CombinePixelRun(pixel, right - left + 1, white, end);
  }
}

// The trajectory layer's runs inside `inMask`, combined at `toPicture`. The runs were cut to
// the mask, so a part as wide as the mask, as a band of the video view is, cuts none of them.
void ShowTrajectoryRuns(QImage& picture, QPoint toPicture, const OverlayState& overlay, const QRect& inMask) {
  const qsizetype stride = picture.bytesPerLine();
  uchar* const origin = picture.bits() + toPicture.y() * stride + toPicture.x() * qsizetype{4};
  const std::uint32_t* const end = PixelsEnd(picture);
  const auto combine = [origin, stride, end](int y, int left, int right, std::uint32_t colour) {
    auto* pixel = reinterpret_cast<std::uint32_t*>(origin + y * stride) + left;
    CombinePixelRun(pixel, right - left + 1, colour, end);
  };
  const int maskLeft = inMask.left();
  const int maskRight = inMask.right();
  if (maskLeft == 0 && maskRight == overlay.maskImage.width() - 1) {
    overlay.trajectoryRuns.ForEachRun(inMask.top(), inMask.bottom(),
                                      [&](const XorRun& run) { combine(run.y, run.left, run.right, run.bits); });
    return;
  }
  overlay.trajectoryRuns.ForEachRun(inMask.top(), inMask.bottom(), [&](const XorRun& run) {
    combine(run.y, std::max(run.left, maskLeft), std::min(run.right, maskRight), run.bits);
  });
}

}  // namespace

void ShowOverlay(QPainter& painter, const QRect& area, OverlayState& overlay, QPoint origin) {
  const std::optional<PainterTarget> target = FindPainterTarget(painter);
  // A mask wider than the bands can name is shown from the mask itself, as any painter is.
  if (!target || overlay.maskImage.width() > XorBandRuns::kWidestPicture) {
    ApplyOverlayMask(painter, area, Surface(overlay), OverlayTiles(overlay), origin);
    return;
  }
  if (!overlay.trajectoryRunsCurrent) {
    overlay.trajectoryRuns.Build(overlay.trajectoryPixels, overlay.maskImage.size());
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
