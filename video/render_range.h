#pragma once

#include <optional>

#include "video/reference_time.h"

namespace ostrel {

// The part of a video a render writes: the frames whose playback position p lies in
// from <= p < to (to: the end of the video when absent), positions counted from the first
// frame as the viewer counts them.
struct RenderRange {
  ReferenceTime from = 0;
  std::optional<ReferenceTime> to;

  bool Before(ReferenceTime position) const { return position < from; }
  bool After(ReferenceTime position) const { return to && position >= *to; }
};

}  // namespace ostrel
