#include "overlay/pixel_shapes.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "overlay/pixel_canvas.h"
#include "tests/overlay/overlay_fixture.h"

namespace ostrel {
namespace {

using testing::Block;
using testing::Painted;
using testing::PaintedPixels;
using testing::PixelSet;
using testing::Union;

// A picture drawn as rows of '#' (painted) and '.' (not), for shapes small enough to read.
std::vector<std::string> Rows(const QImage& image) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) row += testing::Rgb(image, x, y) != 0 ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

QImage ClearImage(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(0, 0, 0));
  return image;
}

const Pen kRed{QColor(255, 0, 0), 2};

TEST(Ellipse, SevenBySevenDiscLeavesOutTheCorners) {
  QImage image = ClearImage(9, 9);
  {
    PixelCanvas canvas(image, DrawMode::Copy, kRed);
    canvas.Ellipse(1, 1, 8, 8, QColor(255, 255, 255));  // right column and bottom row excluded
  }
  const std::vector<std::string> expected = {
      ".........", "...###...", "..#####..", ".#######.", ".#######.",
      ".#######.", "..#####..", "...###...", ".........",
  };
  EXPECT_EQ(Rows(image), expected);
}

TEST(Ellipse, IsClippedToThePicture) {
  QImage image = ClearImage(4, 4);
  {
    PixelCanvas canvas(image, DrawMode::Copy, kRed);
    canvas.Ellipse(-4, -4, 3, 3, QColor(255, 255, 255));  // centred on pixel (-1, -1)
  }
  EXPECT_EQ(Rows(image), (std::vector<std::string>{"###.", "##..", "#...", "...."}));
}

struct LineCase {
  const char* name;
  PixelPoint from;
  PixelPoint to;
  std::int32_t width;
  std::vector<std::string> rows;
};

TEST(LineTo, PaintsUpToButNotIncludingTheEndPoint) {
  const LineCase cases[] = {
      {"one pixel, rightwards", {1, 1}, {5, 1}, 1, {"......", ".####.", "......"}},
      {"one pixel, leftwards", {5, 1}, {1, 1}, 1, {"......", "..####", "......"}},
      {"two pixels: squares hang right and down",
       {1, 0},
       {4, 0},
       2,
       {".####.", ".####.", "......"}},
      {"two pixels, diagonal",
       {0, 0},
       {3, 3},
       2,
       {"##....", "###...", ".###..", "..##..", "......"}},
      {"no length, nothing", {2, 1}, {2, 1}, 2, {"......", "......", "......"}},
  };
  for (const LineCase& test : cases) {
    QImage image =
        ClearImage(static_cast<int>(test.rows[0].size()), static_cast<int>(test.rows.size()));
    {
      PixelCanvas canvas(image, DrawMode::Copy, Pen{QColor(255, 0, 0), test.width});
      canvas.MoveTo(test.from);
      canvas.LineTo(test.to);
    }
    EXPECT_EQ(Rows(image), test.rows) << test.name;
  }
}

TEST(LineTo, MinorCoordinateRoundsHalfAwayFromZero) {
  std::vector<PixelPoint> pixels;
  AppendLinePixels({0, 0}, {4, 2}, 1, QRect(0, 0, 10, 10), pixels);
  EXPECT_EQ(pixels,
            (std::vector<PixelPoint>{{0, 0}, {1, 1}, {2, 1}, {3, 2}}));  // 0.5 and 1.5 go up
  pixels.clear();
  AppendLinePixels({0, 4}, {4, 2}, 1, QRect(0, 0, 10, 10), pixels);
  EXPECT_EQ(pixels,
            (std::vector<PixelPoint>{{0, 4}, {1, 3}, {2, 3}, {3, 2}}));  // -0.5 and -1.5 go down
}

