#include "overlay/live_overlay.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/overlay/overlay_fixture.h"

namespace ostrel {
namespace {

using testing::Block;
using testing::BoxCorners;
using testing::BoxPixels;
using testing::IsClear;
using testing::Painted;
using testing::PaintedPixels;
using testing::PixelSet;
using testing::PointAt;
using testing::SampleAtPixel;
using testing::StoreBuilder;
using testing::Union;

constexpr QRgb kWhite = 0xffffffu;
constexpr QRgb kPen0 = 0xff0000u;  // kind 0
constexpr QRgb kPen2 = 0xff8000u;  // kind 2
constexpr QRgb kPen3 = 0x8000ffu;  // kind 1

// Trails run along row 200 of a 600 x 400 picture filling the client area; sample i of a
// trajectory made by HorizontalSamples is centred on x = 50 + 5 i, and its box lies well
// above the trail, at (x - 3, 20)-(x + 3, 30).
const VideoRect kTrailRect{0, 0, 600, 400};
const QSize kTrailClient(600, 400);
constexpr int kTrailRow = 200;

int SampleX(int i) { return 50 + 5 * i; }
PixelSet SampleBox(int x) { return BoxPixels(x - 3, 20, x + 3, 30); }

std::vector<TrajectorySample> HorizontalSamples(int count) {
  std::vector<TrajectorySample> samples;
  for (int i = 0; i < count; ++i) {
    const int x = SampleX(i);
    samples.push_back(SampleAtPixel(kTrailRect, x, kTrailRow, BoxCorners(x - 3, 20, x + 3, 30)));
  }
  return samples;
}

// The pixels of a trail drawn from the centre at x `from` back to the one at x `to` (< from).
PixelSet TrailBack(int from, int to) { return Block(to + 1, kTrailRow, from + 1, kTrailRow + 1); }

// The mask after one in-sync redraw of `store` through `rect`, on a fresh overlay.
QImage DrawnOnce(const TrackStore& store, const VideoRect& rect, QSize client) {
  auto overlay = CreateOverlayResources(client);
  RedrawOverlays(*overlay, {store, rect}, true);
  return Surface(*overlay);
}

TEST(OverlayResources, PensHaveTheirColoursAndWidths) {
  auto overlay = CreateOverlayResources(QSize(8, 6));
  const QRgb colours[] = {0xff0000u, 0xff8080u, 0xff8000u, 0x8000ffu,
                          0xffff00u, 0xff00ffu, 0x00ffffu};
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(overlay->pens.pens[i].colour.rgb() & 0xffffffu, colours[i]) << "pen " << i;
    EXPECT_EQ(overlay->pens.pens[i].width, 2) << "pen " << i;
  }
  EXPECT_EQ(overlay->pens.whitePen, (Pen{QColor(255, 255, 255), 1}));
  EXPECT_EQ(overlay->pens.whiteBrush, QColor(255, 255, 255));
  EXPECT_TRUE(PointLayer(*overlay).isNull());
  EXPECT_EQ(Surface(*overlay).size(), QSize(8, 6));
  EXPECT_TRUE(IsClear(Surface(*overlay)));
  DeleteOverlayResources(overlay);
  EXPECT_EQ(overlay, nullptr);
  DeleteOverlayResources(overlay);  // a second release is harmless
}

TEST(PointLayer, APointBecomesAnInvertedSevenPixelDisc) {
  const VideoRect rect{10, 20, 800, 600};
  const TrackStore store = StoreBuilder(1).Points(0, {{0.5, 0.25}}).Build(0);
  auto overlay = CreateOverlayResources(QSize(820, 640));
  overlay->maskImage.setPixel(409, 469, 0xff000000u | 0x0f0f0fu);  // something already there
  RedrawOverlays(*overlay, {store, rect}, true);
  // (410, 470) is the point's pixel; the disc is the ellipse (406, 466)-(413, 473).
  auto expected = Painted(
      Union({Block(408, 466, 410, 466), Block(407, 467, 411, 467), Block(406, 468, 412, 470),
             Block(407, 471, 411, 471), Block(408, 472, 410, 472)}),
      kWhite);
  expected[{409, 469}] = kWhite ^ 0x0f0f0fu;  // inverted, not overwritten
  EXPECT_EQ(PaintedPixels(Surface(*overlay)), expected);
  EXPECT_EQ(PointLayer(*overlay).size(), QSize(820, 640));
  EXPECT_EQ(PointLayer(*overlay).pixel(409, 469), 0xffffffffu);
  EXPECT_EQ(PointLayer(*overlay).pixel(406, 466), 0xff000000u);  // the disc leaves its corners
}

TEST(PointLayer, OnlyVisiblePointsAreDrawn) {
  const VideoRect rect{0, 0, 800, 600};
  const TrackStore store = StoreBuilder(1).Points(0, {{0.006, 0.5}, {0.5, 0.995}}).Build(0);
  EXPECT_TRUE(IsClear(DrawnOnce(store, rect, QSize(800, 600))));
  const TrackStore shown = StoreBuilder(1).Points(0, {{0.007, 0.5}}).Build(0);
  EXPECT_EQ(PaintedPixels(DrawnOnce(shown, rect, QSize(800, 600))).size(), 37u);  // 3+5+7+7+7+5+3
}

TEST(PointLayer, DiscsAreClippedAtTheClientArea) {
  const VideoRect rect{0, 0, 100, 100};  // the picture reaches below the client area
  const TrackStore store = StoreBuilder(1).Points(0, {PointAt(rect, 50, 94)}).Build(0);
  const QImage mask = DrawnOnce(store, rect, QSize(100, 95));
  EXPECT_EQ(PaintedPixels(mask),
            Painted(Union({Block(48, 90, 50, 90), Block(47, 91, 51, 91), Block(46, 92, 52, 94)}),
                    kWhite));
}

TEST(PointLayer, OverlappingDiscsInvertTheirUnionOnceAndGoAwayWhole) {
  const VideoRect rect{0, 0, 100, 100};
  // Two discs three pixels apart share most of their pixels; a third lies apart.
  TrackStore store = StoreBuilder(2)
                         .Points(0, {PointAt(rect, 40, 40), PointAt(rect, 43, 41), PointAt(rect, 70, 70)})
                         .Build(0);
  auto overlay = CreateOverlayResources(QSize(100, 100));
  overlay->maskImage.setPixel(41, 40, 0xff000000u | 0x0f0f0fu);  // something already there
  RedrawOverlays(*overlay, {store, rect}, true);
  const auto painted = PaintedPixels(Surface(*overlay));
  EXPECT_EQ(painted.size(), PaintedPixels(PointLayer(*overlay)).size());
  for (const auto& [pixel, colour] : painted) {
    const QRgb expected = pixel == testing::Pixel(41, 40) ? (kWhite ^ 0x0f0f0fu) : kWhite;
    EXPECT_EQ(colour, expected)
        << pixel.first << "," << pixel.second;
    EXPECT_EQ(testing::Rgb(PointLayer(*overlay), pixel.first, pixel.second), kWhite);
  }
  store.CurrentSlot = 1;  // a frame without points takes them all away
  RedrawOverlays(*overlay, {store, rect}, true);
  EXPECT_EQ(PaintedPixels(Surface(*overlay)), (std::map<testing::Pixel, QRgb>{{{41, 40}, 0x0f0f0fu}}));
  EXPECT_TRUE(IsClear(PointLayer(*overlay)));
}

struct TrailCase {
  const char* name;
  int sampleCount;
  int current;
  std::vector<int> breaks;  // samples whose break flag is set
  PixelSet expected;
};

TEST(TrajectoryTrail, RunsBackAtMostFiftySamplesAndStopsAtABreak) {
  const TrailCase cases[] = {
      {"30 samples back to the first",
       31,
       30,
       {},
       Union({TrailBack(SampleX(30), SampleX(0)), SampleBox(SampleX(30))})},
      {"from 80 back to 30 only",
       81,
       80,
       {},
       Union({TrailBack(SampleX(80), SampleX(30)), SampleBox(SampleX(80))})},
      {"a break at sample 20 ends it at 21",
       31,
       30,
       {20},
       Union({TrailBack(SampleX(30), SampleX(21)), SampleBox(SampleX(30))})},
      {"a break at the current sample: box only", 31, 30, {30, 5}, SampleBox(SampleX(30))},
      {"a break beyond its reach changes nothing",
       81,
       80,
       {29},
       Union({TrailBack(SampleX(80), SampleX(30)), SampleBox(SampleX(80))})},
      {"a lone first sample: box only", 1, 0, {}, SampleBox(SampleX(0))},
  };
  for (const TrailCase& test : cases) {
    std::vector<TrajectorySample> samples = HorizontalSamples(test.sampleCount);
    for (int i : test.breaks) samples[static_cast<std::size_t>(i)].breakFlag = 1;
    StoreBuilder builder(1);
    builder.Show(0, builder.Trajectory(0, samples), test.current);
    EXPECT_EQ(PaintedPixels(DrawnOnce(builder.Build(0), kTrailRect, kTrailClient)),
              Painted(test.expected, kPen0))
        << test.name;
  }
}

TEST(TrajectoryTrail, PenFollowsTheKind) {
  const std::pair<std::int32_t, QRgb> cases[] = {{0, kPen0}, {1, kPen3}, {2, kPen2}};
  for (const auto& [kind, colour] : cases) {
    StoreBuilder builder(1);
    builder.Show(0, builder.Trajectory(kind, HorizontalSamples(3)), 2);
    EXPECT_EQ(PaintedPixels(DrawnOnce(builder.Build(0), kTrailRect, kTrailClient)),
              Painted(Union({TrailBack(SampleX(2), SampleX(0)), SampleBox(SampleX(2))}), colour))
        << "kind " << kind;
  }
}

TEST(TrajectoryTrail, AnUnknownKindKeepsThePenSelectedBefore) {
  StoreBuilder builder(2);
  const auto first = HorizontalSamples(1);
  builder.Show(0, builder.Trajectory(7, first), 0);  // first in its pass: the 1-pixel white pen
  std::vector<TrajectorySample> right = {
      SampleAtPixel(kTrailRect, 400, 300, BoxCorners(390, 290, 410, 310))};
  builder.Show(1, builder.Trajectory(1, right), 0);
  builder.Show(1, builder.Trajectory(9, first), 0);  // after kind 1: its violet 2-pixel pen
  const PixelSet thinBox = Union(
      {Block(47, 20, 53, 20), Block(47, 30, 53, 30), Block(47, 20, 47, 30), Block(53, 20, 53, 30)});
  EXPECT_EQ(PaintedPixels(DrawnOnce(builder.Build(0), kTrailRect, kTrailClient)),
            Painted(thinBox, kWhite));
  EXPECT_EQ(PaintedPixels(DrawnOnce(builder.Build(1), kTrailRect, kTrailClient)),
            Painted(Union({BoxPixels(390, 290, 410, 310), SampleBox(SampleX(0))}), kPen3));
}

TEST(TrajectoryTrail, AnUnknownKindIsTakenAwayWithThePenItWasDrawnWith) {
  StoreBuilder builder(3);
  builder.Show(0, builder.Trajectory(1, HorizontalSamples(5)), 4);  // violet, then erased first
  builder.Show(1, builder.Trajectory(7, HorizontalSamples(8)), 7);  // keeps whatever is selected
  auto overlay = CreateOverlayResources(kTrailClient);
  for (std::int32_t slot : {0, 1}) {
    const TrackStore store = builder.Build(slot);
    RedrawOverlays(*overlay, {store, kTrailRect}, true);
  }
  const TrackStore second = builder.Build(1);
  EXPECT_EQ(Surface(*overlay), DrawnOnce(second, kTrailRect, kTrailClient));
  const TrackStore empty = builder.Build(2);
  RedrawOverlays(*overlay, {empty, kTrailRect}, true);
  EXPECT_TRUE(IsClear(Surface(*overlay)));
}

TEST(TrajectoryTrail, CentresMoreThan400PixelsApartAreNotJoined) {
  struct JumpCase {
    const char* name;
    PixelPoint older;
    PixelPoint current;
    bool joined;
  };
  const JumpCase cases[] = {
      {"400 pixels across", {50, 200}, {450, 200}, true},
      {"401 pixels across", {49, 200}, {450, 200}, false},
      {"exactly 400 on a slant (240, 320)", {60, 30}, {300, 350}, true},
      {"just over on a slant (241, 320)", {59, 30}, {300, 350}, false},
  };
  for (const JumpCase& test : cases) {
    const auto far = BoxCorners(500, 380, 510, 390);
    StoreBuilder builder(1);
    builder.Show(
        0,
        builder.Trajectory(0, {SampleAtPixel(kTrailRect, test.older.x, test.older.y, far),
                               SampleAtPixel(kTrailRect, test.current.x, test.current.y, far)}),
        1);
    const QImage mask = DrawnOnce(builder.Build(0), kTrailRect, kTrailClient);
    // The middle of the centre line between the two centres.
    const int midX = (test.older.x + test.current.x + 1) / 2;
    const int midY = (test.older.y + test.current.y + 1) / 2;
    EXPECT_EQ(testing::Rgb(mask, midX, midY) == kPen0, test.joined) << test.name;
    EXPECT_EQ(PaintedPixels(mask).size() > BoxPixels(500, 380, 510, 390).size(), test.joined)
        << test.name;
  }
}

TEST(TrajectoryTrail, InvisibleCentresLiftThePenAndHideTheBox) {
  struct VisibilityCase {
    const char* name;
    std::vector<int> hidden;  // samples moved to x = 2, less than 5 pixels from the edge
    PixelSet expected;
  };
  const VisibilityCase cases[] = {
      {"hidden current centre: trail from the one before, no box",
       {3},
       TrailBack(SampleX(2), SampleX(0))},
      {"hidden middle centre splits the trail",
       {1},
       Union({TrailBack(SampleX(3), SampleX(2)), SampleBox(SampleX(3))})},
  };
  for (const VisibilityCase& test : cases) {
    std::vector<TrajectorySample> samples = HorizontalSamples(4);
    for (int i : test.hidden)
      samples[static_cast<std::size_t>(i)].centre = PointAt(kTrailRect, 2, kTrailRow);
    StoreBuilder builder(1);
    builder.Show(0, builder.Trajectory(0, samples), 3);
    EXPECT_EQ(PaintedPixels(DrawnOnce(builder.Build(0), kTrailRect, kTrailClient)),
              Painted(test.expected, kPen0))
        << test.name;
  }
}

TEST(TrajectoryTrail, BoxCornersAreNotCheckedForVisibility) {
  StoreBuilder builder(1);
  builder.Show(
      0,
      builder.Trajectory(0, {SampleAtPixel(kTrailRect, 300, 200, BoxCorners(-50, 195, 290, 205))}),
      0);
  PixelSet onScreen;
  for (const auto& pixel : BoxPixels(-50, 195, 290, 205)) {
    if (pixel.first >= 0) onScreen.insert(pixel);  // the left edge lies outside the window
  }
  EXPECT_EQ(PaintedPixels(DrawnOnce(builder.Build(0), kTrailRect, kTrailClient)),
            Painted(onScreen, kPen0));
}

// Slot 0: a point and two trajectories; slot 1: another point and one of them moved on;
// slot 2: nothing at all.
struct Scenes {
  TrackStore Build(std::int32_t slot) const { return builder.Build(slot); }
  StoreBuilder builder{3};
  Scenes() {
    const auto samples = HorizontalSamples(12);
    const std::int32_t a = builder.Trajectory(0, samples);
    const std::int32_t b = builder.Trajectory(
        2, {SampleAtPixel(kTrailRect, 300, 300, BoxCorners(280, 280, 320, 320)),
            SampleAtPixel(kTrailRect, 310, 290, BoxCorners(290, 270, 330, 310))});
    builder.Points(0, {PointAt(kTrailRect, 100, 100)}).Show(0, a, 10).Show(0, b, 1);
    builder.Points(1, {PointAt(kTrailRect, 150, 120)}).Show(1, a, 11);
  }
};

TEST(RedrawOverlays, WithoutACurrentFrameChangesNothing) {
  const Scenes scenes;
  auto overlay = CreateOverlayResources(kTrailClient);
  const TrackStore none = scenes.Build(-1);
  RedrawOverlays(*overlay, {none, kTrailRect}, true);
  EXPECT_TRUE(PointLayer(*overlay).isNull());
  EXPECT_TRUE(IsClear(Surface(*overlay)));
  const TrackStore first = scenes.Build(0);
  RedrawOverlays(*overlay, {first, kTrailRect}, true);
  const QImage drawn = Surface(*overlay);
  const DrawnTrajectoryList remembered = overlay->drawn;
  for (std::int32_t slot : {-1, 3, 100}) {
    const TrackStore outside = scenes.Build(slot);
    RedrawOverlays(*overlay, {outside, kTrailRect}, true);
    EXPECT_EQ(Surface(*overlay), drawn) << "slot " << slot;
    EXPECT_EQ(overlay->drawn, remembered) << "slot " << slot;
  }
  EXPECT_EQ(remembered.drawnCount, 2);
}

TEST(RedrawOverlays, RedrawingTheSameFrameLeavesTheSameMask) {
  const Scenes scenes;
  const TrackStore store = scenes.Build(0);
  auto overlay = CreateOverlayResources(kTrailClient);
  RedrawOverlays(*overlay, {store, kTrailRect}, true);
  const QImage once = Surface(*overlay);
  EXPECT_FALSE(IsClear(once));
  RedrawOverlays(*overlay, {store, kTrailRect}, true);
  EXPECT_EQ(Surface(*overlay), once);
}

TEST(RedrawOverlays, EachRedrawTakesAwayThePreviousOverlay) {
  const Scenes scenes;
  auto overlay = CreateOverlayResources(kTrailClient);
  for (std::int32_t slot : {0, 1, 0}) {
    const TrackStore store = scenes.Build(slot);
    RedrawOverlays(*overlay, {store, kTrailRect}, true);
    EXPECT_EQ(Surface(*overlay), DrawnOnce(store, kTrailRect, kTrailClient)) << "slot " << slot;
  }
  const TrackStore empty = scenes.Build(2);
  RedrawOverlays(*overlay, {empty, kTrailRect}, true);
  EXPECT_TRUE(IsClear(Surface(*overlay)));
  EXPECT_EQ(overlay->drawn.drawnCount, 0);
}

// The mask and the point layer are brought up to date only when read, each on its own: read
// after any run of redraws, in and out of sync, they hold what one redraw of the last frame
// gives a fresh overlay.
TEST(RedrawOverlays, TheImagesCatchUpWithRedrawsNobodyLookedAt) {
  struct Step {
    std::int32_t slot;
    bool inSync;
    bool readMask;
    bool readLayer;
  };
  const Scenes scenes;
  auto overlay = CreateOverlayResources(kTrailClient);
  const Step steps[] = {{0, true, true, true},   {1, true, false, false}, {0, false, false, true},
                        {1, true, true, false},  {1, false, true, true},  {0, true, false, false},
                        {0, true, true, true}};
  for (const Step& step : steps) {
    SCOPED_TRACE(::testing::Message() << "slot " << step.slot << (step.inSync ? " in sync" : " out of sync"));
    const TrackStore store = scenes.Build(step.slot);
    RedrawOverlays(*overlay, {store, kTrailRect}, step.inSync);
    auto fresh = CreateOverlayResources(kTrailClient);
    RedrawOverlays(*fresh, {store, kTrailRect}, step.inSync);
    if (step.readMask) {
      EXPECT_EQ(Surface(*overlay), Surface(*fresh));
    }
    if (step.readLayer) {
      EXPECT_EQ(PointLayer(*overlay), PointLayer(*fresh));
    }
  }
}

TEST(RedrawOverlays, OutOfSyncDrawsPointsButNoTrajectories) {
  const Scenes scenes;
  const TrackStore first = scenes.Build(0);
  auto overlay = CreateOverlayResources(kTrailClient);
  RedrawOverlays(*overlay, {first, kTrailRect}, true);
  RedrawOverlays(*overlay, {first, kTrailRect}, false);
  StoreBuilder pointsOnly(1);
  pointsOnly.Points(0, {PointAt(kTrailRect, 100, 100)});
  EXPECT_EQ(Surface(*overlay), DrawnOnce(pointsOnly.Build(0), kTrailRect, kTrailClient));
  EXPECT_EQ(overlay->drawn.drawnCount, 0);
  RedrawOverlays(*overlay, {first, kTrailRect}, true);  // and they come back in sync
  EXPECT_EQ(Surface(*overlay), DrawnOnce(first, kTrailRect, kTrailClient));
}

TEST(RedrawOverlays, TrajectoriesAreTakenAwayWhereTheyWereDrawn) {
  const Scenes scenes;
  const TrackStore first = scenes.Build(0);
  const TrackStore empty = scenes.Build(2);
  auto overlay = CreateOverlayResources(kTrailClient);
  RedrawOverlays(*overlay, {first, kTrailRect}, true);
  RedrawOverlays(*overlay, {empty, VideoRect{20, 10, 500, 300}}, true);  // the picture moved
  EXPECT_TRUE(IsClear(Surface(*overlay)));
}

TEST(ForgetOverlay, AReloadedStoreIsNeverDrawnFromTheOldEntries) {
  const Scenes scenes;
  const TrackStore old = scenes.Build(0);
  auto overlay = CreateOverlayResources(kTrailClient);
  RedrawOverlays(*overlay, {old, kTrailRect}, true);
  ForgetOverlay(*overlay);
  EXPECT_TRUE(IsClear(Surface(*overlay)));
  EXPECT_EQ(overlay->drawn.drawnCount, 0);
  EXPECT_TRUE(PointLayer(*overlay).isNull());
  // The new data has fewer entries than the old run named.
  StoreBuilder reloaded(1);
  reloaded.Points(0, {PointAt(kTrailRect, 200, 50)});
  reloaded.Show(0, reloaded.Trajectory(1, HorizontalSamples(2)), 1);
  const TrackStore fresh = reloaded.Build(0);
  RedrawOverlays(*overlay, {fresh, kTrailRect}, true);
  EXPECT_EQ(Surface(*overlay), DrawnOnce(fresh, kTrailRect, kTrailClient));
}

TEST(ResizeOverlay, ForgetsAndRebuildsTheLayerAtTheNewSize) {
  const Scenes scenes;
  const TrackStore store = scenes.Build(0);
  auto overlay = CreateOverlayResources(kTrailClient);
  RedrawOverlays(*overlay, {store, kTrailRect}, true);
  ResizeOverlay(*overlay, QSize(700, 500));
  EXPECT_EQ(Surface(*overlay).size(), QSize(700, 500));
  EXPECT_TRUE(IsClear(Surface(*overlay)));
  EXPECT_EQ(overlay->drawn.drawnCount, 0);
  const VideoRect wider{50, 50, 600, 400};
  RedrawOverlays(*overlay, {store, wider}, true);
  EXPECT_EQ(PointLayer(*overlay).size(), QSize(700, 500));
  EXPECT_EQ(Surface(*overlay), DrawnOnce(store, wider, QSize(700, 500)));
}

TEST(ResizeOverlay, PointsBeyondTheFirstSizeShowAfterAResize) {
  const TrackStore store = StoreBuilder(1).Points(0, {{0.93, 0.1}}).Build(0);
  auto overlay = CreateOverlayResources(QSize(600, 400));
  RedrawOverlays(*overlay, {store, VideoRect{0, 0, 600, 400}}, true);  // the disc at (558, 360)
  ResizeOverlay(*overlay, QSize(700, 500));
  RedrawOverlays(*overlay, {store, VideoRect{0, 0, 700, 500}}, true);  // now at (651, 450)
  EXPECT_EQ(PaintedPixels(Surface(*overlay)),
            Painted(Union({Block(649, 446, 651, 446), Block(648, 447, 652, 447),
                           Block(647, 448, 653, 450), Block(648, 451, 652, 451),
                           Block(649, 452, 651, 452)}),
                    kWhite));
}

}  // namespace
}  // namespace ostrel
