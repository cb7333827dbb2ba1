#include "overlay/frame_overlay.h"

#include "overlay/live_overlay.h"
#include "overlay/snapshot_drawing.h"
#include "overlay/yuv_layer_blend.h"

namespace ostrel {

FrameOverlay::FrameOverlay(OverlayStyle style, QSize pictureSize)
    : style_(style), size_(pictureSize), overlay_(CreateOverlayResources(pictureSize)) {
  if (style_ == OverlayStyle::Snapshot) layer_ = QImage(pictureSize, QImage::Format_ARGB32);
}

void FrameOverlay::Draw(const YuvPicture& picture, const TrackStore& store, bool inSync) {
  const OverlayScene scene{store, {0, 0, size_.width(), size_.height()}};
  if (style_ == OverlayStyle::Snapshot) {
    layer_.fill(Qt::transparent);
    DrawSnapshotOverlay(layer_, scene, overlay_->pens, &overlay_->strokeMarks);
    BlendLayerIntoYuv(layer_, LayerBlend::Cover, picture);
    return;
  }
  RedrawOverlays(*overlay_, scene, inSync);
  BlendLayerIntoYuv(overlay_->surface, LayerBlend::Xor, picture);
}

}  // namespace ostrel
