#include "track/track_store.h"

#include <gtest/gtest.h>

namespace ostrel {
namespace {

TrackStore FilledStore() {
  TrackStore store;
  store.pointFrames = {{3, 100, 1, 0}};
  store.points = {{0.5, 0.5}};
  store.firstFrame = 3;
  store.slotCount = 1;
  store.CurrentSlot = 0;
  store.frameIndex = {0};
  store.frameTrajectoryIndex = {{0, 1}};
  store.frameTrajectoryList = {{0, 0}};
  store.trajectories.push_back({{TrajectorySample{}}, TrajectoryHeader{}});
  return store;
}

void ExpectEmpty(const TrackStore& store) {
  EXPECT_EQ(store.pointFrameCount(), 0);
  EXPECT_EQ(store.trajectoryCount(), 0);
  EXPECT_EQ(store.firstFrame, 0);
  EXPECT_EQ(store.slotCount, 0);
  EXPECT_EQ(store.CurrentSlot, -1);
  EXPECT_EQ(TrackStoreBytes(store), 0u);
}

TEST(TrackStore, ResetAndFreeLeaveTheEmptyState) {
  TrackStore fresh;
  ExpectEmpty(fresh);

  TrackStore reset = FilledStore();
  ResetTrackStore(reset);
  ExpectEmpty(reset);

  TrackStore freed = FilledStore();
  FreeTrackStore(freed);
  ExpectEmpty(freed);
  FreeTrackStore(freed);  // releasing an empty store again is harmless
  ExpectEmpty(freed);
}

TEST(TrackStore, PartialReleasesTouchOnlyTheirOwnFields) {
  TrackStore store = FilledStore();
  FreeTrajectories(store);
  EXPECT_EQ(store.trajectoryCount(), 0);
  EXPECT_EQ(store.frameTrajectoryList.size(), 1u);
  EXPECT_EQ(store.slotCount, 1);

  FreeFrameIndexes(store);
  EXPECT_TRUE(store.frameIndex.empty());
  EXPECT_TRUE(store.frameTrajectoryIndex.empty());
  EXPECT_TRUE(store.frameTrajectoryList.empty());
  EXPECT_EQ(store.slotCount, 0);
  EXPECT_EQ(store.firstFrame, 0);
  EXPECT_EQ(store.CurrentSlot, -1);
  EXPECT_EQ(store.pointFrameCount(), 1);  // point data stays until the whole store goes
}

}  // namespace
}  // namespace ostrel
