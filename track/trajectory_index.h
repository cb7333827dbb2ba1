#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "track/memory_budget.h"
#include "track/message_sink.h"
#include "track/track_store.h"
#include "track/uninitialized_allocator.h"

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

// The slots of the samples a load stores, noted as each is stored rather than read back
// from a hundred megabytes of samples afterwards. Noting never changes the index: notes
// that fail to grow, or that do not match the store, are set aside and the samples read.
class SampleSlotNotes {
 public:
  // For a store whose slot range and per-frame index are already in place.
  explicit SampleSlotNotes(const TrackStore& store);

  // Room for `samples` notes before any is taken, so that the notes are not copied as they
  // grow. Only address space is taken until notes are written; without it, the notes grow.
  void Expect(std::uint64_t samples);

  // The next stored sample in table order (the order a load stores them in).
  void Note(std::int32_t frame);

 private:
  friend std::uint64_t BuildFrameTrajectoryIndex(TrackStore&, SampleSlotNotes&&, MessageSink&,
                                                 MemoryBudget&);
  void GiveUp();

  std::int64_t firstFrame_;
  std::size_t slots_;
  bool usable_ = true;
  std::vector<std::uint32_t> pairs_;  // per slot
  std::vector<std::uint32_t, UninitializedAllocator<std::uint32_t>> noted_;  // per stored sample
};

// The same index as above, built from notes taken while the samples were stored; the same
// memory is asked of the budget, in the same order.
std::uint64_t BuildFrameTrajectoryIndex(TrackStore& store, SampleSlotNotes&& notes,
                                        MessageSink& messages, MemoryBudget& budget);

}  // namespace ostrel
