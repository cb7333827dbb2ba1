#include "track/trajectory_index.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/support/recording_messages.h"
#include "track/trajectory_file.h"

namespace ostrel {
namespace {

using Pairs = std::vector<FrameTrajectoryList>;

// A store with the given frame range, a zeroed index and one trajectory per list of frames.
TrackStore StoreWith(std::int32_t firstFrame, std::int32_t slotCount,
                     const std::vector<std::vector<std::int32_t>>& frames) {
  TrackStore store;
  store.firstFrame = firstFrame;
  store.slotCount = slotCount;
  store.frameTrajectoryIndex.assign(static_cast<std::size_t>(slotCount), FrameTrajectoryIndex{});
  std::size_t total = 0;
  for (const auto& trajectoryFrames : frames) {
    Trajectory& trajectory = store.trajectories.emplace_back();
    for (const std::int32_t frame : trajectoryFrames) {
      TrajectorySample sample;
      sample.frame = frame;
      trajectory.samples.push_back(sample);
    }
    total += trajectoryFrames.size();
  }
  store.frameTrajectoryList.assign(total, FrameTrajectoryList{});
  return store;
}

// The pairs of a slot found by looking at every sample, in the order drawing wants them.
Pairs PairsBySearch(const TrackStore& store, std::int32_t slot) {
  Pairs pairs;
  for (std::size_t i = 0; i < store.trajectories.size(); ++i) {
    const auto& samples = store.trajectories[i].samples;
    for (std::size_t j = 0; j < samples.size(); ++j) {
      if (samples[j].frame - store.firstFrame == slot) {
        pairs.push_back({static_cast<std::int32_t>(i), static_cast<std::int32_t>(j)});
      }
    }
  }
  return pairs;
}

Pairs PairsByIndex(const TrackStore& store, std::int32_t slot) {
  const FrameTrajectoryIndex entry = store.frameTrajectoryIndex[static_cast<std::size_t>(slot)];
  return Pairs(store.frameTrajectoryList.begin() + entry.first,
               store.frameTrajectoryList.begin() + entry.first + entry.count);
}

// Random frames from `lowest` to `highest` in `trajectories` trajectories of fewer than
// `samplesBelow` samples each.
std::vector<std::vector<std::int32_t>> RandomFrames(std::uint32_t seed, std::size_t trajectories,
                                                    std::uint32_t samplesBelow,
                                                    std::int32_t lowest, std::int32_t highest) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<std::int32_t> frame(lowest, highest);
  std::vector<std::vector<std::int32_t>> frames(trajectories);
  for (auto& trajectory : frames) {
    trajectory.resize(random() % samplesBelow);
    for (std::int32_t& f : trajectory) f = frame(random);
  }
  return frames;
}

TEST(BuildFrameTrajectoryIndex, EverySlotFindsExactlyItsPairsInOrder) {
  struct Case {
    const char* name;
    std::size_t trajectories;
    std::uint32_t samplesBelow;
  };
  // The large store has pairs enough for two threads to place them.
  for (const Case& c : {Case{"small", 40, 60}, Case{"large", 700, 400}}) {
    SCOPED_TRACE(c.name);
    const auto frames = RandomFrames(20240611, c.trajectories, c.samplesBelow, 100, 399);
    TrackStore store = StoreWith(100, 300, frames);
    testing::RecordingMessages messages;
    EXPECT_EQ(BuildFrameTrajectoryIndex(store, messages), 0u);
    EXPECT_TRUE(messages.shown.empty());

    std::int32_t expectedFirst = 0;
    for (std::int32_t slot = 0; slot < store.slotCount; ++slot) {
      SCOPED_TRACE("slot " + std::to_string(slot));
      EXPECT_EQ(store.frameTrajectoryIndex[static_cast<std::size_t>(slot)].first, expectedFirst);
      EXPECT_EQ(PairsByIndex(store, slot), PairsBySearch(store, slot));
      expectedFirst += store.frameTrajectoryIndex[static_cast<std::size_t>(slot)].count;
    }
    EXPECT_EQ(static_cast<std::size_t>(expectedFirst), store.frameTrajectoryList.size());
  }
}

TEST(BuildFrameTrajectoryIndex, SamplesOfOneTrajectoryInOneFrameKeepTheirOrder) {
  TrackStore store = StoreWith(0, 3, {{1, 2, 1}, {1}});
  testing::RecordingMessages messages;
  BuildFrameTrajectoryIndex(store, messages);
  EXPECT_EQ(PairsByIndex(store, 1), (Pairs{{0, 0}, {0, 2}, {1, 0}}));
  EXPECT_EQ(PairsByIndex(store, 2), (Pairs{{0, 1}}));
  EXPECT_EQ(store.frameTrajectoryIndex[0], (FrameTrajectoryIndex{0, 0}));
  EXPECT_EQ(store.frameTrajectoryIndex[2], (FrameTrajectoryIndex{3, 1}));
}

TEST(BuildFrameTrajectoryIndex, SamplesOutsideTheSlotsAreLeftOut) {
  // Loading never stores such samples; a store filled otherwise must still be safe to index.
  TrackStore store = StoreWith(10, 2, {{9, 10, 12, 11, -5}});
  testing::RecordingMessages messages;
  BuildFrameTrajectoryIndex(store, messages);
  EXPECT_EQ(PairsByIndex(store, 0), (Pairs{{0, 1}}));
  EXPECT_EQ(PairsByIndex(store, 1), (Pairs{{0, 3}}));
}

TEST(BuildFrameTrajectoryIndex, CrowdedSlotIsCappedWhileLaterSlotsStayExact) {
  std::vector<std::int32_t> frames(static_cast<std::size_t>(kMaxPairsPerSlot) + 10, 1);
  frames.push_back(2);
  TrackStore store = StoreWith(0, 4, {frames, {2, 1}});
  testing::RecordingMessages messages;
  EXPECT_EQ(BuildFrameTrajectoryIndex(store, messages), 1u);
  const auto crowd = static_cast<std::int32_t>(kMaxPairsPerSlot) + 11;  // pairs in slot 1
  EXPECT_EQ(store.frameTrajectoryIndex[1], (FrameTrajectoryIndex{0, kMaxPairsPerSlot}));
  EXPECT_EQ(store.frameTrajectoryIndex[2], (FrameTrajectoryIndex{crowd, 2}));
  EXPECT_EQ(store.frameTrajectoryIndex[3], (FrameTrajectoryIndex{crowd + 2, 0}));
  EXPECT_EQ(PairsByIndex(store, 2), (Pairs{{0, crowd - 1}, {1, 0}}));
  // The last pair of the crowded slot is placed even though its count cannot reach it.
  EXPECT_EQ(store.frameTrajectoryList[static_cast<std::size_t>(crowd - 1)], (FrameTrajectoryList{1, 1}));
}

TEST(BuildFrameTrajectoryIndex, CountersThatCannotBeAllocatedLeaveTheIndexEmpty) {
  TrackStore store = StoreWith(0, 4, {{1, 2}});
  testing::RecordingMessages messages;
  MemoryBudget budget(4 * sizeof(std::uint32_t) - 1);
  EXPECT_EQ(BuildFrameTrajectoryIndex(store, messages, budget), 0u);
  EXPECT_EQ(messages.shown,
            (std::vector<UserMessage>{{"Memory failure in generating trj index.", "Error"}}));
  for (const FrameTrajectoryIndex& entry : store.frameTrajectoryIndex) EXPECT_EQ(entry, FrameTrajectoryIndex{});
  EXPECT_EQ(store.frameTrajectoryList, (Pairs{{0, 0}, {0, 0}}));
}

// Both stores hold the same index, and every slot of it finds exactly its pairs.
void ExpectSameCorrectIndex(const TrackStore& store, const TrackStore& other) {
  EXPECT_EQ(store.frameTrajectoryIndex, other.frameTrajectoryIndex);
  EXPECT_EQ(store.frameTrajectoryList, other.frameTrajectoryList);
  for (std::int32_t slot = 0; slot < store.slotCount; ++slot) {
    EXPECT_EQ(PairsByIndex(store, slot), PairsBySearch(store, slot));
  }
}

TEST(BuildFrameTrajectoryIndex, SameIndexWhetherOrNotTheSlotsCanBeNoted) {
  // Frames outside 100..199 fall outside the slots, so the noted slots skip samples.
  const auto frames = RandomFrames(7, 30, 40, 90, 210);
  TrackStore noted = StoreWith(100, 100, frames);
  TrackStore reread = StoreWith(100, 100, frames);
  testing::RecordingMessages messages;
  MemoryBudget unlimited;
  MemoryBudget countersOnly(100 * sizeof(std::uint32_t));
  EXPECT_EQ(BuildFrameTrajectoryIndex(noted, messages, unlimited), 0u);
  EXPECT_EQ(BuildFrameTrajectoryIndex(reread, messages, countersOnly), 0u);
  EXPECT_TRUE(messages.shown.empty());
  ExpectSameCorrectIndex(noted, reread);
}

// Frames in and around the slots 100..199, in 30 trajectories of up to 40 samples.
std::vector<std::vector<std::int32_t>> ScatteredFrames() { return RandomFrames(11, 30, 40, 90, 210); }

SampleSlotNotes NotesOf(const TrackStore& store) {
  SampleSlotNotes notes(store);
  for (const Trajectory& trajectory : store.trajectories) {
    for (const TrajectorySample& sample : trajectory.samples) notes.Note(sample.frame);
  }
  return notes;
}

TEST(BuildFrameTrajectoryIndex, NotesTakenWhileStoringGiveTheSameIndex) {
  // The second store has pairs enough for two threads to place them.
  for (const auto& frames : {ScatteredFrames(), RandomFrames(11, 700, 400, 90, 210)}) {
    TrackStore fromNotes = StoreWith(100, 100, frames);
    TrackStore fromSamples = StoreWith(100, 100, frames);
    testing::RecordingMessages messages;
    MemoryBudget unlimited;
    EXPECT_EQ(BuildFrameTrajectoryIndex(fromNotes, NotesOf(fromNotes), messages, unlimited), 0u);
    EXPECT_EQ(BuildFrameTrajectoryIndex(fromSamples, messages, unlimited), 0u);
    EXPECT_TRUE(messages.shown.empty());
    ExpectSameCorrectIndex(fromNotes, fromSamples);
  }
}

TEST(BuildFrameTrajectoryIndex, NotesThatMissASampleAreSetAside) {
  const auto frames = ScatteredFrames();
  TrackStore store = StoreWith(100, 100, frames);
  TrackStore expected = StoreWith(100, 100, frames);
  SampleSlotNotes notes(store);
  notes.Note(150);  // one sample, where the store holds many
  testing::RecordingMessages messages;
  MemoryBudget unlimited;
  BuildFrameTrajectoryIndex(store, std::move(notes), messages, unlimited);
  BuildFrameTrajectoryIndex(expected, messages, unlimited);
  EXPECT_EQ(store.frameTrajectoryIndex, expected.frameTrajectoryIndex);
  EXPECT_EQ(store.frameTrajectoryList, expected.frameTrajectoryList);
}

TEST(BuildFrameTrajectoryIndex, NotedCountersAskTheBudgetAsTheCountingPassDoes) {
  TrackStore store = StoreWith(0, 4, {{1, 2}});
  testing::RecordingMessages messages;
  MemoryBudget budget(4 * sizeof(std::uint32_t) - 1);
  EXPECT_EQ(BuildFrameTrajectoryIndex(store, NotesOf(store), messages, budget), 0u);
  EXPECT_EQ(messages.shown,
            (std::vector<UserMessage>{{"Memory failure in generating trj index.", "Error"}}));
  for (const FrameTrajectoryIndex& entry : store.frameTrajectoryIndex) EXPECT_EQ(entry, FrameTrajectoryIndex{});
}

TEST(BuildFrameTrajectoryIndex, StoreWithoutSlotsIsLeftAlone) {
  TrackStore store;
  testing::RecordingMessages messages;
  EXPECT_EQ(BuildFrameTrajectoryIndex(store, messages), 0u);
  EXPECT_TRUE(store.frameTrajectoryIndex.empty());
  EXPECT_TRUE(messages.shown.empty());
}

// --- The table the index is built from ---------------------------------------------------

TEST(TrajectoryTable, EntryWithoutSamplesIsHandedOutAgainUnchanged) {
  TrackStore store;
  testing::RecordingMessages messages;
  const TrajectoryHeader first{1, 0, 0.5, 0.5, 0.5, 0.0};
  const TrajectoryHeader second{2, 2, 1.5, 1.5, 0.5, 0.0};
  ASSERT_EQ(AddTrajectory(store, first, messages), 0);
  EXPECT_EQ(AddTrajectory(store, second, messages), 0);
  EXPECT_EQ(store.trajectories[0].header, first);

  ASSERT_TRUE(AppendTrajectorySample(store, 0, TrajectorySample{}, messages));
  EXPECT_EQ(AddTrajectory(store, second, messages), 1);
  EXPECT_EQ(store.trajectories[1].header, second);
  EXPECT_EQ(store.trajectoryCount(), 2);
  EXPECT_TRUE(messages.shown.empty());
}

TEST(TrajectoryTable, AppendKeepsSamplesInOrder) {
  TrackStore store;
  testing::RecordingMessages messages;
  ASSERT_EQ(AddTrajectory(store, TrajectoryHeader{}, messages), 0);
  for (std::int32_t frame = 0; frame < 3000; ++frame) {
    TrajectorySample sample;
    sample.frame = frame;
    ASSERT_TRUE(AppendTrajectorySample(store, 0, sample, messages));
  }
  ASSERT_EQ(store.trajectories[0].sampleCount(), 3000);
  for (std::int32_t frame = 0; frame < 3000; ++frame) {
    EXPECT_EQ(store.trajectories[0].samples[static_cast<std::size_t>(frame)].frame, frame);
  }
  EXPECT_FALSE(AppendTrajectorySample(store, 1, TrajectorySample{}, messages));
  EXPECT_FALSE(AppendTrajectorySample(store, -1, TrajectorySample{}, messages));
}

TEST(TrajectoryTable, FailedGrowthEmptiesWhatCouldNotGrow) {
  TrackStore store;
  testing::RecordingMessages messages;
  MemoryBudget budget(GrownCapacity(0) * sizeof(Trajectory) + GrownCapacity(0) * sizeof(TrajectorySample));
  ASSERT_EQ(AddTrajectory(store, TrajectoryHeader{}, messages, budget), 0);
  for (std::size_t n = 0; n < GrownCapacity(0); ++n) {
    ASSERT_TRUE(AppendTrajectorySample(store, 0, TrajectorySample{}, messages, budget));
  }
  EXPECT_FALSE(AppendTrajectorySample(store, 0, TrajectorySample{}, messages, budget));
  EXPECT_EQ(store.trajectories[0].sampleCount(), 0);
  EXPECT_EQ(store.trajectories[0].samples.capacity(), 0u);

  ASSERT_TRUE(AppendTrajectorySample(store, 0, TrajectorySample{}, messages));
  MemoryBudget none(0);
  for (std::size_t n = 1; n < GrownCapacity(0); ++n) {
    ASSERT_EQ(AddTrajectory(store, TrajectoryHeader{}, messages), static_cast<std::int32_t>(n));
    ASSERT_TRUE(AppendTrajectorySample(store, static_cast<std::int32_t>(n), TrajectorySample{}, messages));
  }
  EXPECT_EQ(AddTrajectory(store, TrajectoryHeader{}, messages, none), -1);
  EXPECT_EQ(store.trajectoryCount(), 0);
  EXPECT_EQ(store.trajectories.capacity(), 0u);
  const UserMessage growth{"Failed in allocating memory for TRAJ data.", "Error"};
  EXPECT_EQ(messages.shown, (std::vector<UserMessage>{growth, growth}));
}

}  // namespace
}  // namespace ostrel
