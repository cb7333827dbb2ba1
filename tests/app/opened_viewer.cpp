#include "tests/app/opened_viewer.h"

#include <QTest>
#include <cmath>

#include "app/video_view.h"
#include "app/viewer_handlers.h"
#include "tests/support/point_file_writer.h"
#include "tests/support/test_videos.h"
#include "tests/support/time_log_writer.h"
#include "tests/support/trajectory_file_writer.h"
#include "video/media_graph.h"
#include "video/media_services.h"

namespace ostrel::testing {

TrajectoryRecord OpenedViewerTest::TrajectoryFor(std::int32_t trajectory) {
  TrajectoryRecord record;
  record.id = trajectory + 1;
  record.param3 = 0.9;
  // A raw frame 0 starts a new segment, so the second trajectory is picked up a frame later.
  for (std::int32_t frame = trajectory; frame < kFrames; ++frame) {
    const auto [left, bottom, right, top] = BoxOf(trajectory, frame);
    TrajectorySampleLine sample;
    sample.frame = frame;
    sample.clockMs = kStartMs + frame * kFrameMs;
    sample.corners = {TrackPoint{left, bottom}, TrackPoint{right, bottom}, TrackPoint{right, top},
                      TrackPoint{left, top}};
    sample.score = 0.9;
    record.samples.push_back(sample);
  }
  return record;
}

std::vector<TrackPoint> OpenedViewerTest::PointsOf(std::int32_t frame) {
  return {TrackPoint{0.2 + 0.01 * frame, 0.6}, TrackPoint{0.7, 0.3}};
}

std::array<double, 4> OpenedViewerTest::BoxOf(std::int32_t trajectory, std::int32_t frame) {
  if (trajectory == 0) {
    const double x = PointsOf(frame)[0].x;
    return {x - 0.08, 0.52, x + 0.08, 0.68};
  }
  return {-0.05, 0.2, 0.2, 0.4};
}

void OpenedViewerTest::SetUp() {
  ASSERT_TRUE(InitializeMediaServices());
  video_ = folder_.File("clip01.avi");
  WriteTestVideo(video_, TestVideoSpec{160, 120, kFrames, 25});
  WriteTimeLog(folder_.File("clip.log"), {VideoLine{"clip01", LogTime{10, 0, 0, 0}}});
  std::vector<PointRecord> records;
  for (std::int32_t frame = 0; frame < kFrames; ++frame) {
    records.emplace_back(frame, kStartMs + frame * kFrameMs, PointsOf(frame));
  }
  WritePointFile(folder_.File("clip01.lpa"), records);
  WriteTrajectoryFile(folder_.File("clip01.traj"),
                      {TrajectoryFor(0), TrajectoryFor(1)});
  window_ = std::make_unique<MainWindow>(CreateMediaGraph(), messages_, [this](MainWindow& window) {
    return MakeViewerHandlers(window, [this](const std::string&) { return std::optional<std::string>(video_); });
  });
  window_->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
}

void OpenedViewerTest::OpenAndHold() {
  window_->DispatchCommand(12);
  ASSERT_TRUE(messages_.shown.empty()) << messages_.shown.front().text;
  ASSERT_TRUE(QTest::qWaitFor([this] { return window_->videoView().isVisible(); }, 5000));
  // A tick with a current frame that both trajectories reach has drawn the overlay; the
  // video is stopped well before its end, so it does not start again meanwhile.
  ASSERT_TRUE(QTest::qWaitFor(
      [this] { return !PointLayer(*State().overlay).isNull() && Slot() >= 2 && Slot() < kFrames - 8; }, 5000));
  window_->DispatchCommand(1001);
  ASSERT_TRUE(QTest::qWaitFor([this] { return State().graph->GetState() != GraphState::Running; }, 3000));
  // A tick already under way has passed; a stopped video's ticks draw nothing.
  QTest::qWait(3 * MainWindow::kPlaybackTimerMs);
  ASSERT_GE(Slot(), 2);
  ASSERT_LT(Slot(), kFrames);
}

QPoint OpenedViewerTest::OnScreen(double x, double y) {
  const VideoRect& picture = State().videoRect;
  const auto round = [](double value) { return static_cast<int>(value > 0 ? value + 0.5 : value - 0.5); };
  return {round(picture.width * x) + picture.left, round((1 - y) * picture.height) + picture.top};
}

QRgb OpenedViewerTest::MaskAt(QPoint at) { return Surface(*State().overlay).pixel(at) & 0xFFFFFFu; }

QImage OpenedViewerTest::PaintedClientArea() {
  return window_->clientArea().grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace ostrel::testing
