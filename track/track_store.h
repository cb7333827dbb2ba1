#pragma once

#include <cstdint>
#include <type_traits>
#include <vector>

#include "track/sample_memory.h"
#include "track/uninitialized_allocator.h"

namespace ostrel {

// Milliseconds on the recording clock that video and tracking data share.
using ClockMs = std::int32_t;

// A point normalised to the picture: x from 0 (left) to 1 (right), y from 0 (bottom) to 1 (top).
struct TrackPoint {
  double x = 0.0;
  double y = 0.0;

  bool operator==(const TrackPoint&) const = default;
};
static_assert(sizeof(TrackPoint) == 16, "a point is two packed doubles, as in the point file");

// All points of a point file; filled straight from the file, so never zeroed in advance.
using PointArray = std::vector<TrackPoint, UninitializedAllocator<TrackPoint>>;

// One record of the point file, with its frame number made absolute.
struct PointFrame {
  std::int32_t frame = 0;
  std::int32_t clockMs = 0;
  std::int16_t pointCount = 0;
  std::int32_t firstPoint = 0;

  bool operator==(const PointFrame&) const = default;
};

// The run of frameTrajectoryList entries that belong to one slot.
struct FrameTrajectoryIndex {
  std::int32_t first = 0;
  std::int16_t count = 0;

  bool operator==(const FrameTrajectoryIndex&) const = default;
};

struct FrameTrajectoryList {
  std::int32_t trajectory = 0;
  std::int32_t sample = 0;

  bool operator==(const FrameTrajectoryList&) const = default;
};

struct TrajectoryHeader {
  std::int32_t id = 0;
  std::int32_t kind = 0;
  double param1 = 0.0;
  double param2 = 0.0;
  double param3 = 0.0;
  double score = 0.0;

  bool operator==(const TrajectoryHeader&) const = default;
};

// The four whole numbers lead, so that a large file's million samples carry no padding.
struct TrajectorySample {
  std::int32_t trajectoryId = 0;
  std::int32_t frame = 0;
  std::int32_t clockMs = 0;
  std::int32_t breakFlag = 0;
  TrackPoint corners[4];
  TrackPoint centre;
  double score = 0.0;

  bool operator==(const TrajectorySample&) const = default;
};
static_assert(sizeof(TrajectorySample) == 104, "a sample holds no padding");

// A loaded trajectory's samples lie in the memory of its load (see SampleMemory).
using SampleArray = std::vector<TrajectorySample, SampleAllocator<TrajectorySample>>;

struct Trajectory {
  SampleArray samples;  // empty while the trajectory has none
  TrajectoryHeader header;

  std::int32_t sampleCount() const { return static_cast<std::int32_t>(samples.size()); }
};
// A growing table moves its trajectories, so their samples stay where their load put them.
static_assert(std::is_nothrow_move_constructible_v<Trajectory>);

// All tracking data of the open video. Arrays are owned here and released only by the
// operations below and by the loaders; an empty vector is an absent array. Counts that the
// arrays already know (records, trajectories) are read from the arrays themselves.
struct TrackStore {
  std::vector<PointFrame> pointFrames;
  PointArray points;
  std::int32_t firstFrame = 0;
  std::int32_t slotCount = 0;
  std::int32_t CurrentSlot = -1;
  std::vector<std::int32_t> frameIndex;
  std::vector<FrameTrajectoryIndex> frameTrajectoryIndex;
  std::vector<FrameTrajectoryList> frameTrajectoryList;
  std::vector<Trajectory> trajectories;

  std::int32_t pointFrameCount() const { return static_cast<std::int32_t>(pointFrames.size()); }
  std::int32_t trajectoryCount() const { return static_cast<std::int32_t>(trajectories.size()); }
};

// Puts a store into the empty state without releasing anything (a freshly created store).
void ResetTrackStore(TrackStore& store);
// Releases every array; afterwards the store is empty.
void FreeTrackStore(TrackStore& store);
void FreeTrajectories(TrackStore& store);
// Releases frameIndex, frameTrajectoryList and frameTrajectoryIndex; no slot stays reachable.
void FreeFrameIndexes(TrackStore& store);

// Bytes held by the store's arrays (their capacity), for reports and memory measurements.
std::size_t TrackStoreBytes(const TrackStore& store);

}  // namespace ostrel
