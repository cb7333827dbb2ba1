#include "track/trajectory_summary.h"

namespace ostrel {

TrajectorySummary SummarizeTrajectories(const TrackStore& store) {
  TrajectorySummary summary;
  for (const Trajectory& trajectory : store.trajectories) {
    if (trajectory.samples.empty()) continue;  // an entry kept for the next trajectory
    const std::int32_t kind = trajectory.header.kind;
    if (kind < 0 || kind >= static_cast<std::int32_t>(summary.kinds.size())) {
      ++summary.otherKinds;
      continue;
    }
    KindSummary& counts = summary.kinds[static_cast<std::size_t>(kind)];
    ++counts.trajectories;
    counts.samples += trajectory.sampleCount();
  }
  return summary;
}

std::int32_t SlotTrajectorySamples(const TrackStore& store, std::int32_t slot) {
  if (slot < 0 || static_cast<std::size_t>(slot) >= store.frameTrajectoryIndex.size()) return 0;
  return store.frameTrajectoryIndex[static_cast<std::size_t>(slot)].count;
}

}  // namespace ostrel
