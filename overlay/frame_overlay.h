#pragma once

#include <QImage>
#include <QSize>
#include <memory>

#include "overlay/overlay_state.h"
#include "overlay/overlay_style.h"
#include "overlay/tile_marks.h"
#include "overlay/touched_blocks.h"
#include "overlay/yuv_picture.h"
#include "track/track_store.h"

namespace ostrel {

// Draws the current frame of a TrackStore into consecutive decoded pictures of one video,
// with the viewer's own drawing code. Every picture is shown at its native size (the
// picture is the whole client area, VideoRect 0, 0, width, height).
//
// The drawing goes onto a 32-bit layer as the viewer draws it, and from there into the
// picture's own Y'CbCr pixels: only the pixels the overlay touches change, so the rest of
// the picture stays exactly as it was decoded.
//
// Live keeps the viewer's exclusive-or mask from picture to picture, so that each one looks
// exactly as the window would show that frame after the redraw before it; the pictures must
// therefore come in playback order. Snapshot draws every picture afresh, as a capture does.
class FrameOverlay {
 public:
  FrameOverlay(OverlayStyle style, QSize pictureSize);

  // Draws into `picture` (of the size given at construction), in place; `inSync` says
  // whether the live look shows the frame's trajectories.
  void Draw(const YuvPicture& picture, const TrackStore& store, bool inSync);

  QSize size() const { return size_; }

 private:
  OverlayStyle style_;
  QSize size_;
  std::unique_ptr<OverlayState> overlay_;
  QImage layer_;  // the snapshot look's drawing, transparent where it draws nothing
  TileMarks layerTiles_;  // where on the layer the last drawing went
  TouchedBlocks blocks_;  // the live look's, kept from picture to picture
};

}  // namespace ostrel
