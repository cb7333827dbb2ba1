#include <gtest/gtest.h>

#include <QThread>

#include "tests/video/video_fixture.h"
#include "video/graph_event_queue.h"
#include "video/latest_frame_slot.h"

namespace ostrel::testing {
namespace {

GstSamplePtr SampleOfNewBuffer() {
  GstBuffer* buffer = gst_buffer_new_allocate(nullptr, 16, nullptr);
  GstSamplePtr sample(gst_sample_new(buffer, nullptr, nullptr, nullptr));
  gst_buffer_unref(buffer);
  return sample;
}

TEST(LatestFrameSlotTest, KeepsOnlyTheNewestFrameAndOneNotice) {
  LatestFrameSlot slot;
  const GstSamplePtr first = SampleOfNewBuffer();
  const GstSamplePtr second = SampleOfNewBuffer();
  const GstSamplePtr third = SampleOfNewBuffer();

  EXPECT_TRUE(slot.Put(ShareSample(first))) << "the first frame is announced";
  EXPECT_FALSE(slot.Put(ShareSample(second))) << "a notice is already on its way";
  EXPECT_FALSE(slot.Put(ShareSample(third)));
  EXPECT_EQ(slot.Take().get(), third.get());
  EXPECT_EQ(slot.Take(), nullptr) << "taken already";
  EXPECT_EQ(slot.Peek().get(), third.get()) << "the grabber still sees it";

  EXPECT_TRUE(slot.Put(ShareSample(first))) << "after the take, the next frame is announced";
  const FrameHandOverStats stats = slot.Stats();
  EXPECT_EQ(stats.arrived, 4u);
  EXPECT_EQ(stats.taken, 1u);
  EXPECT_EQ(stats.overtaken, 2u);

  slot.Clear();
  EXPECT_EQ(slot.Take(), nullptr);
  EXPECT_EQ(slot.Peek(), nullptr);
  EXPECT_TRUE(slot.Put(ShareSample(second))) << "clearing forgets the pending notice";
}

TEST(LatestFrameSlotTest, TheSameFrameHandedOverTwiceIsNotALoss) {
  LatestFrameSlot slot;
  const GstSamplePtr frame = SampleOfNewBuffer();
  GstSamplePtr again(gst_sample_new(gst_sample_get_buffer(frame.get()), nullptr, nullptr, nullptr));
  slot.Put(ShareSample(frame));
  slot.Put(std::move(again));
  EXPECT_EQ(slot.Stats().arrived, 1u);
  EXPECT_EQ(slot.Stats().overtaken, 0u);
}

TEST(GraphEventQueueTest, PopsInOrderWithoutWaitingAndNotifiesOncePerBatch) {
  GraphEventQueue queue;
  EXPECT_FALSE(queue.Pop().has_value());
  EXPECT_TRUE(queue.Push({kEventComplete, {}}));
  EXPECT_FALSE(queue.Push({kEventErrorAbort, "broken"}));
  queue.NoticeTaken();
  EXPECT_EQ(queue.Pop(), (GraphEvent{kEventComplete, {}}));
  EXPECT_TRUE(queue.Push({kEventComplete, {}})) << "a push after the notice was taken notifies again";
  EXPECT_EQ(queue.Pop(), (GraphEvent{kEventErrorAbort, "broken"}));
  EXPECT_EQ(queue.Pop(), (GraphEvent{kEventComplete, {}}));
  EXPECT_FALSE(queue.Pop().has_value());
}

// The UI thread is busy for most of a playing second: when it returns it is told once and
// shows the newest frame, not the backlog.
TEST_F(VideoTest, ASlowUiThreadGetsOneNoticeAndTheNewestFrame) {
  const TestVideoSpec spec{.width = 480, .height = 64, .frameCount = 25, .frameRate = 25};
  auto graph = Graph();
  ASSERT_TRUE(graph);
  auto counts = CountSignals(*graph);
  ASSERT_TRUE(graph->RenderFile(Video("clip", spec))) << graph->RenderError();
  ASSERT_TRUE(PumpUntil([&] { return counts->frames == 1; }));  // the first frame

  ASSERT_TRUE(graph->Run());
  QThread::msleep(600);  // busy: no events are handled
  QCoreApplication::processEvents();
  EXPECT_EQ(counts->frames, 2) << "frames that arrived meanwhile left exactly one notice";

  const QImage& shown = graph->CurrentFrame();
  const auto pixel = [&shown](std::int32_t x, std::int32_t y) {
    const QRgb rgb = shown.pixel(x, y);
    return std::tuple{static_cast<std::uint8_t>(qBlue(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
                      static_cast<std::uint8_t>(qRed(rgb))};
  };
  // About 15 frames played in 600 ms; the one shown is among the latest, not the second.
  EXPECT_GE(FrameShown(pixel, shown.width(), shown.height()), 10);
  const FrameHandOverStats stats = graph->FrameStats();
  EXPECT_GE(stats.overtaken, 8u);
  EXPECT_EQ(stats.taken, 2u);
}

TEST_F(VideoTest, FramesShownAreTheDecodedPixelsNotCopies) {
  auto graph = Graph();
  ASSERT_TRUE(graph);
  auto counts = CountSignals(*graph);
  ASSERT_TRUE(graph->RenderFile(Video("clip", TestVideoSpec{}))) << graph->RenderError();
  ASSERT_TRUE(PumpUntil([&] { return counts->frames == 1; }));
  const QImage& frame = graph->CurrentFrame();
  EXPECT_EQ(frame.format(), QImage::Format_RGB32);
  EXPECT_EQ(frame.size(), QSize(160, 120));
  const QImage copy = frame;  // shares, as a view's copy does
  EXPECT_EQ(copy.constBits(), frame.constBits());
  EXPECT_TRUE(LooksLike(static_cast<std::uint8_t>(qBlue(frame.pixel(10, 100))),
                        static_cast<std::uint8_t>(qGreen(frame.pixel(10, 100))),
                        static_cast<std::uint8_t>(qRed(frame.pixel(10, 100))), TestColour::Blue));
}

}  // namespace
}  // namespace ostrel::testing
