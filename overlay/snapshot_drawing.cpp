#include "overlay/snapshot_drawing.h"

#include <algorithm>

#include "overlay/live_overlay.h"
#include "overlay/picture_mapping.h"
#include "overlay/pixel_canvas.h"
#include "overlay/slot_trajectories.h"
#include "track/frame_lookup.h"

namespace ostrel {
namespace {

// Below this param3 a trajectory is drawn with pen 3 whatever its kind.
constexpr double kDistinctParam3 = 0.7;

struct PictureSize {
  std::int32_t width = 0;
  std::int32_t height = 0;

  PixelPoint Map(const TrackPoint& point) const { return MapToPicture(point, width, height); }
};

void DrawPoints(PixelCanvas& canvas, const OverlayScene& scene, const OverlayPens& pens,
                const PictureSize& picture) {
  const auto points = CurrentFramePoints(scene.store);
  if (!points) return;
  for (const TrackPoint& point : *points) {
    if (!IsPointVisible(point, scene.videoRect)) continue;
    const PixelPoint centre = picture.Map(point);
    canvas.Ellipse(std::int64_t{centre.x} - 4, std::int64_t{centre.y} - 4,
                   std::int64_t{centre.x} + 3, std::int64_t{centre.y} + 3, pens.whiteBrush);
  }
}

void SelectSnapshotPen(PixelCanvas& canvas, const OverlayPens& pens,
                       const TrajectoryHeader& header) {
  if (header.param3 < kDistinctParam3) {
    canvas.SelectPen(pens.pens[3]);
    return;
  }
  if (header.kind >= 0 && header.kind <= 2)
    canvas.SelectPen(pens.pens[static_cast<std::size_t>(header.kind)]);
}

void DrawTrail(PixelCanvas& canvas, const SampleArray& samples,
               std::int32_t sample, const PictureSize& picture) {
  const std::int32_t oldest = std::max(0, sample - kTrailReach);
  for (std::int32_t i = sample; i >= oldest; --i) {
    const TrajectorySample& current = samples[static_cast<std::size_t>(i)];
    if (current.breakFlag != 0) return;
    if (i == sample) {
      canvas.MoveTo(picture.Map(current.centre));
    } else {
      canvas.LineTo(picture.Map(current.centre));
    }
  }
}

void DrawBox(PixelCanvas& canvas, const TrajectorySample& sample, const PictureSize& picture) {
  canvas.MoveTo(picture.Map(sample.corners[0]));
  for (int corner : {1, 2, 3, 0}) canvas.LineTo(picture.Map(sample.corners[corner]));
}

void DrawTrajectories(PixelCanvas& canvas, const OverlayScene& scene, const OverlayPens& pens,
                      const PictureSize& picture) {
  const TrackStore& store = scene.store;
  for (const FrameTrajectoryList& entry :
       RunEntries(store, SlotTrajectoryRun(store, store.CurrentSlot))) {
    const Trajectory* trajectory = EntryTrajectory(store, entry);
    if (trajectory == nullptr) continue;
    SelectSnapshotPen(canvas, pens, trajectory->header);
    DrawTrail(canvas, trajectory->samples, entry.sample, picture);
    DrawBox(canvas, trajectory->samples[static_cast<std::size_t>(entry.sample)], picture);
  }
}

}  // namespace

void DrawSnapshotOverlay(QImage& picture, const OverlayScene& scene, const OverlayPens& pens,
                         CanvasLedger ledger) {
  const PictureSize size{picture.width(), picture.height()};
  PixelCanvas canvas(picture, DrawMode::Copy, pens.whitePen, ledger);
  DrawPoints(canvas, scene, pens, size);
  DrawTrajectories(canvas, scene, pens, size);
}

}  // namespace ostrel
