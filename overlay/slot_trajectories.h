#pragma once

#include <cstdint>
#include <span>

#include "track/track_store.h"

namespace ostrel {

// The run of frameTrajectoryList entries to draw for a slot.
struct TrajectoryRun {
  std::int32_t first = 0;
  std::int32_t count = 0;

  bool operator==(const TrajectoryRun&) const = default;
};

// True when `slot` is a frame of the store (0 <= slot < slotCount, with an index entry).
bool IsDrawableSlot(const TrackStore& store, std::int32_t slot);

// The slot's run, cut to the entries the list really holds; empty for a slot outside the store.
TrajectoryRun SlotTrajectoryRun(const TrackStore& store, std::int32_t slot);

// The entries of a run, cut to the list as it is now.
std::span<const FrameTrajectoryList> RunEntries(const TrackStore& store, const TrajectoryRun& run);

// The trajectory an entry names, or null when the entry points outside the store.
const Trajectory* EntryTrajectory(const TrackStore& store, const FrameTrajectoryList& entry);

}  // namespace ostrel
