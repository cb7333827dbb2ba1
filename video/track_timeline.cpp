#include "video/track_timeline.h"

#include "track/frame_lookup.h"
#include "video/playback_clock.h"

namespace ostrel {

bool TrackTimeline::Follow(ReferenceTime position) {
  const ClockMs videoTime = PositionToVideoTime(position, offset_);
  if (!last_ || position < *last_) {
    FindFrameForTime(store_, videoTime);
  } else {
    AdvanceFrameToTime(store_, videoTime);
  }
  last_ = position;
  return InSync(CurrentFrameClock(store_), videoTime);
}

}  // namespace ostrel
