// The viewer's own handlers on the real main window, playing a generated video through
// GStreamer: opened by the open command, played, looped at its end, stopped and played.
#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "app/control_bar.h"
#include "app/main_window.h"
#include "app/video_view.h"
#include "app/viewer_handlers.h"
#include "tests/support/point_file_writer.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_videos.h"
#include "tests/support/time_log_writer.h"
#include "video/media_graph.h"
#include "video/media_services.h"

namespace ostrel {
namespace {

using testing::RecordingMessages;

constexpr ClockMs kStartMs = 36'000'000;
constexpr std::int32_t kFrames = 25;      // one second at 25 frames a second
constexpr std::int32_t kFrameMs = 40;

class ViewerPlaybackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InitializeMediaServices());
    video_ = folder_.File("clip01.avi");
    testing::WriteTestVideo(video_, testing::TestVideoSpec{160, 120, kFrames, 25});
    testing::WriteTimeLog(folder_.File("clip.log"), {testing::VideoLine{"clip01", testing::LogTime{10, 0, 0, 0}}});
    std::vector<testing::PointRecord> records;
    for (std::int32_t frame = 0; frame < kFrames; ++frame) {
      records.emplace_back(frame, kStartMs + frame * kFrameMs, std::vector<TrackPoint>{{0.5, 0.5}});
    }
    testing::WritePointFile(folder_.File("clip01.lpa"), records);
    window_ = std::make_unique<MainWindow>(CreateMediaGraph(), messages_, [this](MainWindow& window) {
      return MakeViewerHandlers(window, [this](const std::string& folder) {
        offered_.push_back(folder);
        return std::optional<std::string>(video_);
      });
    });
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  PlaybackState& State() { return window_->state(); }
  std::int32_t Slot() { return State().trackStore.CurrentSlot; }

  testing::TempFolder folder_;
  std::string video_;
  std::vector<std::string> offered_;
  RecordingMessages messages_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(ViewerPlaybackTest, OpensPlaysLoopsStopsAndPlaysAgain) {
  window_->DispatchCommand(12);
  ASSERT_EQ(offered_.size(), 1u);
  // Only the missing trajectory file is reported.
  ASSERT_EQ(messages_.shown.size(), 1u);
  EXPECT_EQ(State().WorkingFolder, folder_.path().string());
  EXPECT_EQ(State().clockOffset.startMs, kStartMs);
  EXPECT_TRUE(window_->controlBar().isEnabled());
  EXPECT_TRUE(window_->playbackTimer().isActive());
  EXPECT_EQ(State().videoSize, (VideoSize{160, 120}));
  // Letterboxed into the client area above the bar, at the video's aspect ratio.
  const VideoRect picture = State().videoRect;
  EXPECT_EQ(picture.width * 120, picture.height * 160);
  EXPECT_EQ(window_->videoView().geometry(), QRect(picture.left, picture.top, picture.width, picture.height));
  EXPECT_TRUE(QTest::qWaitFor([this] { return window_->videoView().isVisible(); }, 5000));

  // Ticks move the frame along with the picture, and the end of the stream starts it again.
  std::int32_t highest = 0;
  const bool looped = QTest::qWaitFor(
      [&] {
        highest = std::max(highest, Slot());
        // Past the last record the slot is -1 until the end of the stream rewinds it, so
        // only a slot found again near the start counts as having looped.
        return highest >= kFrames / 2 && Slot() >= 0 && Slot() < highest / 2;
      },
      8000);
  EXPECT_GE(highest, kFrames / 2) << "ticks did not advance the frame";
  EXPECT_TRUE(looped) << "the video did not start again after its end";
  EXPECT_EQ(messages_.shown.size(), 1u) << "looping reports nothing";

  window_->DispatchCommand(1001);
  ASSERT_TRUE(QTest::qWaitFor([this] { return State().graph->GetState() != GraphState::Running; }, 3000));
  const std::int32_t stoppedAt = Slot();
  QTest::qWait(400);
  EXPECT_EQ(Slot(), stoppedAt) << "a stopped video's ticks move nothing";

  window_->DispatchCommand(1002);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Slot() != stoppedAt; }, 3000)) << "play did not resume";

  window_->DispatchCommand(1011);
  ASSERT_EQ(messages_.shown.size(), 2u);
  EXPECT_EQ(messages_.shown[1].caption, "Frame time in millisec");
  EXPECT_EQ(messages_.shown[1].owner, MessageOwner::None);
  const long shown = std::stol(messages_.shown[1].text);
  EXPECT_GE(shown, kStartMs);
  EXPECT_LE(shown, kStartMs + 2000);

  window_->close();
  EXPECT_EQ(State().graph, nullptr) << "an open video's graph goes with the window";
  EXPECT_FALSE(window_->playbackTimer().isActive());
}

TEST_F(ViewerPlaybackTest, ASecondOpenReplacesTheFirstGraph) {
  window_->DispatchCommand(12);
  const PlaybackGraph* first = State().graph.get();
  QPointer<const PlaybackGraph> watch(first);
  window_->DispatchCommand(12);
  EXPECT_TRUE(watch.isNull()) << "the first video's graph was let go";
  EXPECT_NE(State().graph.get(), nullptr);
  EXPECT_EQ(State().graph->GetState(), GraphState::Running);
  EXPECT_TRUE(window_->controlBar().isEnabled());
}

}  // namespace
}  // namespace ostrel
