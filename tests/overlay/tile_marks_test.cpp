#include "overlay/tile_marks.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <random>
#include <vector>

#include "overlay/live_overlay.h"
#include "overlay/overlay_mask.h"
#include "overlay/overlay_show.h"
#include "tests/overlay/overlay_fixture.h"

namespace ostrel {
namespace {

std::vector<QRect> Runs(const TileMarks& marks, const QRect& area) {
  std::vector<QRect> runs;
  marks.ForEachRun(area, [&runs](const QRect& run) { runs.push_back(run); });
  return runs;
}

TEST(TileMarks, RunsJoinNeighbouringTilesAndStayInsideTheAreaAndThePicture) {
  TileMarks marks(QSize(21, 13));  // 3 x 2 tiles, the last ones partly outside
  marks.MarkPixel(0, 0);
  marks.MarkSpan(9, 9, 20);
  marks.MarkRect(QRect(-5, -5, 6, 6));  // only pixel (0, 0) lies inside
  const QRect all(0, 0, 21, 13);
  EXPECT_EQ(Runs(marks, all), (std::vector<QRect>{QRect(0, 0, 8, 8), QRect(8, 8, 13, 5)}));
  EXPECT_EQ(Runs(marks, QRect(4, 2, 10, 9)), (std::vector<QRect>{QRect(4, 2, 4, 6), QRect(8, 8, 6, 3)}));
  EXPECT_TRUE(Runs(marks, QRect(30, 0, 5, 5)).empty());
  marks.Clear();
  EXPECT_TRUE(marks.Empty());
  EXPECT_TRUE(Runs(marks, all).empty());
}

// A client area that tiles do not divide, with points and trajectories scattered over it and
// past its edges, redrawn through several frames in and out of sync.
class MarkedOverlayTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 101;
  static constexpr int kHeight = 141;
  static constexpr int kSlots = 6;

  MarkedOverlayTest() {
    std::mt19937 random(9);
    std::uniform_real_distribution<double> place(-0.05, 1.05);
    testing::StoreBuilder builder(kSlots);
    std::vector<std::int32_t> trajectories;
    for (int t = 0; t < 5; ++t) {
      std::vector<TrajectorySample> samples;
      for (int s = 0; s < kSlots; ++s) {
        TrajectorySample sample;
        sample.centre = {place(random), place(random)};
        for (TrackPoint& corner : sample.corners) corner = {place(random), place(random)};
        samples.push_back(sample);
      }
      trajectories.push_back(builder.Trajectory(t % 3, samples));
    }
    for (int slot = 0; slot < kSlots; ++slot) {
      std::vector<TrackPoint> points;
      for (int p = 0; p < 12; ++p) points.push_back({place(random), place(random)});
      builder.Points(slot, points);
      for (std::int32_t t : trajectories) builder.Show(slot, t, slot);
    }
    store_ = builder.Build(0);
    picture_ = QImage(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) picture_.setPixel(x, y, qRgb(x * 2, y * 3, (x * y) % 256));
    }
  }

  // Every pixel that holds drawing lies in a marked tile.
  static void ExpectDrawingMarked(const QImage& image, const TileMarks& marks) {
    QImage covered = MakeClearSurface(image.size());
    marks.ForEachRun(image.rect(), [&covered](const QRect& run) {
      QPainter(&covered).fillRect(run, Qt::white);
    });
    for (const auto& [pixel, colour] : testing::PaintedPixels(image)) {
      ASSERT_NE(testing::Rgb(covered, pixel.first, pixel.second), 0u)
          << "drawing at " << pixel.first << ", " << pixel.second << " outside the marks";
    }
  }

  void ExpectMarkedShowingMatchesWhole(OverlayState& overlay) {
    QImage whole = picture_;
    ApplyOverlayMask(whole, Surface(overlay), QPoint(0, 0));
    QImage marked = picture_;
    ApplyOverlayMask(marked, Surface(overlay), OverlayTiles(overlay), QPoint(0, 0));
    EXPECT_EQ(marked, whole);
    // A part of the picture, painted where the video view lies in the client area.
    const QRect view(13, 9, 60, 125);
    QImage painted = picture_.copy(view);
    {
      QPainter painter(&painted);
      ApplyOverlayMask(painter, QRect(QPoint(0, 0), view.size()), Surface(overlay), OverlayTiles(overlay),
                       view.topLeft());
    }
    EXPECT_EQ(painted, whole.copy(view));
    // As the viewer shows it: the point discs and trajectory pixels themselves combined in.
    QImage shown = picture_.copy(view);
    {
      QPainter painter(&shown);
      ShowOverlay(painter, QRect(QPoint(0, 0), view.size()), overlay, view.topLeft());
    }
    EXPECT_EQ(shown, whole.copy(view));
    // Band by band, as the video view paints, bands crossing the overlay's own: each pixel once.
    QImage banded = picture_.copy(view);
    {
      QPainter painter(&banded);
      for (int top = 0; top < view.height(); top += 7) {
        ShowOverlay(painter, QRect(0, top, view.width(), std::min(7, view.height() - top)), overlay, view.topLeft());
      }
    }
    EXPECT_EQ(banded, whole.copy(view));
    // The same part through a painter moved into a bigger picture and clipped by its user:
    // inside the clip the overlay shows, outside nothing changes.
    QImage bigger(view.size() + QSize(20, 10), QImage::Format_RGB32);
    bigger.fill(Qt::black);
    const QRect clip(5, 3, 30, 20);
    {
      QPainter painter(&bigger);
      painter.translate(7, 4);
      painter.drawImage(0, 0, picture_.copy(view));
      painter.setClipRect(clip);
      ShowOverlay(painter, QRect(QPoint(0, 0), view.size()), overlay, view.topLeft());
    }
    QImage expected = picture_.copy(view);
    QPainter(&expected).drawImage(clip.topLeft(), whole.copy(clip.translated(view.topLeft())));
    EXPECT_EQ(bigger.copy(QRect(QPoint(7, 4), view.size())), expected);
  }

