#pragma once

// The real main window with the viewer's own handlers and real GStreamer, on a generated
// 160 x 120 clip whose point and trajectory files are known here, so that tests can say
// where every point, trail and box of a frame must appear.
#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/support/trajectory_file_writer.h"

namespace ostrel::testing {

class OpenedViewerTest : public ::testing::Test {
 protected:
  static constexpr ClockMs kStartMs = 36'000'000;
  static constexpr std::int32_t kFrames = 25;
  static constexpr std::int32_t kFrameMs = 40;

  void SetUp() override;

  // The tracking data of `frame`: a point in the red quadrant that moves right frame by
  // frame, and one in the white quadrant.
  static std::vector<TrackPoint> PointsOf(std::int32_t frame);
  // The boxes of the two trajectories in `frame`, as (left, bottom, right, top) normalised:
  // one around the moving point, one reaching past the picture's left edge.
  static std::array<double, 4> BoxOf(std::int32_t trajectory, std::int32_t frame);
  // The trajectory file's record of one of the two, a sample in every frame.
  static TrajectoryRecord TrajectoryFor(std::int32_t trajectory);

  // Opens the clip through the open command, lets it play until a tick has drawn a frame's
  // overlay, and stops it, so that picture and overlay hold still.
  void OpenAndHold();

  PlaybackState& State() { return window_->state(); }
  std::int32_t Slot() { return State().trackStore.CurrentSlot; }
  // Where the picture shows a normalised point, in client-area pixels (half away from zero).
  QPoint OnScreen(double x, double y);
  // The mask's colour bits at a client-area pixel.
  QRgb MaskAt(QPoint at);
  // The client area as it is painted now, the picture and the bar included.
  QImage PaintedClientArea();

  TempFolder folder_;
  std::string video_;
  RecordingMessages messages_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace ostrel::testing
