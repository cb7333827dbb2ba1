#include "track/trajectory_index.h"

#include <algorithm>
#include <limits>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "track/point_file.h"
#include "track/side_by_side.h"
#include "track/uninitialized_allocator.h"

namespace ostrel {
namespace {

using Counters = std::vector<std::uint32_t>;
// The slot of each stored sample in table order, or kUnslotted.
using SampleSlots = std::vector<std::uint32_t, UninitializedAllocator<std::uint32_t>>;
constexpr std::uint32_t kUnslotted = UINT32_MAX;  // slots are counted in 31 bits

// Calls visit(trajectory, sample, slot, nth) for every stored sample inside the index's slots,
// in table order and, within a trajectory, in sample order; nth counts all stored samples in
// that order. Samples outside are passed over so that a store filled by other means can never
// make the index write outside its arrays.
template <typename Visit>
void ForEachSlottedSample(const TrackStore& store, std::size_t slots, Visit visit) {
  const std::int64_t firstFrame = store.firstFrame;
  std::size_t nth = 0;
  for (std::size_t i = 0; i < store.trajectories.size(); ++i) {
    const SampleArray& samples = store.trajectories[i].samples;
    for (std::size_t j = 0; j < samples.size(); ++j, ++nth) {
      const std::int64_t slot = samples[j].frame - firstFrame;
      if (slot >= 0 && static_cast<std::uint64_t>(slot) < slots) {
        visit(i, j, static_cast<std::size_t>(slot), nth);
      }
    }
  }
}

// The same visits, with the slots noted by an earlier pass instead of read from the samples.
template <typename Visit>
void ForEachNotedSample(const TrackStore& store, const SampleSlots& noted, Visit visit) {
  std::size_t nth = 0;
  for (std::size_t i = 0; i < store.trajectories.size(); ++i) {
    const std::size_t samples = store.trajectories[i].samples.size();
    for (std::size_t j = 0; j < samples; ++j, ++nth) {
      if (noted[nth] != kUnslotted) visit(i, j, static_cast<std::size_t>(noted[nth]), nth);
    }
  }
}

std::uint64_t StoredSamples(const TrackStore& store) {
  std::uint64_t total = 0;
  for (const Trajectory& trajectory : store.trajectories) total += trajectory.samples.size();
  return total;
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

std::size_t IndexedSlots(const TrackStore& store) {
  return std::min(static_cast<std::size_t>(std::max(store.slotCount, 0)),
                  store.frameTrajectoryIndex.size());
}

// What AllocateArray would take from the budget for `count` elements of T.
template <typename T>
bool TakeArray(std::uint64_t count, MemoryBudget& budget) {
  if (count > std::numeric_limits<std::uint64_t>::max() / sizeof(T)) return false;
  return budget.Take(count * sizeof(T));
}

void ShowIndexFailure(MessageSink& messages) {
  messages.Show({std::string(kTrajectoryIndexBuildText), std::string(kErrorCaption)});
}

// Pairs from which placing them is shared with a second thread: below it, starting the
// thread costs about what it saves. A million pairs take milliseconds to place, written all
// over a list of megabytes, and nothing else is left to run beside them.
constexpr std::uint64_t kPairsWorthAThread = std::uint64_t{1} << 16;

// Slots from `first` up to `end`: their runs lie side by side in the list, apart from the
// runs of every other range of slots.
struct SlotRange {
  std::size_t first = 0;
  std::size_t end = 0;
};

// The first slot at which the pairs before it reach half of them all, so that the slots before
// it and those from it on have about as many pairs to place.
std::size_t MiddleSlot(const Counters& counters) {
  std::uint64_t total = 0;
  for (const std::uint32_t pairs : counters) total += pairs;
  std::uint64_t before = 0;
  std::size_t slot = 0;
  while (slot < counters.size() && 2 * before < total) before += counters[slot++];
  return slot;
}

// Places the pairs of the slots in `range`, in table order; `placed` counts the pairs of each
// of those slots placed so far. With `noted`, the slots of the samples are taken from it
// instead of from the samples.
void PlaceRange(TrackStore& store, std::size_t slots, Counters& placed, const SampleSlots* noted,
                SlotRange range) {
  std::vector<FrameTrajectoryList>& list = store.frameTrajectoryList;
  const auto place = [&](std::size_t i, std::size_t j, std::size_t slot, std::size_t) {
    if (slot < range.first || slot >= range.end) return;
    const std::uint64_t at =
        static_cast<std::uint64_t>(store.frameTrajectoryIndex[slot].first) + placed[slot]++;
    if (at < list.size()) {
      list[at] = {static_cast<std::int32_t>(i), static_cast<std::int32_t>(j)};
    }
  };
  if (noted) {
    ForEachNotedSample(store, *noted, place);
  } else {
    ForEachSlottedSample(store, slots, place);
  }
}

// Points every slot at its run and places every pair, given each slot's pair count, on two
// threads when there are pairs enough: each places the slots of its half.
std::uint64_t PlacePairs(TrackStore& store, std::size_t slots, Counters& counters,
                         const SampleSlots* noted) {
  const std::uint64_t capped = SetRuns(store.frameTrajectoryIndex, counters);
  const bool shared = std::thread::hardware_concurrency() > 1 &&
                      store.frameTrajectoryList.size() >= kPairsWorthAThread;
  const std::size_t middle = shared ? MiddleSlot(counters) : slots;
  std::fill(counters.begin(), counters.end(), 0u);
  const auto placeRange = [&](SlotRange range) {
    return [&, range] { PlaceRange(store, slots, counters, noted, range); };
  };
  if (shared) {
    RunSideBySide(placeRange({0, middle}), placeRange({middle, slots}));
  } else {
    placeRange({0, slots})();
  }
  return capped;
}

}  // namespace

std::uint64_t BuildFrameTrajectoryIndex(TrackStore& store, MessageSink& messages,
                                        MemoryBudget& budget) {
  const std::size_t slots = IndexedSlots(store);
  Counters counters;
  if (!AllocateArray(counters, slots, std::uint32_t{0}, budget)) {
    ShowIndexFailure(messages);
    return 0;
  }
  // A sample is 26 times the size of its slot and, in a large file, long out of the cache: the
  // counting pass notes the slots, so that the placement pass need not read the samples again.
  // Without memory for the notes it reads them again.
  SampleSlots noted;
  const bool noting = AllocateArray(noted, StoredSamples(store), kUnslotted, budget);

  ForEachSlottedSample(store, slots, [&](std::size_t, std::size_t, std::size_t slot, std::size_t nth) {
    ++counters[slot];
    if (noting) noted[nth] = static_cast<std::uint32_t>(slot);
  });
  return PlacePairs(store, slots, counters, noting ? &noted : nullptr);
}

std::uint64_t BuildFrameTrajectoryIndex(TrackStore& store, MessageSink& messages) {
  MemoryBudget unlimited;
  return BuildFrameTrajectoryIndex(store, messages, unlimited);
}

SampleSlotNotes::SampleSlotNotes(const TrackStore& store)
    : firstFrame_(store.firstFrame), slots_(IndexedSlots(store)) {
  try {
    pairs_.assign(slots_, 0u);
  } catch (const std::bad_alloc&) {
    GiveUp();
  }
}

void SampleSlotNotes::Expect(std::uint64_t samples) {
  if (!usable_ || samples > noted_.max_size()) return;
  try {
    noted_.reserve(static_cast<std::size_t>(samples));
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
}

void SampleSlotNotes::Note(std::int32_t frame) {
  if (!usable_) return;
  const std::int64_t slot = std::int64_t{frame} - firstFrame_;
  const bool slotted = slot >= 0 && static_cast<std::uint64_t>(slot) < slots_;
  try {
    noted_.push_back(slotted ? static_cast<std::uint32_t>(slot) : kUnslotted);
  } catch (const std::bad_alloc&) {
    GiveUp();
    return;
  }
  if (slotted) ++pairs_[static_cast<std::size_t>(slot)];
}

void SampleSlotNotes::GiveUp() {
  usable_ = false;
  std::vector<std::uint32_t>().swap(pairs_);
  SampleSlots().swap(noted_);
}

std::uint64_t BuildFrameTrajectoryIndex(TrackStore& store, SampleSlotNotes&& notes,
                                        MessageSink& messages, MemoryBudget& budget) {
  const std::size_t slots = IndexedSlots(store);
  if (!notes.usable_ || notes.slots_ != slots || notes.firstFrame_ != store.firstFrame ||
      notes.noted_.size() != StoredSamples(store)) {
    return BuildFrameTrajectoryIndex(store, messages, budget);
  }
  // The counters and notes were had already; the budget is asked for them where the counting
  // pass would have asked, and a refusal has the same outcome.
  if (!TakeArray<std::uint32_t>(slots, budget)) {
    ShowIndexFailure(messages);
    return 0;
  }
  TakeArray<std::uint32_t>(notes.noted_.size(), budget);
  return PlacePairs(store, slots, notes.pairs_, &notes.noted_);
}

}  // namespace ostrel