TEST(LineTo, AHugeLineWalksOnlyThePictureAndKeepsItsSlope) {
  const std::int32_t far = std::numeric_limits<std::int32_t>::max();
  std::vector<PixelPoint> pixels;
  AppendLinePixels({-far, 2}, {far, 2}, 2, QRect(0, 0, 5, 5), pixels);
  EXPECT_LE(pixels.size(), 20u);  // about one step per column of the picture, not 2^32
  // The two rows 2 and 3 across the picture, nothing else.
  EXPECT_EQ(MergeIntoSpans(pixels), (std::vector<PixelSpan>{{2, 0, 4}, {3, 0, 4}}));
  pixels.clear();
  AppendLinePixels({-far, -far}, {far, far}, 1, QRect(0, 0, 4, 4), pixels);
  EXPECT_EQ(pixels, (std::vector<PixelPoint>{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
}

TEST(XorStroke, JointsOfOneStrokeAreInvertedOnce) {
  QImage image = ClearImage(12, 12);
  {
    PixelCanvas canvas(image, DrawMode::Xor, kRed);
    canvas.MoveTo({2, 2});
    canvas.LineTo({8, 2});
    canvas.LineTo({8, 8});
    canvas.LineTo({2, 8});
    canvas.LineTo({2, 2});
  }
  // A closed ring two pixels wide with solid corners: no pixel was inverted back.
  EXPECT_EQ(PaintedPixels(image), Painted(testing::BoxPixels(2, 2, 8, 8), 0xff0000u));
}

TEST(XorStroke, SeparateStrokesThatCrossCancelWhereTheyMeet) {
  QImage image = ClearImage(10, 10);
  {
    PixelCanvas canvas(image, DrawMode::Xor, kRed);
    canvas.MoveTo({0, 4});
    canvas.LineTo({9, 4});
    canvas.MoveTo({4, 0});
    canvas.LineTo({4, 9});
  }
  const PixelSet horizontal = Block(0, 4, 9, 5);
  const PixelSet vertical = Block(4, 0, 5, 9);
  PixelSet either;
  for (const auto& pixel : Union({horizontal, vertical})) {
    if (horizontal.count(pixel) + vertical.count(pixel) == 1) either.insert(pixel);
  }
  EXPECT_EQ(PaintedPixels(image), Painted(either, 0xff0000u));
}

TEST(XorStroke, DrawingTheSameStrokeTwiceRestoresThePicture) {
  QImage image = ClearImage(20, 20);
  image.setPixel(3, 3, 0xff123456u);
  const QImage before = image;
  for (int pass = 0; pass < 2; ++pass) {
    PixelCanvas canvas(image, DrawMode::Xor, kRed);
    canvas.MoveTo({1, 1});
    canvas.LineTo({15, 7});
    canvas.LineTo({4, 18});
    canvas.LineTo({1, 1});
  }
  EXPECT_EQ(image, before);
}

TEST(XorStroke, XorsThePenColourIntoEveryBit) {
  QImage image = ClearImage(4, 3);
  image.fill(QColor(0x12, 0x34, 0x56));
  {
    PixelCanvas canvas(image, DrawMode::Xor, Pen{QColor(128, 0, 255), 1});
    canvas.MoveTo({0, 1});
    canvas.LineTo({3, 1});
  }
  EXPECT_EQ(testing::Rgb(image, 0, 1), 0x123456u ^ 0x8000ffu);
  EXPECT_EQ(testing::Rgb(image, 2, 1), 0x123456u ^ 0x8000ffu);
  EXPECT_EQ(testing::Rgb(image, 3, 1), 0x123456u);  // the end point
  EXPECT_EQ(testing::Rgb(image, 0, 0), 0x123456u);
}

TEST(MergeOverlappingSpans, CoversEachPixelOfTheInputOnce) {
  struct Case {
    const char* name;
    std::vector<PixelSpan> spans;
    std::vector<PixelSpan> merged;
  };
  const Case cases[] = {
      {"nothing", {}, {}},
      {"apart stay apart", {{0, 5, 6}, {0, 1, 2}}, {{0, 1, 2}, {0, 5, 6}}},
      {"overlapping join", {{3, 4, 9}, {3, 1, 5}}, {{3, 1, 9}}},
      {"touching join", {{3, 1, 4}, {3, 5, 6}}, {{3, 1, 6}}},
      {"inside is swallowed", {{2, 0, 10}, {2, 3, 4}}, {{2, 0, 10}}},
      {"rows sort and never join", {{5, 0, 3}, {1, 2, 2}, {4, 0, 3}}, {{1, 2, 2}, {4, 0, 3}, {5, 0, 3}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MergeOverlappingSpans(c.spans), c.merged) << c.name;
  }
}

}  // namespace
}  // namespace ostrel
