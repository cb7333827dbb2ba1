#include "overlay/slot_trajectories.h"

#include <algorithm>

namespace ostrel {

bool IsDrawableSlot(const TrackStore& store, std::int32_t slot) {
  return slot >= 0 && slot < store.slotCount &&
         static_cast<std::size_t>(slot) < store.frameTrajectoryIndex.size();
}

TrajectoryRun SlotTrajectoryRun(const TrackStore& store, std::int32_t slot) {
  if (!IsDrawableSlot(store, slot)) return {};
  const FrameTrajectoryIndex& index = store.frameTrajectoryIndex[static_cast<std::size_t>(slot)];
  const TrajectoryRun run{index.first, index.count};
  const std::span<const FrameTrajectoryList> entries = RunEntries(store, run);
  return {run.first, static_cast<std::int32_t>(entries.size())};
}

std::span<const FrameTrajectoryList> RunEntries(const TrackStore& store, const TrajectoryRun& run) {
  const auto size = static_cast<std::int64_t>(store.frameTrajectoryList.size());
  if (run.first < 0 || run.count <= 0 || run.first >= size) return {};
  const std::int64_t count = std::min<std::int64_t>(run.count, size - run.first);
  return std::span<const FrameTrajectoryList>(store.frameTrajectoryList)
      .subspan(static_cast<std::size_t>(run.first), static_cast<std::size_t>(count));
}

const Trajectory* EntryTrajectory(const TrackStore& store, const FrameTrajectoryList& entry) {
  if (entry.trajectory < 0 || entry.trajectory >= store.trajectoryCount()) return nullptr;
  const Trajectory& trajectory = store.trajectories[static_cast<std::size_t>(entry.trajectory)];
  if (entry.sample < 0 || entry.sample >= trajectory.sampleCount()) return nullptr;
  return &trajectory;
}

}  // namespace ostrel
