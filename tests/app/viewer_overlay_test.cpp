// The live overlay on the real main window: what the ticks draw onto the mask, where the
// picture and the letterbox bars show it, taking the trajectories away out of sync, and
// forgetting it all on a resize.
#include <QTest>

#include "app/video_view.h"
#include "overlay/overlay_state.h"
#include "tests/app/opened_viewer.h"
#include "tests/support/trajectory_file_writer.h"

namespace ostrel::testing {
namespace {

constexpr QRgb kWhite = 0xFFFFFFu;

class ViewerOverlayTest : public OpenedViewerTest {
 protected:
  // The centre pixel of the disc drawn for a point: the disc spans X - 4 to X + 2.
  QPoint DiscCentre(const TrackPoint& point) { return OnScreen(point.x, point.y) - QPoint(1, 1); }
  // A pixel on the left edge of a trajectory's box, halfway up it.
  QPoint BoxLeftEdge(std::int32_t trajectory) {
    const auto [left, bottom, right, top] = BoxOf(trajectory, Slot());
    return OnScreen(left, (bottom + top) / 2);
  }
  bool MaskIsClear() {
    const QImage& mask = Surface(*State().overlay);
    for (int y = 0; y < mask.height(); ++y)
      for (int x = 0; x < mask.width(); ++x)
        if ((mask.pixel(x, y) & kWhite) != 0) return false;
    return true;
  }
};

TEST_F(ViewerOverlayTest, TheMaskHoldsTheCurrentFramesOverlayAndThePictureShowsItInverted) {
  OpenAndHold();
  ASSERT_GE(Slot(), 0);
  ASSERT_LT(Slot(), kFrames);
  const QSize client = window_->clientArea().size();
  EXPECT_EQ(Surface(*State().overlay).size(), client) << "the mask covers the client area";

  // The current frame's points are white discs on the mask, where the picture shows them.
  for (const TrackPoint& point : PointsOf(Slot())) {
    EXPECT_EQ(MaskAt(DiscCentre(point)), kWhite) << "point " << point.x << "," << point.y;
  }
  // Another frame's point is not there: the moving point left its earlier places.
  const TrackPoint elsewhere = PointsOf(Slot() + 3 < kFrames ? Slot() + 3 : Slot() - 3)[0];
  EXPECT_NE(MaskAt(DiscCentre(elsewhere)), kWhite);
  // The boxes are drawn in their pens, the second one reaching into the letterbox bar.
  EXPECT_NE(MaskAt(BoxLeftEdge(0)), 0u);
  const QPoint inBar = BoxLeftEdge(1);
  ASSERT_LT(inBar.x(), State().videoRect.left) << "the box should reach past the picture";
  ASSERT_GE(inBar.x(), 0);
  EXPECT_NE(MaskAt(inBar), 0u);
  // Far from every point and box, the mask is clear.
  EXPECT_EQ(MaskAt(OnScreen(0.5, 0.05)), 0u);

  // On screen: the picture and the bar's background, each exclusive-or the mask.
  const QImage shown = PaintedClientArea();
  const QPoint checked[] = {DiscCentre(PointsOf(Slot())[0]), DiscCentre(PointsOf(Slot())[1]),
                            BoxLeftEdge(0), inBar, OnScreen(0.5, 0.05)};
  const QImage mask = Surface(*State().overlay).copy();
  ForgetOverlay(*State().overlay);
  const QImage plain = PaintedClientArea();
  for (const QPoint& at : checked) {
    EXPECT_EQ(shown.pixel(at) & kWhite, (plain.pixel(at) ^ mask.pixel(at)) & kWhite)
        << "at " << at.x() << "," << at.y();
  }
  for (const QPoint& at : {checked[0], checked[1]}) {
    EXPECT_EQ(shown.pixel(at) & kWhite, (plain.pixel(at) ^ kWhite) & kWhite) << "a point inverts the picture";
  }
}

TEST_F(ViewerOverlayTest, OutOfSyncTheTrajectoriesGoAndThePointsStay) {
  OpenAndHold();
  const QImage drawn = Surface(*State().overlay).copy();
  window_->RedrawOverlays(true);
  EXPECT_EQ(Surface(*State().overlay), drawn) << "redrawing the same frame changes nothing";

  window_->RedrawOverlays(false);
  EXPECT_EQ(MaskAt(BoxLeftEdge(0)), 0u);
  EXPECT_EQ(MaskAt(BoxLeftEdge(1)), 0u);
  for (const TrackPoint& point : PointsOf(Slot())) EXPECT_EQ(MaskAt(DiscCentre(point)), kWhite);
  EXPECT_EQ(State().overlay->drawn.drawnCount, 0);

  window_->RedrawOverlays(true);
  EXPECT_EQ(Surface(*State().overlay), drawn) << "the trajectories come back exactly";

  // The screen follows each redraw without waiting for a new frame.
  QTest::qWait(50);
  const QPoint box = BoxLeftEdge(0);
  const QRgb withBox = PaintedClientArea().pixel(box) & kWhite;
  window_->RedrawOverlays(false);
  QTest::qWait(50);
  EXPECT_EQ(PaintedClientArea().pixel(box) & kWhite, withBox ^ MaskAt(box) ^ (drawn.pixel(box) & kWhite));
  EXPECT_NE(MaskAt(box), drawn.pixel(box) & kWhite) << "the box was taken away";
}

TEST_F(ViewerOverlayTest, AResizeForgetsTheOverlayAndTheNextRedrawUsesTheNewSize) {
  OpenAndHold();
  window_->resize(1000, 760);
  ASSERT_TRUE(QTest::qWaitFor([this] { return window_->clientArea().width() == 1000; }, 3000));
  const QSize client = window_->clientArea().size();
  EXPECT_EQ(Surface(*State().overlay).size(), client);
  EXPECT_TRUE(PointLayer(*State().overlay).isNull());
  EXPECT_EQ(State().overlay->drawn.drawnCount, 0);
  EXPECT_TRUE(MaskIsClear());

  window_->RedrawOverlays(true);
  EXPECT_EQ(PointLayer(*State().overlay).size(), client);
  for (const TrackPoint& point : PointsOf(Slot())) EXPECT_EQ(MaskAt(DiscCentre(point)), kWhite);
  EXPECT_NE(MaskAt(BoxLeftEdge(0)), 0u);
}

TEST_F(ViewerOverlayTest, AnOpenForgetsWhatTheLastVideoDrew) {
  OpenAndHold();
  ASSERT_EQ(State().overlay->drawn.drawnCount, 2);
  // The next Open loads other tracking data: only the trajectory that reaches past the
  // picture. What was remembered of the first must not be drawn from the new entries.
  WriteTrajectoryFile(folder_.File("clip01.traj"), {TrajectoryFor(1)});
  OpenAndHold();
  EXPECT_EQ(State().overlay->drawn.drawnCount, 1);
  EXPECT_EQ(MaskAt(BoxLeftEdge(0)), 0u) << "the first data's box is gone";
  EXPECT_NE(MaskAt(BoxLeftEdge(1)), 0u);
  const QImage shown = Surface(*State().overlay).copy();
  ForgetOverlay(*State().overlay);
  window_->RedrawOverlays(true);
  EXPECT_EQ(Surface(*State().overlay), shown) << "the mask is the current frame's overlay alone";
}

}  // namespace
}  // namespace ostrel::testing
