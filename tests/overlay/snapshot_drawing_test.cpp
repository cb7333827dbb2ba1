#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

#include "overlay/annotated_snapshot.h"
#include "overlay/frame_capture.h"
#include "tests/overlay/capture_fixture.h"
#include "tests/overlay/overlay_fixture.h"
#include "tests/support/recording_messages.h"

namespace ostrel {
namespace {

using testing::Block;
using testing::BoxCorners;
using testing::BoxPixels;
using testing::PixelSet;
using testing::PointAt;
using testing::SampleAtPixel;
using testing::StoreBuilder;
using testing::Union;

const VideoRect kScreen{0, 0, 800, 600};
const OverlayPens kPens = MakeOverlayPens();
constexpr std::uint32_t kWhite = 0xffffffu;

// The file image of a grabbed frame, as "1.bmp" holds it.
std::vector<std::uint8_t> CaptureImage(const testing::GrabbedFrame& frame) {
  return *EncodeCapturedFrame(frame.header, frame.pixels);
}

std::vector<std::uint8_t> Annotate(const testing::GrabbedFrame& frame, const TrackStore& store,
                                   const VideoRect& screen = kScreen) {
  testing::RecordingMessages messages;
  const auto bytes =
      AnnotateCapturedFrame(CaptureImage(frame), {store, screen}, kPens, "1.bmp", messages);
  EXPECT_TRUE(messages.shown.empty());
  return bytes.value_or(std::vector<std::uint8_t>{});
}

// Every pixel of the annotated picture: `painted` ones in their colour, all others the
// frame's own background, byte for byte.
void ExpectPicture(const std::vector<std::uint8_t>& file, const testing::GrabbedFrame& frame,
                   const std::map<testing::Pixel, std::uint32_t>& painted, const char* what) {
  const std::int32_t width = frame.header.biWidth;
  const std::int32_t height = frame.header.biHeight;
  ASSERT_EQ(file.size(), kBitmapPixelOffset + frame.pixels.size()) << what;
  int wrong = 0;
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      const auto found = painted.find({x, y});
      const std::uint32_t expected =
          found != painted.end() ? found->second : testing::BackgroundRgb(x, y);
      const std::uint32_t actual = testing::FileRgb(file, width, height, x, y);
      if (actual != expected && ++wrong <= 5) {
        ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is " << std::hex << actual
                      << ", expected " << expected;
      }
    }
  }
  EXPECT_EQ(wrong, 0) << what;
}

std::map<testing::Pixel, std::uint32_t> Paint(const PixelSet& pixels, std::uint32_t colour) {
  std::map<testing::Pixel, std::uint32_t> painted;
  for (const auto& pixel : pixels) painted[pixel] = colour;
  return painted;
}

PixelSet Disc(int x, int y) {  // the disc drawn for a point at pixel (x, y)
  return Union({Block(x - 2, y - 4, x, y - 4), Block(x - 3, y - 3, x + 1, y - 3),
                Block(x - 4, y - 2, x + 2, y), Block(x - 3, y + 1, x + 1, y + 1),
                Block(x - 2, y + 2, x, y + 2)});
}

TEST(SnapshotDrawing, NothingToDrawKeepsEveryByte) {
  const auto frame = testing::MakeGrabbedFrame(45, 30);
  const TrackStore none = StoreBuilder(1).Build(-1);
  const auto file = Annotate(frame, none);
  ExpectPicture(file, frame, {}, "no current frame");
  EXPECT_TRUE(
      std::equal(frame.pixels.begin(), frame.pixels.end(), file.begin() + kBitmapPixelOffset))
      << "padding bytes too";
}

TEST(SnapshotDrawing, PointsAreDiscsInPictureCoordinatesShownAsOnScreen) {
  const auto frame = testing::MakeGrabbedFrame(45, 30);
  // (0.5, 0.5) lies at (22.5, 15) of the picture, rounded to (23, 15); (0.006, 0.5) is hidden on
  // an 800-pixel screen although it would be 0.27 pixels into the picture.
  const TrackStore store =
      StoreBuilder(1).Points(0, {{0.5, 0.5}, {0.006, 0.5}, {0.2, 0.8}}).Build(0);
  ExpectPicture(Annotate(frame, store), frame, Paint(Union({Disc(23, 15), Disc(9, 6)}), kWhite),
                "800 x 600");
  // Against a 100-pixel screen the margin is 0.05: (0.04, 0.5) is hidden there.
  const TrackStore narrow = StoreBuilder(1).Points(0, {{0.04, 0.5}, {0.2, 0.8}}).Build(0);
  ExpectPicture(Annotate(frame, narrow, VideoRect{0, 0, 100, 100}), frame,
                Paint(Disc(9, 6), kWhite), "100 x 100");
}

struct PenCase {
  double param3;
  std::int32_t kind;
  Pen pen;
};

TEST(SnapshotDrawing, PenIsChosenByParam3ThenKind) {
  const auto frame = testing::MakeGrabbedFrame(45, 30);
  const VideoRect picture{0, 0, 45, 30};
  const PenCase cases[] = {
      {0.5, 0, kPens.pens[3]},    {0.5, 1, kPens.pens[3]}, {0.5, 2, kPens.pens[3]},
      {0.6999, 1, kPens.pens[3]}, {0.7, 0, kPens.pens[0]}, {0.7, 1, kPens.pens[1]},
      {0.7, 2, kPens.pens[2]},    {0.9, 1, kPens.pens[1]},
  };
  for (const PenCase& test : cases) {
    StoreBuilder builder(1);
    builder.Show(
        0,
        builder.Trajectory(test.kind, {SampleAtPixel(picture, 10, 8, BoxCorners(5, 5, 15, 12))},
                           test.param3),
        0);
    ExpectPicture(Annotate(frame, builder.Build(0)), frame,
                  Paint(BoxPixels(5, 5, 15, 12), testing::PenRgb(test.pen)), "pen case");
  }
}

