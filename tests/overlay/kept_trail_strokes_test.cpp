#include "overlay/kept_trail_strokes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "overlay/live_overlay.h"
#include "overlay/overlay_state.h"
#include "overlay/pixel_canvas.h"
#include "tests/overlay/overlay_fixture.h"

namespace ostrel {
namespace {

using testing::BoxCorners;
using testing::PaintedPixels;
using testing::SampleAtPixel;
using testing::StoreBuilder;

constexpr int kSlots = 160;
const QSize kClient(640, 480);

// A trajectory wandering over the picture from slot 0 on, one sample a slot: mostly small
// steps that cross and retrace each other, and now and then what makes a trail more than one
// stroke (a centre outside the picture, a jump of over 400 pixels, a break) or larger than a
// trail is kept for (long strides).
std::vector<TrajectorySample> Wandering(std::mt19937& random, const VideoRect& rect) {
  std::uniform_int_distribution<int> event(0, 99);
  std::uniform_int_distribution<int> small(-9, 9);
  std::uniform_int_distribution<int> stride(-120, 120);
  std::uniform_int_distribution<int> anywhere(0, 639);
  int x = 100 + anywhere(random) / 2;
  int y = 100 + anywhere(random) / 3;
  std::vector<TrajectorySample> samples;
  for (int i = 0; i < kSlots; ++i) {
    const int roll = event(random);
    int shownX = x;
    std::int32_t breakFlag = 0;
    if (roll < 3) {
      shownX = -40;  // not visible: the pen lifts
    } else if (roll < 5) {
      x = x < 320 ? x + 450 : x - 450;  // too far to join
    } else if (roll < 7) {
      breakFlag = 1;
    } else if (roll < 15) {
      x += stride(random);
      y += stride(random);
    } else {
      x += small(random);
      y += small(random);
    }
    x = std::clamp(x, 10, 629);
    y = std::clamp(y, 10, 469);
    if (roll >= 3) shownX = x;
    samples.push_back(SampleAtPixel(rect, shownX, y, BoxCorners(x - 6, y - 5, x + 6, y + 5), breakFlag));
  }
  return samples;
}

TrackStore WanderingStore(std::mt19937& random, const VideoRect& rect, int trajectories) {
  StoreBuilder builder(kSlots);
  for (int t = 0; t < trajectories; ++t) {
    // Kinds 3 and 4 keep the pen of the trajectory drawn before them.
    const std::int32_t index = builder.Trajectory(t % 5, Wandering(random, rect));
    for (int slot = 0; slot < kSlots; ++slot) builder.Show(slot, index, slot);
  }
  return builder.Build(0);
}

// The trajectory layer as the canvas draws it line by line, on a clear mask.
QImage DrawnLineByLine(const TrackStore& store, const VideoRect& rect) {
  QImage mask = MakeClearSurface(kClient);
  const OverlayPens pens = MakeOverlayPens();
  PixelCanvas dc(mask, DrawMode::Xor, pens.whitePen);
  const FrameTrajectoryIndex& shown = store.frameTrajectoryIndex[static_cast<std::size_t>(store.CurrentSlot)];
  for (int i = 0; i < shown.count; ++i) {
    const FrameTrajectoryList& entry = store.frameTrajectoryList[static_cast<std::size_t>(shown.first + i)];
    DrawTrajectoryTrail(dc, pens, {store, rect}, entry.trajectory, entry.sample);
  }
  return mask;
}

// Playback's steps: mostly a few frames on, sometimes back, a seek, the picture moved, a
// spell out of sync.
struct Step {
  std::int32_t slot;
  VideoRect rect;
  bool inSync;
};

std::vector<Step> PlaybackSteps(std::mt19937& random, int count) {
  std::uniform_int_distribution<int> event(0, 99);
  std::uniform_int_distribution<int> seek(0, kSlots - 1);
  std::vector<Step> steps;
  Step step{0, VideoRect{0, 0, 640, 480}, true};
  for (int i = 0; i < count; ++i) {
    const int roll = event(random);
    if (roll < 50) {
      step.slot += 1 + roll % 3;
    } else if (roll < 65) {
      step.slot -= 1 + roll % 2;
    } else if (roll < 72) {
      step.slot = seek(random);
    } else if (roll < 76) {
      step.rect = roll % 2 == 0 ? VideoRect{0, 0, 640, 480} : VideoRect{-30, 12, 700, 450};
    } else if (roll < 80) {
      step.inSync = !step.inSync;
    }  // else the same frame is redrawn
    step.slot = std::clamp(step.slot, 0, kSlots - 1);
    steps.push_back(step);
  }
  return steps;
}

// Whatever way playback goes, a redraw that brings kept trails up to date leaves the mask as
// drawing the frame's trails line by line does, and trails are kept along the way.
TEST(KeptTrailStrokes, RedrawsMatchTheTrailsDrawnLineByLine) {
  for (const unsigned seed : {1u, 2u, 3u}) {
    std::mt19937 random(seed);
    TrackStore store = WanderingStore(random, VideoRect{0, 0, 640, 480}, 9);
    auto overlay = CreateOverlayResources(kClient);
    std::size_t redrawsWithKeptTrails = 0;
    for (const Step& step : PlaybackSteps(random, 240)) {
      store.CurrentSlot = step.slot;
      RedrawOverlays(*overlay, {store, step.rect}, step.inSync);
      const QImage expected = step.inSync ? DrawnLineByLine(store, step.rect) : MakeClearSurface(kClient);
      ASSERT_TRUE(Surface(*overlay) == expected)
          << "seed " << seed << ", slot " << step.slot << ", rect left " << step.rect.left;
      if (overlay->keptTrails.KeptTrails() > 0) ++redrawsWithKeptTrails;
    }
    // The scene breaks trails often, and a trail that cannot be kept rests for a while: still,
    // a quarter of the redraws keep some.
    EXPECT_GT(redrawsWithKeptTrails, 60u) << "seed " << seed;
  }
}

// A trail that crosses itself covers some pixels with several lines: taking one of them away
// must leave those pixels to the others, and take away the ones it alone covered. A trail
// zigzagging over one stretch of rows and drifting right, taken back and forth past its reach.
TEST(KeptTrailStrokes, APixelStaysWhileAnotherLineCoversIt) {
  const VideoRect rect{0, 0, 200, 200};
  std::vector<TrajectorySample> samples;
  for (int i = 0; i < 60; ++i) {
    const int x = (i % 2 == 0 ? 60 : 100) + i;
    samples.push_back(SampleAtPixel(rect, x, 100 + (i % 4) / 2, BoxCorners(x - 3, 40, x + 3, 50)));
  }
  KeptTrailStrokes kept;
  const TrailRequest base{0, nullptr, 0, {rect, QSize(200, 200), 2, 0xff0000u}};
  SampleArray array(samples.begin(), samples.end());
  for (const std::int32_t sample : {52, 53, 54, 53, 55, 20, 21}) {
    TrailRequest request = base;
    request.samples = &array;
    request.sample = sample;
    XorRecord record;
    ASSERT_TRUE(kept.Append(request, record));
    QImage fromKept = MakeClearSurface(QSize(200, 200));
    CombineXorRecord(fromKept, record);

    QImage lineByLine = MakeClearSurface(QSize(200, 200));
    const OverlayPens pens = MakeOverlayPens();
    PixelCanvas dc(lineByLine, DrawMode::Xor, pens.pens[0]);
    dc.MoveTo(MapToWindow(array[static_cast<std::size_t>(sample)].centre, rect));
    for (std::int32_t i = sample - 1; i >= std::max(0, sample - kTrailReach); --i) {
      dc.LineTo(MapToWindow(array[static_cast<std::size_t>(i)].centre, rect));
    }
    dc.Flush();
    EXPECT_EQ(PaintedPixels(fromKept), PaintedPixels(lineByLine)) << "sample " << sample;
    kept.EndLayer();
  }
}

// What cannot be kept is left to the caller and appends nothing: a trail of no line, a pen
// wider than runs are walked for, a trail with a pen lift.
TEST(KeptTrailStrokes, TrailsThatAreNotOneStrokeAreLeftToTheCaller) {
  const VideoRect rect{0, 0, 200, 200};
  std::vector<TrajectorySample> samples;
  for (int i = 0; i < 10; ++i) samples.push_back(SampleAtPixel(rect, 50 + 5 * i, 100, BoxCorners(0, 0, 4, 4)));
  samples[6] = SampleAtPixel(rect, -20, 100, BoxCorners(0, 0, 4, 4));  // not visible
  SampleArray array(samples.begin(), samples.end());
  struct Case {
    const char* what;
    std::int32_t sample;
    std::int32_t penWidth;
  };
  for (const Case& c : {Case{"the first sample: no line", 0, 2}, Case{"a pen of 9 pixels", 4, 9},
                        Case{"a pen lift at sample 6", 9, 2}}) {
    KeptTrailStrokes kept;
    XorRecord record;
    EXPECT_FALSE(kept.Append({0, &array, c.sample, {rect, QSize(200, 200), c.penWidth, 0xff0000u}}, record)) << c.what;
    EXPECT_TRUE(record.empty()) << c.what;
    EXPECT_EQ(kept.KeptTrails(), 0u) << c.what;
  }
}

}  // namespace
}  // namespace ostrel
