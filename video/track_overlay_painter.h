#pragma once

#include <optional>

#include "clock/clock_offset.h"
#include "overlay/frame_overlay.h"
#include "overlay/overlay_style.h"
#include "overlay/yuv_picture.h"
#include "track/track_store.h"
#include "video/reference_time.h"
#include "video/track_timeline.h"

namespace ostrel {

// Draws the tracking data that belongs to each frame of a video into it, frame after frame
// in playback order: the frame's position gives VideoTime and the current slot as playback
// would find them, and the viewer's drawing puts that slot's points and trajectories in.
class TrackOverlayPainter {
 public:
  TrackOverlayPainter(TrackStore& store, ClockOffset offset, OverlayStyle style)
      : store_(store), timeline_(store, offset), style_(style) {}

  void operator()(const YuvPicture& picture, ReferenceTime position);

 private:
  TrackStore& store_;
  TrackTimeline timeline_;
  OverlayStyle style_;
  std::optional<FrameOverlay> overlay_;  // made at the first picture's size
};

}  // namespace ostrel
