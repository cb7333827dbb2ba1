#pragma once

#include <array>
#include <cstdint>

#include "track/track_store.h"

namespace ostrel {

struct KindSummary {
  std::int64_t trajectories = 0;
  std::int64_t samples = 0;
};

// Trajectories and their stored samples by kind (0, 1, 2: the pen each is drawn with).
struct TrajectorySummary {
  std::array<KindSummary, 3> kinds;
  std::int64_t otherKinds = 0;  // entries whose kind is none of the three (never from a file)
};

TrajectorySummary SummarizeTrajectories(const TrackStore& store);

// The (trajectory, sample) pairs drawn in a slot; 0 outside the table.
std::int32_t SlotTrajectorySamples(const TrackStore& store, std::int32_t slot);

}  // namespace ostrel
