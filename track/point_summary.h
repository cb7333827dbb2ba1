#pragma once

#include <cstdint>
#include <vector>

#include "track/track_store.h"

namespace ostrel {

// Frames whose clock does not grow past the clock of the frame before them. The frame
// searches assume clocks grow with the frame, so these are where the overlay can go wrong.
struct ClockStep {
  std::int32_t previousFrame = 0;
  ClockMs previousClock = 0;
  std::int32_t frame = 0;
  ClockMs clock = 0;
};

// What the loaded point data looks like, for a user deciding whether to trust the overlay.
struct PointSummary {
  std::int64_t records = 0;
  std::int64_t points = 0;
  std::int32_t firstFrame = 0;
  std::int32_t lastFrame = 0;
  ClockMs firstClock = 0;  // smallest and largest clock of any record
  ClockMs lastClock = 0;
  std::int64_t framesWithoutRecord = 0;  // slots between first and last frame with no record
  std::int64_t duplicateRecords = 0;    // records hidden by a later record of the same frame
  std::int64_t clockStepCount = 0;
  std::vector<ClockStep> clockSteps;  // the first few of them, in frame order
};

inline constexpr std::size_t kListedClockSteps = 20;

PointSummary SummarizePoints(const TrackStore& store);

}  // namespace ostrel
