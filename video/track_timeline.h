#pragma once

#include <optional>

#include "clock/clock_offset.h"
#include "track/track_store.h"
#include "video/reference_time.h"

namespace ostrel {

// Keeps a TrackStore's CurrentSlot on the frames of a video as they are decoded one after
// another, the way playback keeps it: the incremental search while time moves forward, the
// full search at the start and whenever time goes back (a loop or a seek).
class TrackTimeline {
 public:
  TrackTimeline(TrackStore& store, ClockOffset offset) : store_(store), offset_(offset) {}

  // Moves CurrentSlot to the frame for playback position `position` and says whether that
  // frame lies near enough to the position's VideoTime for its trajectories to show.
  bool Follow(ReferenceTime position);

 private:
  TrackStore& store_;
  ClockOffset offset_;
  std::optional<ReferenceTime> last_;
};

}  // namespace ostrel
