// Combining strokes drawn straight onto a picture and recorded for later must agree, pixel for
// pixel, with the line rule worked out the slow way: every centre-line pixel's pen square,
// each pixel of a stroke inverted once, strokes that meet cancelling there.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <random>
#include <set>
#include <vector>

#include "overlay/pixel_canvas.h"
#include "overlay/xor_record.h"
#include "tests/overlay/overlay_fixture.h"

namespace ostrel {
namespace {

using testing::Pixel;
using testing::PixelSet;

struct Stroke {
  Pen pen;
  std::vector<PixelPoint> points;
};

// The rule as written: step k of a line paints the pen square whose top-left pixel is the
// start moved k along the longer axis and k times the slope, rounded half away from zero,
// along the other.
PixelSet ReferenceLine(PixelPoint from, PixelPoint to, int penWidth, int width, int height) {
  PixelSet pixels;
  const long dx = long{to.x} - from.x;
  const long dy = long{to.y} - from.y;
  const long steps = std::max(std::labs(dx), std::labs(dy));
  for (long k = 0; k < steps; ++k) {
    const long x = from.x + std::lround(static_cast<double>(k * dx) / static_cast<double>(steps));
    const long y = from.y + std::lround(static_cast<double>(k * dy) / static_cast<double>(steps));
    for (long row = y; row < y + penWidth; ++row) {
      for (long column = x; column < x + penWidth; ++column) {
        if (column >= 0 && column < width && row >= 0 && row < height) pixels.insert({int(column), int(row)});
      }
    }
  }
  return pixels;
}

QImage ReferencePicture(const std::vector<Stroke>& strokes, int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(QColor(0, 0, 0));
  for (const Stroke& stroke : strokes) {
    PixelSet pixels;
    for (std::size_t i = 1; i < stroke.points.size(); ++i) {
      pixels.merge(ReferenceLine(stroke.points[i - 1], stroke.points[i], stroke.pen.width, width, height));
    }
    for (const Pixel& pixel : pixels) {
      picture.setPixel(pixel.first, pixel.second, picture.pixel(pixel.first, pixel.second) ^ (stroke.pen.colour.rgb() & 0xFFFFFFu));
    }
  }
  return picture;
}

void DrawStrokes(PixelCanvas& canvas, const std::vector<Stroke>& strokes) {
  for (const Stroke& stroke : strokes) {
    canvas.SelectPen(stroke.pen);
    canvas.MoveTo(stroke.points.front());
    for (std::size_t i = 1; i < stroke.points.size(); ++i) canvas.LineTo(stroke.points[i]);
  }
}

std::vector<Stroke> RandomStrokes(std::mt19937& random, int width, int height) {
  // Ends a little beyond the picture too, so that squares are cut at every edge.
  std::uniform_int_distribution<int> x(-6, width + 5);
  std::uniform_int_distribution<int> y(-6, height + 5);
  std::uniform_int_distribution<int> points(2, 9);
  std::uniform_int_distribution<int> strokes(1, 4);
  // Pens without width paint nothing; the live trails' pen is 2; the widest are walked pixel
  // by pixel.
  const int penWidths[] = {-1, 0, 1, 2, 2, 3, 8, 9};
  std::uniform_int_distribution<std::size_t> penWidth(0, std::size(penWidths) - 1);
  const QColor colours[] = {QColor(255, 0, 0), QColor(0, 255, 0), QColor(255, 255, 255)};
  std::vector<Stroke> drawn(static_cast<std::size_t>(strokes(random)));
  for (std::size_t s = 0; s < drawn.size(); ++s) {
    drawn[s].pen = {colours[s % 3], penWidths[penWidth(random)]};
    drawn[s].points.resize(static_cast<std::size_t>(points(random)));
    for (PixelPoint& point : drawn[s].points) point = {x(random), y(random)};
  }
  return drawn;
}

// A small picture, and one wider than the bitmap's window, whose strokes leave the window
// they begin in and cross its edges.
TEST(CombiningStrokes, DrawnAndRecordedAgreeWithTheLineRule) {
  struct Case {
    int width;
    int height;
    int rounds;
  };
  for (const Case& size : {Case{37, 23, 300}, Case{1500, 40, 60}}) {
    std::mt19937 random(11);
    SeenPixels seen;  // one for every canvas, as the live overlay keeps it
    for (int round = 0; round < size.rounds; ++round) {
      const std::vector<Stroke> strokes = RandomStrokes(random, size.width, size.height);
      const QImage expected = ReferencePicture(strokes, size.width, size.height);

      QImage drawn(size.width, size.height, QImage::Format_RGB32);
      drawn.fill(QColor(0, 0, 0));
      {
        PixelCanvas canvas(drawn, DrawMode::Xor, strokes.front().pen, {&seen});
        DrawStrokes(canvas, strokes);
      }
      ASSERT_EQ(drawn, expected) << "drawn, " << size.width << " wide, round " << round;

      QImage recorded(size.width, size.height, QImage::Format_RGB32);
      recorded.fill(QColor(0, 0, 0));
      XorRecord record;
      {
        PixelCanvas canvas(recorded, DrawMode::Xor, strokes.front().pen, {&seen, nullptr, &record});
        DrawStrokes(canvas, strokes);
      }
      ASSERT_TRUE(testing::IsClear(recorded)) << "a recording canvas leaves its picture alone";
      CombineXorRecord(recorded, record);
      ASSERT_EQ(recorded, expected) << "recorded, " << size.width << " wide, round " << round;
    }
  }
}

}  // namespace
}  // namespace ostrel
