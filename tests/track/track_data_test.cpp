#include "track/track_data.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/track/trajectory_fixture.h"

namespace ostrel {
namespace {

using testing::SampleAt;
using testing::StoredFrames;
using testing::TrajectoryFixture;
using testing::TrajectoryOf;
using Frames = std::vector<std::vector<std::int32_t>>;

class TrackDataTest : public ::testing::Test, public TrajectoryFixture {
 protected:
  // Something of an earlier video, which every load must replace.
  void FillWithEarlierVideo() {
    store.pointFrames.resize(3);
    store.trajectories.resize(2);
    store.frameTrajectoryList.resize(4);
    store.slotCount = 7;
    store.CurrentSlot = 5;
  }
};

TEST_F(TrackDataTest, LoadsPointsThenTrajectories) {
  Write({TrajectoryOf(1, {SampleAt(20), SampleAt(21)})});
  FillWithEarlierVideo();
  TrackDataReport report;
  ASSERT_TRUE(LoadTrackData(store, Video(), messages, {}, &report));
  EXPECT_EQ(store.pointFrameCount(), 2);
  EXPECT_EQ(store.firstFrame, 10);
  EXPECT_EQ(store.slotCount, 50);
  EXPECT_EQ(store.CurrentSlot, -1);
  EXPECT_EQ(StoredFrames(store), (Frames{{20, 21}}));
  EXPECT_EQ(store.frameTrajectoryList.size(), 2u);
  EXPECT_EQ(store.frameTrajectoryIndex[11], (FrameTrajectoryIndex{1, 1}));
  EXPECT_EQ(report.points.path, folder.File("clip.lpa"));
  EXPECT_EQ(report.trajectories.path, TrajectoryPath());
  EXPECT_EQ(report.trajectories.samplesStored, 2u);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TrackDataTest, FailedPointFileMeansTheTrajectoryFileIsNotRead) {
  struct Case {
    const char* name;
    bool trajectoryFileExists;
  };
  for (const Case c : {Case{"trajectory file present", true}, Case{"trajectory file missing", false}}) {
    SCOPED_TRACE(c.name);
    TrajectoryFixture fixture;
    std::filesystem::remove(fixture.folder.File("clip.lpa"));
    if (c.trajectoryFileExists) fixture.Write({TrajectoryOf(1, {SampleAt(20)})});
    TrackDataReport report;
    report.trajectories.headerLines = 99;
    EXPECT_FALSE(LoadTrackData(fixture.store, fixture.Video(), fixture.messages, {}, &report));
    EXPECT_EQ(fixture.messages.shown,
              (std::vector<UserMessage>{{"File open failed.", fixture.folder.File("clip.lpa")}}));
    EXPECT_EQ(fixture.store.trajectoryCount(), 0);
    EXPECT_EQ(report.trajectories.headerLines, 99u);  // untouched: never read
  }
}

TEST_F(TrackDataTest, FailedPointFileLeavesNoEarlierData) {
  std::filesystem::remove(folder.File("clip.lpa"));
  FillWithEarlierVideo();
  EXPECT_FALSE(LoadTrackData(store, Video(), messages));
  EXPECT_TRUE(store.pointFrames.empty());
  EXPECT_TRUE(store.trajectories.empty());
  EXPECT_TRUE(store.frameTrajectoryList.empty());
  EXPECT_EQ(store.slotCount, 0);
  EXPECT_EQ(store.CurrentSlot, -1);
}

TEST_F(TrackDataTest, MissingTrajectoryFileFailsButKeepsThePoints) {
  EXPECT_FALSE(LoadTrackData(store, Video(), messages));
  EXPECT_EQ(messages.shown, (std::vector<UserMessage>{{"File open failed.", TrajectoryPath()}}));
  EXPECT_EQ(store.pointFrameCount(), 2);
  EXPECT_EQ(store.slotCount, 50);
  EXPECT_EQ(store.frameTrajectoryIndex.size(), 50u);
}

TEST_F(TrackDataTest, LimitsReachEachFile) {
  Write({TrajectoryOf(1, {SampleAt(20)})});
  TrackDataLimits pointsStarved;
  pointsStarved.points.memoryBudgetBytes = 0;
  EXPECT_FALSE(LoadTrackData(store, Video(), messages, pointsStarved));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].caption, folder.File("clip.lpa"));

  messages.shown.clear();
  TrackDataLimits trajectoriesStarved;
  trajectoriesStarved.trajectories.memoryBudgetBytes = 0;
  EXPECT_FALSE(LoadTrackData(store, Video(), messages, trajectoriesStarved));
  EXPECT_EQ(messages.shown, (std::vector<UserMessage>{{"Failed in allocating memory for TRAJ data.", "Error"},
                                                      {"Load trajectories failed.", TrajectoryPath()}}));
  EXPECT_EQ(store.pointFrameCount(), 2);
}

}  // namespace
}  // namespace ostrel
