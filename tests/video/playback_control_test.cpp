#include <gtest/gtest.h>

#include "tests/video/playback_fixture.h"
#include "track/frame_lookup.h"
#include "video/open_video_messages.h"
#include "video/playback_clock.h"
#include "video/playback_control.h"

namespace ostrel::testing {
namespace {

constexpr ReferenceTime kUnitsPerSecond = 10'000'000;

struct TimeCase {
  ReferenceTime position;
  ClockMs startMs;
  ClockMs videoTime;
};

TEST(PositionToVideoTimeTest, WholeMillisecondsPlusTheStart) {
  const TimeCase cases[] = {
      {123'456'789, 36'000'000, 36'012'345},  // 0.6789 ms dropped
      {9'999, 36'000'000, 36'000'000},        // under 1 ms
      {0, -5'000, -5'000},
      {129'999, 0, 12},
      {-9'999, 7, 7},            // truncated toward zero, not down
      {-10'000, 7, 6},
      {600'000'000, 2'147'483'000, -2'147'424'296},  // the sum wraps in 32 bits
  };
  for (const TimeCase& c : cases) {
    EXPECT_EQ(PositionToVideoTime(c.position, ClockOffset{c.startMs, 0}), c.videoTime)
        << c.position << " + " << c.startMs;
  }
}

TEST(ShowPlaybackPercentTest, TruncatedPercentOfTheStopAndNothingForAStopOfZero) {
  CallLog log;
  ScriptedUi ui(log);
  ShowPlaybackPercent(ui, 5 * kUnitsPerSecond, 0);
  EXPECT_TRUE(log.empty());
  ShowPlaybackPercent(ui, 599'999'999, 600'000'000);
  ShowPlaybackPercent(ui, 300'000'000, 600'000'000);
  ShowPlaybackPercent(ui, 600'000'000, 600'000'000);
  EXPECT_EQ(log, (CallLog{"SetTrackbarPosition 99", "SetTrackbarPosition 50", "SetTrackbarPosition 100"}));
}

class PlaybackControlTest : public PlaybackTest {
 protected:
  // One frame a second for a minute.
  void OpenMinute() {
    std::vector<ClockMs> clocks;
    for (ClockMs ms = 0; ms < 60'000; ms += 1000) clocks.push_back(ms);
    OpenQuietly(Camera(clocks));
  }
};

TEST_F(PlaybackControlTest, ATickWhileRunningMovesTrackbarFrameAndOverlays) {
  OpenMinute();
  Graph().position = 150'000'000;  // 15 s
  PlaybackTick(state, ui);
  EXPECT_EQ(ui.trackbar, 25);
  EXPECT_EQ(state.trackStore.CurrentSlot, 15);
  EXPECT_EQ(ui.redraws, std::vector<bool>{true});
  Graph().position = 304'000'000;  // 30.4 s: the frame at 30 s is 400 ms away
  PlaybackTick(state, ui);
  EXPECT_EQ(state.trackStore.CurrentSlot, 30);
  EXPECT_EQ(ui.redraws, (std::vector<bool>{true, true}));
}

TEST_F(PlaybackControlTest, TrajectoriesAreDrawnOnlyWithinSyncTolerance) {
  struct SyncCase {
    const char* name;
    std::vector<ClockMs> frames;  // relative to the video's start
    ReferenceTime position;
    bool inSync;
  };
  const SyncCase cases[] = {
      {"999 ms after the frame", {0, 10'000}, 9'990'000, true},
      {"1000 ms after the frame", {0, 10'000}, 10'000'000, false},
      {"999 ms before the first frame", {999}, 0, true},
      {"1000 ms before the first frame", {1000}, 0, false},
  };
  for (const SyncCase& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    OpenQuietly(Camera(c.frames));
    Graph().position = c.position;
    PlaybackTick(state, ui);
    EXPECT_EQ(ui.redraws, std::vector<bool>{c.inSync});
  }
}

TEST_F(PlaybackControlTest, WithoutACurrentFrameTheClockCountsFromZero) {
  OpenQuietly(Camera({0}, /*points=*/false, /*trajectories=*/false));
  ASSERT_EQ(state.trackStore.CurrentSlot, -1);
  for (const auto& [startMs, inSync] : {std::pair{999, true}, std::pair{1000, false}, std::pair{-999, true}}) {
    ui.redraws.clear();
    state.clockOffset.startMs = startMs;
    PlaybackTick(state, ui);
    EXPECT_EQ(ui.redraws, std::vector<bool>{inSync}) << startMs;
  }
}

TEST_F(PlaybackControlTest, NothingTicksWhileTheGraphIsNotRunning) {
  OpenMinute();
  StopPlayback(state);
  log.clear();
  Graph().position = 150'000'000;
  PlaybackTick(state, ui);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(state.trackStore.CurrentSlot, 0);
  StartPlayback(state);
  EXPECT_EQ(log, CallLog{"g1.Run"});
  EXPECT_EQ(ui.trackbar, 0) << "play touches neither trackbar nor frame";
  EXPECT_EQ(state.trackStore.CurrentSlot, 0);
}

TEST_F(PlaybackControlTest, AStopPositionOfZeroNeverMovesTheTrackbarNorSeeks) {
  OpenMinute();
  Graph().stopPosition = 0;
  Graph().position = 150'000'000;
  ui.trackbar = 40;
  PlaybackTick(state, ui);
  SeekFromTrackbar(state, ui);
  EXPECT_EQ(ui.trackbar, 40);
  EXPECT_EQ(log, CallLog{"RedrawOverlays 1"});
}

TEST_F(PlaybackControlTest, ATrackbarSeekGoesToItsPercentAndFindsTheFrameWithoutDrawing) {
  OpenMinute();
  ui.trackbar = 37;
  SeekFromTrackbar(state, ui);
  EXPECT_EQ(log, CallLog{"g1.SetPositions 222000000"});
  // VideoTime 22200 + startMs: the frame at 22 s is the nearest.
  EXPECT_EQ(state.trackStore.CurrentSlot, 22);
  EXPECT_TRUE(ui.redraws.empty());
}

TEST_F(PlaybackControlTest, SeeksAndRewindsWhileStoppedMoveTheFrameButDrawNothing) {
  OpenMinute();
  StopPlayback(state);
  ui.trackbar = 50;
  SeekFromTrackbar(state, ui);
  EXPECT_EQ(state.trackStore.CurrentSlot, 30);
  RewindToStart(state);
  EXPECT_EQ(state.trackStore.CurrentSlot, 0);
  EXPECT_EQ(Graph().position, 0);
  EXPECT_EQ(Graph().state, GraphState::Paused);
  EXPECT_TRUE(ui.redraws.empty());
  EXPECT_EQ(ui.trackbar, 50) << "the trackbar waits for the next tick";
}

TEST_F(PlaybackControlTest, OneNotificationDrainsEveryEventAndEachEndRewinds) {
  OpenMinute();
  Graph().position = 590'000'000;
  FindFrameForTime(state.trackStore, kVideoStartMs + 59'000);
  ui.trackbar = 98;
  Graph().events = {{kEventComplete, {}}, {2, {}}, {kEventComplete, {}}};
  DrainGraphEvents(state, ui);
  EXPECT_EQ(Graph().eventsRead, 3);
  EXPECT_EQ(log, (CallLog{"g1.SetPositions 0", "g1.SetPositions 0"}));
  EXPECT_EQ(state.trackStore.CurrentSlot, 0);
  EXPECT_EQ(Graph().state, GraphState::Running) << "the video loops";
  EXPECT_EQ(ui.trackbar, 98);
  EXPECT_TRUE(ui.redraws.empty());
}

TEST_F(PlaybackControlTest, APlaybackErrorIsToldOnceAndStopsTheVideo) {
  OpenMinute();
  Graph().events = {{kEventErrorAbort, "decoder broke"}, {kEventErrorAbort, "again"}};
  DrainGraphEvents(state, ui);
  Graph().events = {{kEventErrorAbort, "and again"}};
  DrainGraphEvents(state, ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, std::string(kRunFailedText) + "\ndecoder broke");
  EXPECT_EQ(ui.messages[0].caption, kGraphErrorCaption);
  EXPECT_EQ(Graph().state, GraphState::Paused);
  EXPECT_EQ(Graph().eventsRead, 3);
}

TEST_F(PlaybackControlTest, AResyncSearchesAndRedrawsAtOnceAlsoWhileStopped) {
  OpenMinute();
  StopPlayback(state);
  Graph().position = 450'000'000;
  state.clockOffset.startMs = kVideoStartMs - 10'000;
  ResyncAfterOffsetChange(state, ui);
  EXPECT_EQ(ui.trackbar, 75);
  EXPECT_EQ(state.trackStore.CurrentSlot, 35);
  EXPECT_EQ(ui.redraws, std::vector<bool>{true});
}

TEST_F(PlaybackControlTest, FrameTimeIsTheSignedVideoTimeInABoxWithoutOwner) {
  OpenMinute();
  Graph().position = 123'456'789;
  state.clockOffset.startMs = -36'000'000;
  ShowFrameTime(state, ui);
  EXPECT_EQ(ui.messages, (std::vector<UserMessage>{{"-35987655", "Frame time in millisec", MessageOwner::None}}));
  EXPECT_EQ(ui.trackbar, 20);
  EXPECT_TRUE(ui.redraws.empty());
}

TEST_F(PlaybackControlTest, WithoutAnOpenVideoNothingActs) {
  // The graph made at start-up, which no Open has taken into use.
  ui.trackbar = 50;
  StartPlayback(state);
  StopPlayback(state);
  RewindToStart(state);
  SeekFromTrackbar(state, ui);
  PlaybackTick(state, ui);
  DrainGraphEvents(state, ui);
  ResyncAfterOffsetChange(state, ui);
  ShowFrameTime(state, ui);
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.trackbar, 50);
}

TEST_F(PlaybackControlTest, UnreadablePositionsSkipTheTickResyncAndFrameTime) {
  OpenMinute();
  Graph().positionsSucceed = false;
  PlaybackTick(state, ui);
  ResyncAfterOffsetChange(state, ui);
  ShowFrameTime(state, ui);
  ui.trackbar = 10;
  SeekFromTrackbar(state, ui);
  EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace ostrel::testing
