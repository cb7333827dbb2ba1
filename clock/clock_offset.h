#pragma once

#include <cstdint>

#include "track/track_store.h"

namespace ostrel {

// Where the open video sits on the recording clock. Both fields start at 0 and are never
// reset: they carry over from one opened video to the next and change only through the
// camera log, the offset steps and nothing else. Their sums wrap around in 32 bits.
struct ClockOffset {
  ClockMs startMs = 0;          // clock time of playback position 0, the correction included
  std::int32_t adjustMs = 0;    // camera-wide correction between the video files and the clock

  bool operator==(const ClockOffset&) const = default;
};

}  // namespace ostrel
