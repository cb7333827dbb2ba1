#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "track/track_store.h"

namespace ostrel::testing {

// One record as a tracker writes it: the raw frame number (0 restarts a segment), the clock,
// and the points. `declaredCount` writes a different count than the points given, for
// records that lie about their length.
struct PointRecord {
  PointRecord(std::int32_t frameNumber, std::int32_t clock, std::vector<TrackPoint> recordPoints = {},
              std::optional<std::int16_t> count = std::nullopt)
      : frame(frameNumber), clockMs(clock), points(std::move(recordPoints)), declaredCount(count) {}

  std::int32_t frame = 0;
  std::int32_t clockMs = 0;
  std::vector<TrackPoint> points;
  std::optional<std::int16_t> declaredCount;
};

// The bytes of a point file holding `records`, in order.
std::string EncodePointRecords(const std::vector<PointRecord>& records);

// Writes `bytes` to `path` as they are; throws std::runtime_error when it cannot.
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

void WritePointFile(const std::filesystem::path& path, const std::vector<PointRecord>& records);

}  // namespace ostrel::testing
