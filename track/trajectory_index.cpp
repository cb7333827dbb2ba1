#include "track/trajectory_index.h"

#include <algorithm>
#include <string>
#include <vector>

#include "track/point_file.h"

namespace ostrel {
namespace {

using Counters = std::vector<std::uint32_t>;

// Calls visit(trajectory, sample, slot) for every stored sample inside the index's slots, in
// table order and, within a trajectory, in sample order. Samples outside are passed over so
// that a store filled by other means can never make the index write outside its arrays.
template <typename Visit>
void ForEachSlottedSample(const TrackStore& store, std::size_t slots, Visit visit) {
  const std::int64_t firstFrame = store.firstFrame;
  for (std::size_t i = 0; i < store.trajectories.size(); ++i) {
    const std::vector<TrajectorySample>& samples = store.trajectories[i].samples;
    for (std::size_t j = 0; j < samples.size(); ++j) {
      const std::int64_t slot = samples[j].frame - firstFrame;
      if (slot >= 0 && static_cast<std::uint64_t>(slot) < slots) {
        visit(i, j, static_cast<std::size_t>(slot));
      }
    }
  }
}

// Points every slot at the start of its run. The starts come from the full counters, so the
// runs after a capped slot stay where they are; only the capped count loses pairs.
std::uint64_t SetRuns(std::vector<FrameTrajectoryIndex>& index, const Counters& counters) {
  std::uint64_t capped = 0;
  std::int64_t first = 0;
  for (std::size_t slot = 0; slot < counters.size(); ++slot) {
    const std::uint32_t pairs = counters[slot];
    if (pairs > static_cast<std::uint32_t>(kMaxPairsPerSlot)) ++capped;
    index[slot].first = static_cast<std::int32_t>(std::min<std::int64_t>(first, INT32_MAX));
    index[slot].count = static_cast<std::int16_t>(
        std::min(pairs, static_cast<std::uint32_t>(kMaxPairsPerSlot)));
    first += pairs;
  }
  return capped;
}

}  // namespace

std::uint64_t BuildFrameTrajectoryIndex(TrackStore& store, MessageSink& messages,
                                        MemoryBudget& budget) {
  const std::size_t slots = std::min(static_cast<std::size_t>(std::max(store.slotCount, 0)),
                                     store.frameTrajectoryIndex.size());
  Counters counters;
  if (!AllocateArray(counters, slots, std::uint32_t{0}, budget)) {
    messages.Show({std::string(kTrajectoryIndexBuildText), std::string(kErrorCaption)});
    return 0;
  }

  ForEachSlottedSample(store, slots, [&](std::size_t, std::size_t, std::size_t slot) {
    ++counters[slot];
  });
  const std::uint64_t capped = SetRuns(store.frameTrajectoryIndex, counters);

  std::fill(counters.begin(), counters.end(), 0u);
  std::vector<FrameTrajectoryList>& list = store.frameTrajectoryList;
  ForEachSlottedSample(store, slots, [&](std::size_t i, std::size_t j, std::size_t slot) {
    const std::uint64_t at =
        static_cast<std::uint64_t>(store.frameTrajectoryIndex[slot].first) + counters[slot]++;
    if (at < list.size()) {
      list[at] = {static_cast<std::int32_t>(i), static_cast<std::int32_t>(j)};
    }
  });
  return capped;
}

std::uint64_t BuildFrameTrajectoryIndex(TrackStore& store, MessageSink& messages) {
  MemoryBudget unlimited;
  return BuildFrameTrajectoryIndex(store, messages, unlimited);
}

}  // namespace ostrel
