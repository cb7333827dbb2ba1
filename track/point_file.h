#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "track/message_sink.h"
#include "track/point_record_reader.h"
#include "track/track_store.h"

namespace ostrel {

inline constexpr std::string_view kFileOpenFailedText = "File open failed.";
inline constexpr std::string_view kTooBigPointFileText = "Too big a LPA file, process failed";
inline constexpr std::string_view kFrameIndexMemoryText = "Memory failure in allocing for ldpt index.";
inline constexpr std::string_view kTrajectoryIndexMemoryText =
    "Memory failure in allocing for trj index.";
inline constexpr std::string_view kErrorCaption = "Error";

struct PointFileLimits {
  // Frame ranges wider than this are refused like an index that cannot be allocated: a few
  // bytes of hostile file must not claim gigabytes. 2^26 slots are 25 days at 30 frames/s.
  std::int64_t maxSlotCount = std::int64_t{1} << 26;
  std::uint64_t memoryBudgetBytes = std::numeric_limits<std::uint64_t>::max();
};

// What the reading of a point file met, beyond what the store shows.
struct PointFileReport {
  std::string path;
  std::uint64_t fileBytes = 0;
  PointFileEnd end = PointFileEnd::Complete;
  std::uint64_t endOffset = 0;  // where the reading stopped, when it did not reach the end
  std::string damage;           // why, for a damaged file
  bool lastPointsIncomplete = false;
};

// Reads the point file beside a video ("<folder>/<name>.lpa") into the store's point fields,
// frame index and zeroed trajectory index. Failures are shown through `messages` and leave
// the store with no point data and no slots.
bool LoadPointFile(TrackStore& store, std::string_view videoPath, MessageSink& messages,
                   const PointFileLimits& limits = {}, PointFileReport* report = nullptr);

}  // namespace ostrel
