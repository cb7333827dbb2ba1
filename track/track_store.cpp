#include "track/track_store.h"

#include <utility>

namespace ostrel {
namespace {

// Clearing alone keeps the capacity; swapping with an empty vector gives the memory back.
template <typename T, typename A>
void Release(std::vector<T, A>& array) {
  std::vector<T, A>().swap(array);
}

template <typename T, typename A>
std::size_t CapacityBytes(const std::vector<T, A>& array) {
  return array.capacity() * sizeof(T);
}

}  // namespace

void ResetTrackStore(TrackStore& store) { store = TrackStore{}; }

void FreeTrackStore(TrackStore& store) {
  Release(store.pointFrames);
  Release(store.points);
  FreeTrajectories(store);
  FreeFrameIndexes(store);
}

void FreeTrajectories(TrackStore& store) { Release(store.trajectories); }

void FreeFrameIndexes(TrackStore& store) {
  Release(store.frameIndex);
  Release(store.frameTrajectoryList);
  Release(store.frameTrajectoryIndex);
  store.slotCount = 0;
  store.firstFrame = 0;
  store.CurrentSlot = -1;
}

std::size_t TrackStoreBytes(const TrackStore& store) {
  std::size_t bytes = CapacityBytes(store.pointFrames) + CapacityBytes(store.points) +
                      CapacityBytes(store.frameIndex) +
                      CapacityBytes(store.frameTrajectoryIndex) +
                      CapacityBytes(store.frameTrajectoryList) + CapacityBytes(store.trajectories);
  for (const Trajectory& trajectory : store.trajectories) bytes += CapacityBytes(trajectory.samples);
  return bytes;
}

}  // namespace ostrel
