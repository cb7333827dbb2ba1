#include <gtest/gtest.h>

#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <utility>
#include <vector>

#include "app/video_view.h"
#include "overlay/overlay_mask.h"
#include "overlay/tile_marks.h"
#include "tests/video/video_fixture.h"

namespace ostrel::testing {
namespace {

class VideoViewTest : public VideoTest {
 protected:
  VideoViewTest() : view_(new VideoView(&window_)) {
    window_.resize(400, 300);
    window_.show();
  }

  QWidget window_;
  VideoView* view_;  // owned by the window
};

TEST_F(VideoViewTest, HiddenUntilTheFirstFrameThenPaintsItScaledIntoItsRectangle) {
  auto graph = Graph();
  ASSERT_TRUE(graph);
  view_->SetGraph(graph.get());
  view_->setGeometry(20, 10, 320, 240);
  EXPECT_FALSE(view_->isVisible());

  ASSERT_TRUE(graph->RenderFile(Video("clip", TestVideoSpec{}))) << graph->RenderError();
  ASSERT_TRUE(PumpUntil([&] { return view_->isVisible(); }));
  EXPECT_EQ(view_->Frame().constBits(), graph->CurrentFrame().constBits()) << "shared, not copied";

  const QImage painted = view_->grab().toImage();
  ASSERT_EQ(painted.size(), QSize(320, 240));
  struct Probe {
    int x;
    int y;
    TestColour colour;
  };
  // The 160 x 120 picture doubled: quadrants at doubled places.
  for (const Probe& p : {Probe{40, 100, TestColour::Red}, Probe{240, 60, TestColour::Green},
                         Probe{60, 200, TestColour::Blue}, Probe{280, 200, TestColour::White},
                         Probe{16, 60, TestColour::Black}}) {
    const QRgb rgb = painted.pixel(p.x, p.y);
    EXPECT_TRUE(LooksLike(static_cast<std::uint8_t>(qBlue(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
                          static_cast<std::uint8_t>(qRed(rgb)), p.colour))
        << "at " << p.x << "," << p.y;
  }
}

TEST_F(VideoViewTest, TheOverlayIsDrawnOverEveryPaintedFrame) {
  auto graph = Graph();
  ASSERT_TRUE(graph);
  std::vector<std::pair<QRect, QPoint>> overlays;
  view_->SetOverlayPainter([&overlays](QPainter& painter, const QRect& area, QPoint origin) {
    overlays.emplace_back(area, origin);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(QRect(0, 0, 10, 10) & area, Qt::white);
  });
  view_->SetGraph(graph.get());
  view_->setGeometry(30, 20, 160, 120);
  ASSERT_TRUE(graph->RenderFile(Video("clip", TestVideoSpec{}))) << graph->RenderError();
  ASSERT_TRUE(PumpUntil([&] { return view_->isVisible(); }));

  overlays.clear();
  const QImage painted = view_->grab().toImage();
  ASSERT_FALSE(overlays.empty());
  // The scaled picture, band under band, each placed where the view lies in its parent.
  QRegion covered;
  for (const auto& [area, origin] : overlays) {
    EXPECT_FALSE(covered.intersects(area)) << "a band shown twice";
    covered += area;
    EXPECT_EQ(origin, QPoint(30, 20));
  }
  EXPECT_EQ(covered, QRegion(0, 0, 160, 120));
  // Red exclusive-or white is cyan: the overlay went over the frame, not under it.
  const QRgb rgb = painted.pixel(4, 4);
  EXPECT_LE(qRed(rgb), 85);
  EXPECT_GE(qGreen(rgb), 170);
  EXPECT_GE(qBlue(rgb), 170);
  // Only there: the rest of the frame is as decoded.
  const QRgb plain = painted.pixel(14, 14);
  EXPECT_GE(qRed(plain), 170);
  EXPECT_LE(qGreen(plain), 85);
}

// A changed overlay repaints a still picture once, after a frame's time; when a frame is
// painted first, that paint shows the overlay and no other follows.
TEST_F(VideoViewTest, AnOverlayChangeIsShownByTheNextPaintOrOnItsOwn) {
  auto graph = Graph();
  ASSERT_TRUE(graph);
  int paints = 0;
  view_->SetOverlayPainter([&paints](QPainter&, const QRect& area, QPoint) { paints += area.top() == 0 ? 1 : 0; });
  view_->SetGraph(graph.get());
  view_->setGeometry(30, 20, 160, 120);
  ASSERT_TRUE(graph->RenderFile(Video("clip", TestVideoSpec{}))) << graph->RenderError();
  ASSERT_TRUE(PumpUntil([&] { return view_->isVisible() && paints > 0; }));
  PumpFor(std::chrono::milliseconds(200));

  const int settled = paints;
  view_->OverlayChanged();
  PumpFor(std::chrono::milliseconds(300));
  EXPECT_EQ(paints, settled + 1);

  view_->OverlayChanged();
  view_->update();  // as a new frame does
  PumpUntil([&] { return paints == settled + 2; }, std::chrono::milliseconds(1000));
  PumpFor(std::chrono::milliseconds(300));
  EXPECT_EQ(paints, settled + 2);
}

TEST_F(VideoViewTest, HidesAndForgetsTheFrameWhenItsGraphGoes) {
  auto graph = Graph();
  ASSERT_TRUE(graph);
  view_->SetGraph(graph.get());
  ASSERT_TRUE(graph->RenderFile(Video("clip", TestVideoSpec{}))) << graph->RenderError();
  ASSERT_TRUE(PumpUntil([&] { return view_->isVisible(); }));

  graph.reset();
  EXPECT_FALSE(view_->isVisible());
  EXPECT_TRUE(view_->Frame().isNull());

  auto next = Graph();
  ASSERT_TRUE(next);
  view_->SetGraph(next.get());
  ASSERT_TRUE(next->RenderFile(Video("next", TestVideoSpec{}))) << next->RenderError();
  ASSERT_TRUE(PumpUntil([&] { return view_->isVisible(); }));
  view_->SetGraph(nullptr);
  EXPECT_FALSE(view_->isVisible()) << "detached";
}

// A repaint of part of the view combines the mask into that part only: outside it the
// picture already shows the overlay, and combining again would take it off.
TEST_F(VideoViewTest, APartialRepaintCombinesTheMaskOnlyInsideThePartRepainted) {
  QImage mask(400, 300, QImage::Format_RGB32);
  mask.fill(Qt::white);
  TileMarks marks(mask.size());
  marks.MarkRect(mask.rect());
  view_->SetOverlayPainter([&](QPainter& painter, const QRect& area, QPoint origin) {
    ApplyOverlayMask(painter, area, mask, marks, origin);
  });
  view_->setGeometry(30, 20, 160, 120);
  QImage target(200, 150, QImage::Format_RGB32);
  target.fill(QColor(0x40, 0x50, 0x60));
  const QRect part(10, 8, 33, 21);
  view_->render(&target, QPoint(5, 6), QRegion(part));  // the part's top-left pixel lands at (5, 6)
  for (int y = 0; y < target.height(); ++y) {
    for (int x = 0; x < target.width(); ++x) {
      // With no frame the view paints black, and black shown through white is white.
      const bool inside = QRect(QPoint(5, 6), part.size()).contains(x, y);
      ASSERT_EQ(target.pixel(x, y) & 0xFFFFFFu, inside ? 0xFFFFFFu : 0x405060u) << x << ", " << y;
    }
  }
}

}  // namespace
}  // namespace ostrel::testing
