// One live redraw of a busy frame (200 points and 20 trajectories on 1280 x 720; 1,000 points
// and 100 trajectories on 1920 x 1080), each trajectory with a trail through 51 samples and
// its box. Alternating two frames makes every redraw take away a full overlay and draw a new
// one, with each trail a sample on or back, as playback moves it a few samples a redraw. And what applying the mask adds to painting one 1080p frame, and
// the redraw and blend that a rendered 720p frame costs, and that blend alone. And a tenth of
// a second of busy playback: a redraw and three frames shown.
#include <benchmark/benchmark.h>

#include <QPainter>

#include "bench/busy_scene.h"
#include "overlay/frame_overlay.h"
#include "overlay/live_overlay.h"
#include "overlay/overlay_mask.h"
#include "overlay/overlay_show.h"
#include "overlay/yuv_layer_blend.h"

namespace ostrel {
namespace {

// Arguments: points, trajectories, client width, client height, and 1 to count every trail
// anew at each redraw, as the first redraw after a seek does (with the kept trails' memory
// given back and taken again, so a little more).
void BM_RedrawOverlays(benchmark::State& state) {
  TrackStore store = BusyStore(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const int width = static_cast<int>(state.range(2));
  const int height = static_cast<int>(state.range(3));
  const bool afterSeek = state.range(4) != 0;
  const VideoRect rect{0, 0, width, height};
  auto overlay = CreateOverlayResources(QSize(width, height));
  std::int32_t slot = 0;
  for (auto _ : state) {
    store.CurrentSlot = slot;
    if (afterSeek) overlay->keptTrails.Clear();
    RedrawOverlays(*overlay, {store, rect}, true);
    slot = (slot + 1) % kBusySlots;
    benchmark::DoNotOptimize(overlay->trajectoryPixels.data());
  }
  // What one redraw leaves to be shown: trajectory pixels and point pixels.
  std::size_t pointPixels = 0;
  for (const PixelSpan& span : overlay->pointSpans) pointPixels += static_cast<std::size_t>(span.right - span.left + 1);
  std::size_t trajectoryPixels = 0;
  for (const XorRun& run : overlay->trajectoryPixels) trajectoryPixels += static_cast<std::size_t>(run.right - run.left + 1);
  state.counters["trajectory_px"] = static_cast<double>(trajectoryPixels);
  state.counters["trajectory_runs"] = static_cast<double>(overlay->trajectoryPixels.size());
  state.counters["point_px"] = static_cast<double>(pointPixels);
}
BENCHMARK(BM_RedrawOverlays)
    ->Args({200, 20, 1280, 720, 0})
    ->Args({1000, 100, 1920, 1080, 0})
    ->Args({1000, 100, 1920, 1080, 1})
    ->Unit(benchmark::kMicrosecond);

// Playback forward: 1,000 points and 100 trajectories at 1920 x 1080 over 300 frames, three
// frames on at each redraw (30 fps video, the timer's ten redraws a second), back to the
// start after the last (a seek every hundred redraws). Argument: how far a trajectory moves
// from one sample to the next, in thousandths of the picture (the standard deviation of each
// step), from walking people at 4 to fast traffic at 40.
void BM_RedrawOverlaysForward(benchmark::State& state) {
  constexpr int kSlots = 300;
  constexpr int kFramesARedraw = 3;
  TrackStore store = BusyStore(1000, 100, kSlots, static_cast<double>(state.range(0)) / 1000.0);
  const QSize size(1920, 1080);
  auto overlay = CreateOverlayResources(size);
  std::int32_t slot = 0;
  for (auto _ : state) {
    store.CurrentSlot = slot;
    RedrawOverlays(*overlay, {store, VideoRect{0, 0, size.width(), size.height()}}, true);
    slot = (slot + kFramesARedraw) % kSlots;
    benchmark::DoNotOptimize(overlay->trajectoryPixels.data());
  }
}
BENCHMARK(BM_RedrawOverlaysForward)->Arg(4)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMicrosecond);

// The mask of a busy 1080p overlay applied over one frame, as the picture does at every paint:
// argument 0 combines the whole mask, 1 only its marked tiles, 2 the marked tiles through a
// painter, 3 the overlay's own discs and trajectory pixels through a painter (what the
// viewer does).
void BM_ApplyOverlayMask(benchmark::State& state) {
  TrackStore store = BusyStore(1000, 100);
  auto overlay = CreateOverlayResources(QSize(1920, 1080));
  store.CurrentSlot = 0;
  RedrawOverlays(*overlay, {store, VideoRect{0, 0, 1920, 1080}}, true);
  QImage picture(1920, 1080, QImage::Format_RGB32);
  picture.fill(Qt::darkGray);
  const TileMarks tiles = OverlayTiles(*overlay);
  double runs = 0;
  double pixels = 0;
  tiles.ForEachRun(picture.rect(), [&](const QRect& run) {
    runs += 1;
    pixels += run.width() * run.height();
  });
  state.counters["runs"] = runs;
  state.counters["pixels"] = pixels;
  for (auto _ : state) {
    if (state.range(0) == 0) {
      ApplyOverlayMask(picture, Surface(*overlay), QPoint(0, 0));
    } else if (state.range(0) == 1) {
      ApplyOverlayMask(picture, Surface(*overlay), tiles, QPoint(0, 0));
    } else if (state.range(0) == 2) {
      QPainter painter(&picture);
      ApplyOverlayMask(painter, picture.rect(), Surface(*overlay), OverlayTiles(*overlay), QPoint(0, 0));
    } else {
      QPainter painter(&picture);
      ShowOverlay(painter, picture.rect(), *overlay, QPoint(0, 0));
    }
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_ApplyOverlayMask)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

// A tenth of a second of busy 1080p playback: the timer's redraw, then three frames painted,
// each in bands of 64 rows with the overlay shown after each band, as the video view paints.
// The first showing after a redraw puts its runs in bands.
void BM_PlaybackTenth(benchmark::State& state) {
  TrackStore store = BusyStore(1000, 100);
  const QSize size(1920, 1080);
  auto overlay = CreateOverlayResources(size);
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(Qt::darkGray);
  constexpr int kBandRows = 1 << XorBandRuns::kBandShift;  // as the video view paints
  std::int32_t slot = 0;
  for (auto _ : state) {
    store.CurrentSlot = slot;
    RedrawOverlays(*overlay, {store, VideoRect{0, 0, size.width(), size.height()}}, true);
    slot = (slot + 1) % kBusySlots;
    for (int frame = 0; frame < 3; ++frame) {
      QPainter painter(&picture);
      for (int top = 0; top < size.height(); top += kBandRows) {
        ShowOverlay(painter, QRect(0, top, size.width(), std::min(kBandRows, size.height() - top)), *overlay, QPoint(0, 0));
      }
    }
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_PlaybackTenth)->Unit(benchmark::kMicrosecond);

// A decoded 1280 x 720 4:2:0 picture of mid grey, to draw into.
struct GreyPicture {
  std::vector<std::uint8_t> luma = std::vector<std::uint8_t>(1280 * 720, 90);
  std::vector<std::uint8_t> chroma = std::vector<std::uint8_t>(640 * 360 * 2, 128);
  YuvPicture view() {
    YuvPicture picture;
    picture.width = 1280;
    picture.height = 720;
    picture.y = {luma.data(), 1280, 1};
    picture.u = {chroma.data(), 640, 1};
    picture.v = {chroma.data() + 640 * 360, 640, 1};
    return picture;
  }
};

// A rendered frame's share of the live look: the redraw of a busy 720p overlay and its mask
// blended into a decoded picture, frames alternating as in playback.
void BM_RedrawAndBlendIntoYuv(benchmark::State& state) {
  TrackStore store = BusyStore(200, 20);
  FrameOverlay overlay(OverlayStyle::Live, QSize(1280, 720));
  GreyPicture picture;
  std::int32_t slot = 0;
  for (auto _ : state) {
    store.CurrentSlot = slot;
    overlay.Draw(picture.view(), store, true);
    slot = 1 - slot;
    benchmark::DoNotOptimize(picture.luma.data());
  }
}
BENCHMARK(BM_RedrawAndBlendIntoYuv)->Unit(benchmark::kMicrosecond);

// The blend alone, by the part of the mask it looks at: 0 the whole mask, 1 its marked tiles,
// 2 the blocks of its discs' and trajectories' pixels (what a render does).
void BM_BlendIntoYuv(benchmark::State& state) {
  TrackStore store = BusyStore(200, 20);
  store.CurrentSlot = 0;
  auto overlay = CreateOverlayResources(QSize(1280, 720));
  RedrawOverlays(*overlay, {store, {0, 0, 1280, 720}}, true);
  const TileMarks tiles = OverlayTiles(*overlay);
  GreyPicture picture;
  TouchedBlocks blocks;
  for (auto _ : state) {
    switch (state.range(0)) {
      case 0: BlendLayerIntoYuv(Surface(*overlay), LayerBlend::Xor, picture.view()); break;
      case 1: BlendLayerIntoYuv(Surface(*overlay), tiles, LayerBlend::Xor, picture.view()); break;
      default:
        BlendLayerIntoYuv(Surface(*overlay), DrawnPixels{overlay->pointSpans, overlay->trajectoryPixels}, blocks,
                          LayerBlend::Xor, picture.view());
    }
    benchmark::DoNotOptimize(picture.luma.data());
  }
}
BENCHMARK(BM_BlendIntoYuv)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ostrel

BENCHMARK_MAIN();
