#pragma once

#include <cstdint>
#include <string_view>

#include "track/memory_budget.h"
#include "track/message_sink.h"
#include "track/track_store.h"

namespace ostrel {

inline constexpr std::string_view kTrajectoryIndexBuildText = "Memory failure in generating trj index.";

// The most (trajectory, sample) pairs one frameTrajectoryIndex entry can count.
inline constexpr std::int32_t kMaxPairsPerSlot = INT16_MAX;

// Sorts every stored sample into its frame's run of frameTrajectoryList (which must already
// hold one entry per stored sample), in trajectory order and, within a trajectory, in sample
// order, and points each frameTrajectoryIndex entry at its run. A frame with more pairs than
// an entry can count keeps its exact position but shows only the first kMaxPairsPerSlot.
// Returns how many frames were so capped. When its counters cannot be allocated it shows the
// message and leaves the index as it was.
std::uint64_t BuildFrameTrajectoryIndex(TrackStore& store, MessageSink& messages,
                                        MemoryBudget& budget);
std::uint64_t BuildFrameTrajectoryIndex(TrackStore& store, MessageSink& messages);

}  // namespace ostrel
