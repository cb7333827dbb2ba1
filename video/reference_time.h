#pragma once

#include <cstdint>

namespace ostrel {

// Positions and durations in 100-nanosecond units, as the viewer counts playback time.
using ReferenceTime = std::int64_t;

inline constexpr std::int64_t kNanosecondsPerReferenceUnit = 100;

constexpr ReferenceTime NanosecondsToReferenceTime(std::int64_t nanoseconds) {
  return nanoseconds / kNanosecondsPerReferenceUnit;
}

constexpr std::int64_t ReferenceTimeToNanoseconds(ReferenceTime time) {
  return time * kNanosecondsPerReferenceUnit;
}

}  // namespace ostrel
