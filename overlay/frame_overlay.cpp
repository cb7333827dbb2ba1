#include "overlay/frame_overlay.h"

#include "overlay/live_overlay.h"
#include "overlay/overlay_mask.h"
#include "overlay/snapshot_drawing.h"

namespace ostrel {

FrameOverlay::FrameOverlay(OverlayStyle style, QSize pictureSize)
    : style_(style), size_(pictureSize), overlay_(CreateOverlayResources(pictureSize)) {}

void FrameOverlay::Draw(QImage& picture, const TrackStore& store, bool inSync) {
  const OverlayScene scene{store, {0, 0, size_.width(), size_.height()}};
  if (style_ == OverlayStyle::Snapshot) {
    DrawSnapshotOverlay(picture, scene, overlay_->pens);
    return;
  }
  RedrawOverlays(*overlay_, scene, inSync);
  ApplyOverlayMask(picture, overlay_->surface, overlay_->surfaceMarks, QPoint(0, 0));
}

}  // namespace ostrel
