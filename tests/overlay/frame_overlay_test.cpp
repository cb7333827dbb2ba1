#include "overlay/frame_overlay.h"

#include <gtest/gtest.h>

#include <string>

#include "overlay/live_overlay.h"
#include "overlay/snapshot_drawing.h"
#include "overlay/yuv_colour_coder.h"
#include "tests/overlay/overlay_fixture.h"
#include "tests/overlay/yuv_picture_fixture.h"

namespace ostrel {
namespace {

using testing::BoxCorners;
using testing::OwnedYuvPicture;
using testing::PointAt;
using testing::SampleAtPixel;
using testing::StoreBuilder;
using testing::YuvLayout;

constexpr int kWidth = 160;
constexpr int kHeight = 120;
const VideoRect kRect{0, 0, kWidth, kHeight};

// Two frames: a point and a trajectory with a short trail, then both moved on.
TrackStore TwoFrames(std::int32_t current) {
  StoreBuilder builder(2);
  std::vector<TrajectorySample> samples;
  for (int i = 0; i < 6; ++i) {
    const int x = 30 + 9 * i;
    samples.push_back(SampleAtPixel(kRect, x, 60 + i, BoxCorners(x - 6, 50 + i, x + 6, 70 + i)));
  }
  const std::int32_t trajectory = builder.Trajectory(0, samples);
  builder.Points(0, {PointAt(kRect, 100, 30), PointAt(kRect, 33, 61)}).Show(0, trajectory, 3);
  builder.Points(1, {PointAt(kRect, 110, 35)}).Show(1, trajectory, 5);
  return builder.Build(current);
}

void FillPicture(OwnedYuvPicture& picture) {
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      picture.Y(x, y) = static_cast<std::uint8_t>(60 + x / 2 + y / 3);
      picture.U(x, y) = static_cast<std::uint8_t>(110 + x / 8);
      picture.V(x, y) = static_cast<std::uint8_t>(140 - y / 8);
    }
  }
}

// The viewer's drawing of a frame on a layer of its own: the live mask after one redraw,
// or the snapshot's strokes on a transparent layer.
QImage ViewerLayer(OverlayStyle style, const TrackStore& store, bool inSync) {
  auto overlay = CreateOverlayResources(QSize(kWidth, kHeight));
  if (style == OverlayStyle::Live) {
    RedrawOverlays(*overlay, {store, kRect}, inSync);
    return Surface(*overlay);
  }
  QImage layer(kWidth, kHeight, QImage::Format_ARGB32);
  layer.fill(Qt::transparent);
  DrawSnapshotOverlay(layer, {store, kRect}, overlay->pens);
  return layer;
}

// Every pixel the viewer's layer paints gets the luma of the colour the viewer would show
// there; every other keeps its luma as decoded.
void ExpectLumaAsTheViewerShowsIt(OverlayStyle style, const TrackStore& store, bool inSync, OwnedYuvPicture& drawn) {
  OwnedYuvPicture original(kWidth, kHeight, YuvLayout::Planar420);
  FillPicture(original);
  const QImage layer = ViewerLayer(style, store, inSync);
  const YuvColourCoder coder(drawn.view().coding);
  int painted = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const QRgb mark = layer.pixel(x, y);
      const bool paints = style == OverlayStyle::Live ? (mark & 0xFFFFFFu) != 0 : qAlpha(mark) != 0;
      const std::uint32_t before = coder.ToRgb(original.Y(x, y), original.U(x, y), original.V(x, y));
      const std::uint32_t shown = style == OverlayStyle::Live ? before ^ (mark & 0xFFFFFFu) : mark & 0xFFFFFFu;
      ASSERT_EQ(drawn.Y(x, y), paints ? coder.Luma(shown) : original.Y(x, y)) << "pixel " << x << "," << y;
      painted += paints ? 1 : 0;
    }
  }
  // The frame's discs, and in sync its trail and box, are all there.
  EXPECT_GT(painted, style == OverlayStyle::Live && !inSync ? 30 : 100);
}

TEST(FrameOverlay, DrawsIntoTheDecodedPictureWhatTheViewerDraws) {
  struct Step {
    std::int32_t slot;
    bool inSync;
  };
  for (OverlayStyle style : {OverlayStyle::Live, OverlayStyle::Snapshot}) {
    SCOPED_TRACE(style == OverlayStyle::Live ? "live" : "snapshot");
    FrameOverlay overlay(style, QSize(kWidth, kHeight));
    // Frames in playback order, each a fresh decoded picture: the live look takes the
    // previous frame's drawing away from its mask, so only the current frame shows, and
    // out of sync its trajectories go while its points stay.
    for (const Step step : {Step{0, true}, Step{1, true}, Step{1, false}, Step{0, true}}) {
      SCOPED_TRACE("slot " + std::to_string(step.slot) + (step.inSync ? " in sync" : " out of sync"));
      const TrackStore store = TwoFrames(step.slot);
      OwnedYuvPicture picture(kWidth, kHeight, YuvLayout::Planar420);
      FillPicture(picture);
      overlay.Draw(picture.view(), store, step.inSync);
      ExpectLumaAsTheViewerShowsIt(style, store, step.inSync || style == OverlayStyle::Snapshot, picture);
    }
  }
}

}  // namespace
}  // namespace ostrel
