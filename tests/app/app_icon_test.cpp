#include "app/app_icon.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

namespace ostrel {
namespace {

// Pixels that are not fully transparent: something was drawn.
int OpaquePixels(const QPixmap& pixmap) {
  const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
  }
  return count;
}

TEST(AppIconTest, OffersTheCommonSizesDrawn) {
  const QIcon icon = AppIcon();
  ASSERT_FALSE(icon.isNull());
  const QList<QSize> sizes = icon.availableSizes();
  for (const int size : {16, 32, 48}) {
    EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    const QPixmap pixmap = icon.pixmap(QSize(size, size));
    EXPECT_EQ(pixmap.size(), QSize(size, size));
    // The frame fills most of the square, the corners stay clear.
    EXPECT_GT(OpaquePixels(pixmap), size * size / 2) << size;
    EXPECT_EQ(qAlpha(pixmap.toImage().pixel(0, 0)), 0) << size;
  }
}

TEST(AppIconTest, ScalesToLargeSizes) {
  const QPixmap large = AppIcon().pixmap(QSize(256, 256));
  EXPECT_EQ(large.size(), QSize(256, 256));
  EXPECT_GT(OpaquePixels(large), 256 * 256 / 2);
}

}  // namespace
}  // namespace ostrel
