#pragma once

#include <algorithm>
#include <cstdint>

namespace ostrel {

// Turns the tracker's per-segment frame numbers into absolute ones: a raw number 0 starts a
// new segment right after the frame read just before it (whatever became of that line).
// Held in 64 bits and kept within +-2^62, so that no file, however long or hostile, can make
// the numbering overflow; anything beyond 32 bits simply lies outside every frame range.
class SegmentFrames {
 public:
  std::int64_t Next(std::int32_t raw) {
    if (raw == 0) base_ = std::clamp<std::int64_t>(previous_ + 1, -kLimit, kLimit);
    previous_ = base_ + raw;
    return previous_;
  }

 private:
  static constexpr std::int64_t kLimit = std::int64_t{1} << 62;
  std::int64_t base_ = 0;
  std::int64_t previous_ = -1;
};

}  // namespace ostrel