TEST(SnapshotDrawing, AnyOtherKindKeepsTheSelectedPen) {
  const auto frame = testing::MakeGrabbedFrame(45, 30);
  const VideoRect picture{0, 0, 45, 30};
  StoreBuilder builder(1);
  builder.Show(0, builder.Trajectory(5, {SampleAtPixel(picture, 10, 8, BoxCorners(2, 2, 8, 6))}),
               0);
  builder.Show(0, builder.Trajectory(2, {SampleAtPixel(picture, 10, 8, BoxCorners(20, 2, 26, 6))}),
               0);
  builder.Show(
      0, builder.Trajectory(-1, {SampleAtPixel(picture, 10, 8, BoxCorners(20, 15, 26, 20))}), 0);
  auto painted =
      Paint(Union({Block(2, 2, 8, 2), Block(2, 6, 8, 6), Block(2, 2, 2, 6), Block(8, 2, 8, 6)}),
            kWhite);  // the first: the 1-pixel white pen
  for (const auto& [pixel, colour] :
       Paint(Union({BoxPixels(20, 2, 26, 6), BoxPixels(20, 15, 26, 20)}),
             testing::PenRgb(kPens.pens[2]))) {
    painted[pixel] = colour;
  }
  ExpectPicture(Annotate(frame, builder.Build(0)), frame, painted, "unknown kinds");
}

// Trails along row 20 of a 500 x 40 picture; sample i centred on x = 10 + 2 i, its box at
// (x - 3, 2)-(x + 3, 8).
constexpr int kTrailRow = 20;
const VideoRect kTrailPicture{0, 0, 500, 40};
int TrailX(int i) { return 10 + 2 * i; }

std::vector<TrajectorySample> TrailSamples(int count) {
  std::vector<TrajectorySample> samples;
  for (int i = 0; i < count; ++i) {
    samples.push_back(SampleAtPixel(kTrailPicture, TrailX(i), kTrailRow,
                                    BoxCorners(TrailX(i) - 3, 2, TrailX(i) + 3, 8)));
  }
  return samples;
}

PixelSet TrailBack(int from, int to) { return Block(to + 1, kTrailRow, from + 1, kTrailRow + 1); }
PixelSet TrailBox(int i) { return BoxPixels(TrailX(i) - 3, 2, TrailX(i) + 3, 8); }

struct TrailCase {
  const char* name;
  int count;
  int current;
  std::vector<int> breaks;
  std::vector<std::pair<int, PixelPoint>> moved;  // samples whose centre moves to a pixel
  PixelSet expected;
};

TEST(SnapshotDrawing, TrailsAndBoxesHaveNoVisibilityOrDistanceCut) {
  const auto frame = testing::MakeGrabbedFrame(500, 40);
  const TrailCase cases[] = {
      {"index 30: samples 30 down to 0",
       31,
       30,
       {},
       {},
       Union({TrailBack(TrailX(30), TrailX(0)), TrailBox(30)})},
      {"index 80: samples 80 down to 30",
       81,
       80,
       {},
       {},
       Union({TrailBack(TrailX(80), TrailX(30)), TrailBox(80)})},
      {"a break at sample 10 ends it at 11",
       31,
       30,
       {10},
       {},
       Union({TrailBack(TrailX(30), TrailX(11)), TrailBox(30)})},
      {"a break at the current sample: the box alone", 31, 30, {30}, {}, TrailBox(30)},
      {"a centre at the picture's edge still joins",
       3,
       2,
       {},
       {{0, {1, kTrailRow}}},
       Union({TrailBack(TrailX(2), 1), TrailBox(2)})},
      {"450 pixels apart still join",
       2,
       1,
       {},
       {{0, {0, kTrailRow}}, {1, {450, kTrailRow}}},
       Union({TrailBack(450, 0), BoxPixels(TrailX(1) - 3, 2, TrailX(1) + 3, 8)})},
      {"a hidden current centre with a break still gets its box",
       2,
       1,
       {1},
       {{1, {1, 1}}},
       TrailBox(1)},
  };
  for (const TrailCase& test : cases) {
    std::vector<TrajectorySample> samples = TrailSamples(test.count);
    for (int i : test.breaks) samples[static_cast<std::size_t>(i)].breakFlag = 1;
    for (const auto& [i, pixel] : test.moved) {
      samples[static_cast<std::size_t>(i)].centre = PointAt(kTrailPicture, pixel.x, pixel.y);
    }
    StoreBuilder builder(1);
    builder.Show(0, builder.Trajectory(0, samples), test.current);
    ExpectPicture(Annotate(frame, builder.Build(0)), frame,
                  Paint(test.expected, testing::PenRgb(kPens.pens[0])), test.name);
  }
}

TEST(SnapshotDrawing, SameFrameAndSceneGiveTheSameBytes) {
  const auto frame = testing::MakeGrabbedFrame(500, 40);
  StoreBuilder builder(1);
  builder.Points(0, {{0.3, 0.5}, {0.7, 0.4}});
  builder.Show(0, builder.Trajectory(1, TrailSamples(60)), 59);
  const TrackStore store = builder.Build(0);
  const auto first = Annotate(frame, store);
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(Annotate(frame, store), first);
}

}  // namespace
}  // namespace ostrel