  TrackStore store_;
  QImage picture_;
};

TEST_F(MarkedOverlayTest, MarksCoverEveryDrawnPixelAndShowTheWholeMask) {
  auto overlay = CreateOverlayResources(QSize(kWidth, kHeight));
  const VideoRect rect{0, 0, kWidth, kHeight};
  for (int step = 0; step < 3 * kSlots; ++step) {
    SCOPED_TRACE(step);
    store_.CurrentSlot = step % kSlots;
    RedrawOverlays(*overlay, {store_, rect}, step % 4 != 3);
    ASSERT_FALSE(testing::IsClear(Surface(*overlay)));
    ExpectDrawingMarked(Surface(*overlay), OverlayTiles(*overlay));
    ExpectMarkedShowingMatchesWhole(*overlay);
  }
  ResizeOverlay(*overlay, QSize(50, 30));
  EXPECT_TRUE(OverlayTiles(*overlay).Empty());
  EXPECT_EQ(OverlayTiles(*overlay).picture(), QSize(50, 30));
}

TEST_F(MarkedOverlayTest, ErasedDrawingLeavesNoMarks) {
  auto overlay = CreateOverlayResources(QSize(kWidth, kHeight));
  const VideoRect rect{0, 0, kWidth, kHeight};
  RedrawOverlays(*overlay, {store_, rect}, true);
  ASSERT_FALSE(OverlayTiles(*overlay).Empty());
  // Without points in the frame and out of sync, the redraw only takes away.
  store_.pointFrames[1].pointCount = 0;
  store_.CurrentSlot = 1;
  RedrawOverlays(*overlay, {store_, rect}, false);
  EXPECT_TRUE(testing::IsClear(Surface(*overlay)));
  EXPECT_TRUE(OverlayTiles(*overlay).Empty());
}

// A trail and a box whose rows run across most of a wide picture, longer than the shown runs
// are kept in one piece, show as the mask does: band by band over the whole picture, and in
// a part whose edges cut the pieces.
TEST(ShownOverlay, LongRowsShowAsTheMaskDoes) {
  constexpr int kWidth = 900;
  constexpr int kHeight = 90;
  TrajectorySample from;
  from.centre = {0.05, 0.5};
  TrajectorySample to;
  to.centre = {0.95, 0.52};
  to.corners[0] = {0.02, 0.8};
  to.corners[1] = {0.98, 0.8};
  to.corners[2] = {0.98, 0.2};
  to.corners[3] = {0.02, 0.2};
  testing::StoreBuilder builder(1);
  builder.Show(0, builder.Trajectory(0, {from, to}), 1);
  TrackStore store = builder.Build(0);
  auto overlay = CreateOverlayResources(QSize(kWidth, kHeight));
  RedrawOverlays(*overlay, {store, VideoRect{0, 0, kWidth, kHeight}}, true);
  QImage picture(kWidth, kHeight, QImage::Format_RGB32);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) picture.setPixel(x, y, qRgb(x % 256, y * 2, (x / 4) % 256));
  }
  QImage whole = picture;
  ApplyOverlayMask(whole, Surface(*overlay), QPoint(0, 0));
  ASSERT_NE(whole, picture);

  QImage banded = picture;
  {
    QPainter painter(&banded);
    for (int top = 0; top < kHeight; top += 64) {
      ShowOverlay(painter, QRect(0, top, kWidth, std::min(64, kHeight - top)), *overlay, QPoint(0, 0));
    }
  }
  EXPECT_EQ(banded, whole);

  const QRect view(300, 5, 450, 80);
  QImage part = picture.copy(view);
  {
    QPainter painter(&part);
    ShowOverlay(painter, QRect(QPoint(0, 0), view.size()), *overlay, view.topLeft());
  }
  EXPECT_EQ(part, whole.copy(view));
}

}  // namespace
}  // namespace ostrel
