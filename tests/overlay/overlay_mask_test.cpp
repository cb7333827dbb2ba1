#include "overlay/overlay_mask.h"

#include <gtest/gtest.h>

#include "overlay/live_overlay.h"
#include "tests/overlay/overlay_fixture.h"

namespace ostrel {
namespace {

TEST(ApplyOverlayMask, XorsThePictureWithTheMaskUnderIt) {
  QImage mask(6, 4, QImage::Format_RGB32);
  mask.fill(QColor(0, 0, 0));
  mask.setPixel(3, 2, 0xffffffffu);
  mask.setPixel(4, 2, 0xff8000ffu);
  mask.setPixel(0, 0, 0xffffffffu);  // outside the picture: no effect
  QImage picture(3, 2, QImage::Format_RGB32);
  picture.fill(QColor(0x12, 0x34, 0x56));
  ApplyOverlayMask(picture, mask, QPoint(2, 1));  // the picture's pixel (1, 1) lies on mask (3, 2)
  EXPECT_EQ(testing::Rgb(picture, 1, 1), 0x123456u ^ 0xffffffu);
  EXPECT_EQ(testing::Rgb(picture, 2, 1), 0x123456u ^ 0x8000ffu);
  for (const auto& [x, y] : {std::pair{0, 0}, {1, 0}, {2, 0}, {0, 1}}) {
    EXPECT_EQ(testing::Rgb(picture, x, y), 0x123456u) << x << ", " << y;
  }
}

TEST(ApplyOverlayMask, ACapturedOverlayComesOffAgain) {
  const VideoRect rect{0, 0, 64, 48};
  testing::StoreBuilder builder(1);
  builder.Points(0, {{0.5, 0.5}});
  builder.Show(0,
               builder.Trajectory(
                   0, {testing::SampleAtPixel(rect, 30, 20, testing::BoxCorners(10, 10, 50, 40))}),
               0);
  const TrackStore store = builder.Build(0);
  auto overlay = CreateOverlayResources(QSize(64, 48));
  RedrawOverlays(*overlay, {store, rect}, true);
  QImage frame(64, 48, QImage::Format_RGB32);
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 64; ++x) frame.setPixel(x, y, qRgb(x * 4, y * 5, 77));
  }
  QImage shown = frame;
  ApplyOverlayMask(shown, Surface(*overlay), QPoint(0, 0));
  EXPECT_NE(shown, frame);
  EXPECT_EQ(testing::Rgb(shown, 31, 10),
            testing::Rgb(frame, 31, 10) ^ 0xff0000u);  // the box's top edge
  ApplyOverlayMask(shown, Surface(*overlay), QPoint(0, 0));
  EXPECT_EQ(shown, frame);
}

}  // namespace
}  // namespace ostrel
