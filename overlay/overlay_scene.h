#pragma once

#include "overlay/video_rect.h"
#include "track/track_store.h"

namespace ostrel {

// What an overlay drawing reads: the tracking data with its CurrentSlot, and where the
// picture is shown. Both belong to the window's state; the scene only borrows them.
struct OverlayScene {
  const TrackStore& store;
  VideoRect videoRect;
};

}  // namespace ostrel
