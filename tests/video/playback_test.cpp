#include <gtest/gtest.h>

#include "tests/video/media_graph_test_peer.h"
#include "tests/video/video_fixture.h"

namespace ostrel::testing {
namespace {

// Wide enough that the box's position names each of the 25 frames of a second.
constexpr TestVideoSpec kSecondOfVideo{.width = 480, .height = 64, .frameCount = 25, .frameRate = 25};
constexpr ReferenceTime kFrameTime = kReferenceUnitsPerSecond / 25;

// The middle of frame `frame`'s time on screen: containers round frame stamps (MPEG to a
// 90 kHz clock), so only a time inside a frame names it for certain.
constexpr ReferenceTime FrameMiddle(std::int32_t frame) { return frame * kFrameTime + kFrameTime / 2; }

ReferenceTime Position(const MediaGraph& graph) {
  ReferenceTime current = -1;
  ReferenceTime stop = -1;
  EXPECT_TRUE(graph.GetPositions(current, stop));
  return current;
}

ReferenceTime StopPosition(const MediaGraph& graph) {
  ReferenceTime current = -1;
  ReferenceTime stop = -1;
  EXPECT_TRUE(graph.GetPositions(current, stop));
  return stop;
}

// The frame number the graph's current display frame shows.
std::int32_t DisplayedFrame(const MediaGraph& graph) {
  const QImage& image = graph.CurrentFrame();
  const auto pixel = [&image](std::int32_t x, std::int32_t y) {
    const QRgb rgb = image.pixel(x, y);
    return std::tuple{static_cast<std::uint8_t>(qBlue(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
                      static_cast<std::uint8_t>(qRed(rgb))};
  };
  return FrameShown(pixel, image.width(), image.height());
}

TEST_F(VideoTest, RunPlaysAndStopKeepsPositionAndPicture) {
  auto graph = Graph();
  ASSERT_TRUE(graph);
  auto counts = CountSignals(*graph);
  ASSERT_TRUE(graph->RenderFile(Video("clip", kSecondOfVideo))) << graph->RenderError();

  ASSERT_TRUE(graph->Run());
  EXPECT_EQ(graph->GetState(), GraphState::Running);
  ASSERT_TRUE(PumpUntil([&] { return Position(*graph) >= 8 * kFrameTime; }));

  ASSERT_TRUE(graph->Stop());
  EXPECT_NE(graph->GetState(), GraphState::Running);
  PumpFor(std::chrono::milliseconds(40));  // whatever was already on its way arrives
  const ReferenceTime stoppedAt = Position(*graph);
  const int framesAtStop = counts->frames;
  const std::int32_t pictureAtStop = DisplayedFrame(*graph);
  EXPECT_GE(pictureAtStop, 8);

  PumpFor(std::chrono::milliseconds(250));
  EXPECT_EQ(Position(*graph), stoppedAt);
  EXPECT_EQ(counts->frames, framesAtStop);
  EXPECT_EQ(DisplayedFrame(*graph), pictureAtStop);
  EXPECT_EQ(graph->GetState(), GraphState::Paused);
  EXPECT_LT(stoppedAt, StopPosition(*graph));
}

TEST_F(VideoTest, SeekMovesThePositionToTheExactFrameAndKeepsTheStopPosition) {
  auto graph = Graph();
  ASSERT_TRUE(graph);
  auto counts = CountSignals(*graph);
  ASSERT_TRUE(graph->RenderFile(Video("clip", kSecondOfVideo))) << graph->RenderError();
  const ReferenceTime stop = StopPosition(*graph);
  ASSERT_GT(stop, 0);
  ASSERT_TRUE(PumpUntil([&] { return counts->frames == 1; }));  // the first frame, before seeking

  for (const std::int32_t frame : {15, 3, 21}) {
    const int framesBefore = counts->frames;
    ASSERT_TRUE(graph->SetPositions(FrameMiddle(frame)));
    ASSERT_TRUE(PumpUntil([&] { return counts->frames > framesBefore; })) << "frame " << frame;
    EXPECT_EQ(DisplayedFrame(*graph), frame);
    EXPECT_NEAR(static_cast<double>(Position(*graph)), static_cast<double>(FrameMiddle(frame)),
                static_cast<double>(kFrameTime) / 2);
    EXPECT_EQ(StopPosition(*graph), stop);
    EXPECT_EQ(graph->GetState(), GraphState::Paused) << "a seek does not start playback";
  }
}

TEST_F(VideoTest, SeeksOutsideTheVideoAreClampedToIt) {
  auto graph = Graph();
  ASSERT_TRUE(graph);
  auto counts = CountSignals(*graph);
  ASSERT_TRUE(graph->RenderFile(Video("clip", kSecondOfVideo))) << graph->RenderError();
  const ReferenceTime stop = StopPosition(*graph);
  ASSERT_TRUE(PumpUntil([&] { return counts->frames == 1; }));

  ASSERT_TRUE(graph->SetPositions(FrameMiddle(10)));
  ASSERT_TRUE(PumpUntil([&] { return DisplayedFrame(*graph) == 10; }));
  ASSERT_TRUE(graph->SetPositions(-5 * kReferenceUnitsPerSecond));
  ASSERT_TRUE(PumpUntil([&] { return DisplayedFrame(*graph) == 0; }));
  EXPECT_EQ(Position(*graph), 0);

  ASSERT_TRUE(graph->SetPositions(stop * 3));
  PumpFor(std::chrono::milliseconds(100));
  EXPECT_LE(Position(*graph), stop);
  EXPECT_EQ(StopPosition(*graph), stop);
}

TEST_F(VideoTest, EndOfStreamArrivesOnceAsCompleteAndRewindingPlaysAgain) {
  auto graph = Graph();
  ASSERT_TRUE(graph);
  auto counts = CountSignals(*graph);
  const TestVideoSpec spec{.frameCount = 5, .frameRate = 25, .withSound = true};
  ASSERT_TRUE(graph->RenderFile(Video("short", spec))) << graph->RenderError();
  EXPECT_FALSE(graph->GetEvent().has_value());

  for (int round = 0; round < 2; ++round) {
    const int noticesBefore = counts->notices;
    ASSERT_TRUE(graph->Run());
    ASSERT_TRUE(PumpUntil([&] { return counts->notices > noticesBefore; })) << "round " << round;
    const std::optional<GraphEvent> event = graph->GetEvent();
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->code, kEventComplete);
    EXPECT_EQ(event->code, 1);
    EXPECT_FALSE(graph->GetEvent().has_value()) << "one end, one event";
    EXPECT_EQ(graph->GetState(), GraphState::Running) << "the end does not stop the graph";
    ASSERT_TRUE(graph->SetPositions(0));  // the viewer loops its videos this way
  }
}

TEST_F(VideoTest, AnErrorDuringPlaybackArrivesOnceAsAnEventWithItsText) {
  auto graph = Graph();
  ASSERT_TRUE(graph);
  auto counts = CountSignals(*graph);
  ASSERT_TRUE(graph->RenderFile(Video("clip", TestVideoSpec{.frameCount = 50, .withSound = true})));
  ASSERT_TRUE(graph->Run());
  PumpFor(std::chrono::milliseconds(50));

  // As when the display or the disk fails: the sink and then a second element complain.
  MediaGraphTestPeer::PostElementError(*graph, "the picture cannot be shown");
  MediaGraphTestPeer::PostElementError(*graph, "the same failure, seen again");
  ASSERT_TRUE(PumpUntil([&] { return counts->notices > 0; }));

  std::vector<GraphEvent> events;
  while (auto event = graph->GetEvent()) events.push_back(*event);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0], (GraphEvent{kEventErrorAbort, "the picture cannot be shown"}));
  EXPECT_TRUE(graph->Stop());  // what the viewer does once it has told the user
  EXPECT_NE(graph->GetState(), GraphState::Running);

  ASSERT_TRUE(graph->RenderFile(Video("next", TestVideoSpec{})));  // a new file may fail anew
  MediaGraphTestPeer::PostElementError(*graph, "again");
  ASSERT_TRUE(PumpUntil([&] { return graph->GetEvent().has_value(); }));
}

TEST_F(VideoTest, DestroyingAPlayingGraphKeepsItsLastFrameUsable) {
  auto graph = Graph();
  ASSERT_TRUE(graph);
  ASSERT_TRUE(graph->RenderFile(Video("clip", TestVideoSpec{.frameCount = 50, .withSound = true})));
  ASSERT_TRUE(graph->Run());
  PumpFor(std::chrono::milliseconds(100));
  const QImage lastFrame = graph->CurrentFrame();  // outlives the graph
  graph.reset();
  EXPECT_FALSE(lastFrame.isNull());
  EXPECT_EQ(lastFrame.width(), 160);
  PumpFor(std::chrono::milliseconds(20));  // notices queued to the graph are dropped with it
}

}  // namespace
}  // namespace ostrel::testing
