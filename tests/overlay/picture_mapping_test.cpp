#include "overlay/picture_mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ostrel {
namespace {

struct VisibilityCase {
  TrackPoint point;
  VideoRect rect;
  bool visible;
};

TEST(IsPointVisible, PointsMoreThanFivePixelsInsideShow) {
  const VideoRect screen{0, 0, 800, 600};
  const double lowY = 5.0 / 600;
  const double highY = 1.0 - 5.0 / 600;
  const VisibilityCase cases[] = {
      {{0.006, 0.5}, screen, false},  // 4.8 pixels from the left edge
      {{0.007, 0.5}, screen, true},   // 5.6 pixels
      {{1.0 - 0.006, 0.5}, screen, false},
      {{1.0 - 0.007, 0.5}, screen, true},
      {{5.0 / 800, 0.5}, screen, false},  // exactly 5 pixels: the comparison is strict
      {{std::nextafter(5.0 / 800, 1.0), 0.5}, screen, true},
      {{0.5, lowY}, screen, false},
      {{0.5, std::nextafter(lowY, 1.0)}, screen, true},
      {{0.5, highY}, screen, false},
      {{0.5, std::nextafter(highY, 0.0)}, screen, true},
      {{0.5, 0.5}, {0, 0, 0, 600}, false},  // no width
      {{0.5, 0.5}, {0, 0, 800, 0}, false},  // no height
      {{std::nan(""), 0.5}, screen, false},
      {{0.5, 0.5}, {300, 200, 800, 600}, true},  // the offset plays no part
  };
  for (const VisibilityCase& test : cases) {
    EXPECT_EQ(IsPointVisible(test.point, test.rect), test.visible)
        << "x " << test.point.x << " y " << test.point.y << " in " << test.rect.width << "x"
        << test.rect.height;
  }
}

TEST(RoundHalfAwayFromZero, HalvesGoAwayFromZero) {
  const std::pair<double, std::int64_t> cases[] = {
      {2.5, 3},   {-2.5, -3}, {2.4999, 2}, {-2.4999, -2}, {0.5, 1},
      {-0.5, -1}, {0.0, 0},   {-0.0, 0},   {7.0, 7},      {-7.0, -7},
  };
  for (const auto& [value, rounded] : cases)
    EXPECT_EQ(RoundHalfAwayFromZero(value), rounded) << value;
}

TEST(RoundHalfAwayFromZero, WildValuesSaturate) {
  EXPECT_EQ(RoundHalfAwayFromZero(std::nan("")), 0);
  EXPECT_GT(RoundHalfAwayFromZero(1e300), std::int64_t{1} << 60);
  EXPECT_LT(RoundHalfAwayFromZero(-std::numeric_limits<double>::infinity()),
            -(std::int64_t{1} << 60));
}

struct MappingCase {
  TrackPoint point;
  VideoRect rect;
  PixelPoint pixel;
};

TEST(MapToWindow, ScalesFlipsRoundsAndOffsets) {
  const MappingCase cases[] = {
      {{0.5, 0.25}, {10, 20, 800, 600}, {410, 470}},
      {{2.5, -1.5}, {0, 0, 1, 1}, {3, 3}},    // 2.5 rounds to 3 on both axes
      {{-2.5, 3.5}, {0, 0, 1, 1}, {-3, -3}},  // -2.5 rounds to -3
      {{0.0, 1.0}, {-7, -9, 640, 480}, {-7, -9}},
      {{1.0, 0.0}, {0, 0, 640, 480}, {640, 480}},
      {{1e12, -1e12},
       {0, 0, 800, 600},
       {std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::max()}},
  };
  for (const MappingCase& test : cases) {
    EXPECT_EQ(MapToWindow(test.point, test.rect), test.pixel)
        << test.point.x << ", " << test.point.y;
  }
}

TEST(MapToPicture, UsesThePictureSizeWithoutOffset) {
  EXPECT_EQ(MapToPicture({0.5, 0.25}, 40, 30), (PixelPoint{20, 23}));  // 22.5 rounds up
  EXPECT_EQ(MapToPicture({0.25, 1.0}, 10, 10), (PixelPoint{3, 0}));    // 2.5 rounds up
}

TEST(SquaredDistance, HoldsTheWidestPixelPairs) {
  EXPECT_EQ(SquaredDistance({0, 0}, {400, 0}), 160000);
  EXPECT_EQ(SquaredDistance({3, 4}, {0, 0}), 25);
  const std::int32_t low = std::numeric_limits<std::int32_t>::min();
  const std::int32_t high = std::numeric_limits<std::int32_t>::max();
  EXPECT_EQ(SquaredDistance({0, low / 2}, {0, high / 2}),
            (std::int64_t{high} / 2 - low / 2) * (std::int64_t{high} / 2 - low / 2));
  EXPECT_EQ(SquaredDistance({low, low}, {high, high}), std::numeric_limits<std::int64_t>::max());
}

}  // namespace
}  // namespace ostrel
