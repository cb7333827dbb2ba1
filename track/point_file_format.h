#pragma once

#include <cstddef>
#include <cstdint>

namespace ostrel {

// A point file is a bare sequence of little-endian records:
//   int32 raw frame number (0 starts a new segment), int32 clock time in ms,
//   int16 point count n, then n pairs of IEEE-754 doubles (x, y).
inline constexpr std::size_t kPointRecordHeaderBytes = 10;
inline constexpr std::size_t kPointBytes = 16;

}  // namespace ostrel
