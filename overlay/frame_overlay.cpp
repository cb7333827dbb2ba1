#include "overlay/frame_overlay.h"

#include "overlay/live_overlay.h"
#include "overlay/snapshot_drawing.h"
#include "overlay/yuv_layer_blend.h"

namespace ostrel {

FrameOverlay::FrameOverlay(OverlayStyle style, QSize pictureSize)
    : style_(style), size_(pictureSize), overlay_(CreateOverlayResources(pictureSize)) {
  if (style_ == OverlayStyle::Snapshot) {
    layer_ = QImage(pictureSize, QImage::Format_ARGB32);
    layer_.fill(Qt::transparent);
    layerTiles_ = TileMarks(pictureSize);
  }
}

void FrameOverlay::Draw(const YuvPicture& picture, const TrackStore& store, bool inSync) {
  const OverlayScene scene{store, {0, 0, size_.width(), size_.height()}};
  if (style_ == OverlayStyle::Snapshot) {
    // Only where the last picture's drawing went need the layer be made transparent again,
    // and only where this one's goes need it be looked at.
    FillMarkedTiles(layer_, layerTiles_, 0x00000000u);
    layerTiles_.Clear();
    DrawSnapshotOverlay(layer_, scene, overlay_->pens, {&overlay_->seenPixels, &layerTiles_});
    BlendLayerIntoYuv(layer_, layerTiles_, LayerBlend::Cover, picture);
    return;
  }
  RedrawOverlays(*overlay_, scene, inSync);
  // The mask is the point discs and the trajectory pixels combined: only their blocks can
  // change, and there are far fewer of their pixels than of the tiles that hold them.
  BlendLayerIntoYuv(Surface(*overlay_), DrawnPixels{overlay_->pointSpans, overlay_->trajectoryPixels}, blocks_,
                    LayerBlend::Xor, picture);
}

}  // namespace ostrel
