#include "overlay/live_overlay.h"

#include <algorithm>
#include <span>
#include <utility>

#include "overlay/picture_mapping.h"
#include "overlay/slot_trajectories.h"
#include "track/frame_lookup.h"

namespace ostrel {
namespace {

// The discs of the current frame's visible points, clipped at the client area, as rows of
// pixels that cover each pixel once however the discs overlap.
std::vector<PixelSpan> PointDiscSpans(const OverlayScene& scene, QSize clientArea) {
  std::vector<PixelSpan> spans;
  const auto points = CurrentFramePoints(scene.store);
  if (!points) return spans;
  const QRect clip(QPoint(0, 0), clientArea);
  // Every disc has the same shape: worked out once, around the origin, and moved to each
  // centre that keeps it whole inside the client area.
  std::vector<PixelSpan> disc;
  AppendEllipseSpans(-4, -4, 3, 3, QRect(-4, -4, 8, 8), disc);
  const QRect wholeDiscCentres = clip.adjusted(4, 4, -4, -4);
  spans.reserve(points->size() * disc.size());
  const VisibleArea visible(scene.videoRect);
  for (const TrackPoint& point : *points) {
    if (!visible.Contains(point)) continue;
    const PixelPoint centre = MapToWindow(point, scene.videoRect);
    if (wholeDiscCentres.contains(centre.x, centre.y)) {
      for (const PixelSpan& row : disc) spans.push_back({centre.y + row.y, centre.x + row.left, centre.x + row.right});
      continue;
    }
    AppendEllipseSpans(std::int64_t{centre.x} - 4, std::int64_t{centre.y} - 4, std::int64_t{centre.x} + 3,
                       std::int64_t{centre.y} + 3, clip, spans);
  }
  return MergeOverlappingSpans(std::move(spans));
}

void SelectPenByKind(PixelCanvas& dc, const OverlayPens& pens, std::int32_t kind) {
  switch (kind) {
    case 0:
      dc.SelectPen(pens.pens[0]);
      break;
    case 1:
      dc.SelectPen(pens.pens[3]);
      break;
    case 2:
      dc.SelectPen(pens.pens[2]);
      break;
    default:
      break;
  }
}

void DrawLiveTrail(PixelCanvas& dc, const SampleArray& samples, std::int32_t sample,
                   const VideoRect& videoRect, const VisibleArea& visible) {
  bool penDown = false;
  PixelPoint previous;
  const std::int32_t oldest = std::max(0, sample - kTrailReach);
  for (std::int32_t i = sample; i >= oldest; --i) {
    const TrajectorySample& current = samples[static_cast<std::size_t>(i)];
    if (current.breakFlag != 0) return;
    if (!visible.Contains(current.centre)) {
      penDown = false;
      continue;
    }
    const PixelPoint point = MapToWindow(current.centre, videoRect);
    if (penDown && SquaredDistance(point, previous) <= kLongestTrailStepSquared) {
      dc.LineTo(point);
    } else {
      dc.MoveTo(point);
      penDown = true;
    }
    previous = point;
  }
}

void DrawBox(PixelCanvas& dc, const TrajectorySample& sample, const VideoRect& videoRect) {
  dc.MoveTo(MapToWindow(sample.corners[0], videoRect));
  for (int corner : {1, 2, 3, 0}) dc.LineTo(MapToWindow(sample.corners[corner], videoRect));
}

// The trail as `kept` brings it up to date, when it keeps it; else drawn line by line.
void DrawTrail(PixelCanvas& dc, const Trajectory& drawn, std::int32_t trajectory, std::int32_t sample,
               const VideoRect& videoRect, const VisibleArea& visible, KeptTrailStrokes* kept) {
  if (kept != nullptr) {
    const Pen& pen = dc.SelectedPen();
    const TrailRequest request{
        trajectory, &drawn.samples, sample, {videoRect, dc.PictureSize(), pen.width, pen.colour.rgb() & 0x00FFFFFFu}};
    if (dc.AppendToRecord([&](XorRecord& record) { return kept->Append(request, record); })) return;
  }
  DrawLiveTrail(dc, drawn.samples, sample, videoRect, visible);
}

void DrawTrailAndBox(PixelCanvas& dc, const OverlayPens& pens, const OverlayScene& scene,
                     const FrameTrajectoryList& entry, KeptTrailStrokes* kept) {
  const Trajectory* drawn = EntryTrajectory(scene.store, entry);
  if (drawn == nullptr) return;
  SelectPenByKind(dc, pens, drawn->header.kind);
  const VisibleArea visible(scene.videoRect);
  DrawTrail(dc, *drawn, entry.trajectory, entry.sample, scene.videoRect, visible, kept);
  const TrajectorySample& current = drawn->samples[static_cast<std::size_t>(entry.sample)];
  if (visible.Contains(current.centre)) DrawBox(dc, current, scene.videoRect);
  dc.Flush();
}

}  // namespace

void RedrawOverlays(OverlayState& overlay, const OverlayScene& scene, bool inSync) {
  overlay.tiles.reset();
  DrawPointLayer(overlay, scene);
  DrawTrajectoryLayer(overlay, scene, inSync);
}

void DrawPointLayer(OverlayState& overlay, const OverlayScene& scene) {
  if (!IsDrawableSlot(scene.store, scene.store.CurrentSlot)) return;
  const QSize clientArea = overlay.maskImage.size();
  if (overlay.pointImage.isNull()) {
    overlay.pointImage = QImage(clientArea, QImage::Format_RGB32);
    overlay.pointImage.fill(QColor(0, 0, 0));
    overlay.pointImageSpans.clear();
  } else if (overlay.pointImageHoldsPoints) {
    overlay.pointImageSpans = overlay.pointSpans;
  }
  overlay.pointImageHoldsPoints = false;
  if (overlay.maskHoldsPoints) std::swap(overlay.maskSpans, overlay.pointSpans);
  overlay.maskHoldsPoints = false;
  // Transferring the old layer onto the mask, clearing it, drawing the new points and
  // transferring it again leaves the mask with the new discs inverted in place of the old:
  // the discs are all that need be known, and the images catch up when somebody looks.
  overlay.pointSpans = PointDiscSpans(scene, clientArea);
}

void DrawTrajectoryLayer(OverlayState& overlay, const OverlayScene& scene, bool inSync) {
  const TrackStore& store = scene.store;
  if (!IsDrawableSlot(store, store.CurrentSlot)) return;
  // Drawing the remembered run again takes it away: forgetting its pixels does the same to
  // the mask that is shown from them.
  if (overlay.maskHoldsTrajectories) std::swap(overlay.maskPixels, overlay.trajectoryPixels);
  overlay.maskHoldsTrajectories = false;
  overlay.trajectoryPixels.clear();
  overlay.trajectoryRuns.Clear();
  overlay.trajectoryRunsCurrent = true;
  overlay.drawn.drawnCount = 0;
  if (!inSync) {
    overlay.keptTrails.EndLayer();
    return;
  }
  // Each pass starts from the white pen, so that a kind that keeps the selected pen gets
  // the same pen whichever frame came before.
  const TrajectoryRun run = SlotTrajectoryRun(store, store.CurrentSlot);
  overlay.drawn = {run.first, run.count, scene.videoRect};
  {
    PixelCanvas dc(overlay.maskImage, DrawMode::Xor, overlay.pens.whitePen,
                   {&overlay.seenPixels, nullptr, &overlay.trajectoryPixels});
    for (const FrameTrajectoryList& entry : RunEntries(store, run)) {
      DrawTrailAndBox(dc, overlay.pens, scene, entry, &overlay.keptTrails);
    }
  }
  overlay.keptTrails.EndLayer();
  overlay.trajectoryRunsCurrent = false;
}

void DrawTrajectoryTrail(PixelCanvas& dc, const OverlayPens& pens, const OverlayScene& scene,
                         std::int32_t trajectory, std::int32_t sample) {
  DrawTrailAndBox(dc, pens, scene, {trajectory, sample}, nullptr);
}

}  // namespace ostrel
