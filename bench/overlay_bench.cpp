// One live redraw of a busy frame (200 points and 20 trajectories on 1280 x 720; 1,000 points
// and 100 trajectories on 1920 x 1080), each trajectory with a trail through 51 samples and
// its box. Alternating two frames makes every redraw take away a full overlay and draw a new
// one, as playback does. And what applying the mask adds to painting one 1080p frame, and
// the redraw and blend that a rendered 720p frame costs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "overlay/live_overlay.h"
#include "overlay/overlay_mask.h"
#include "overlay/yuv_layer_blend.h"

namespace ostrel {
namespace {

constexpr int kSamples = 60;
constexpr int kSlots = 2;

TrajectorySample WanderingSample(std::mt19937& random, double x, double y) {
  std::uniform_real_distribution<double> half(0.01, 0.03);
  TrajectorySample sample;
  const double w = half(random);
  const double h = half(random);
  sample.corners[0] = {x - w, y + h};
  sample.corners[1] = {x + w, y + h};
  sample.corners[2] = {x + w, y - h};
  sample.corners[3] = {x - w, y - h};
  sample.centre = {x, y};
  return sample;
}

// Slot s shows sample kSamples - kSlots + s of every trajectory, so its trail reaches back
// the full 51 samples.
TrackStore BusyStore(int pointCount, int trajectoryCount) {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> unit(0.1, 0.9);
  std::normal_distribution<double> step(0.0, 0.004);
  TrackStore store;
  store.slotCount = kSlots;
  for (int slot = 0; slot < kSlots; ++slot) {
    store.frameIndex.push_back(slot);
    store.pointFrames.push_back(
        {slot, 40 * slot, static_cast<std::int16_t>(pointCount), slot * pointCount});
    for (int p = 0; p < pointCount; ++p) store.points.push_back({unit(random), unit(random)});
    store.frameTrajectoryIndex.push_back(
        {slot * trajectoryCount, static_cast<std::int16_t>(trajectoryCount)});
    for (int t = 0; t < trajectoryCount; ++t)
      store.frameTrajectoryList.push_back({t, kSamples - kSlots + slot});
  }
  for (int t = 0; t < trajectoryCount; ++t) {
    Trajectory trajectory;
    trajectory.header.kind = t % 3;
    double x = unit(random);
    double y = unit(random);
    for (int s = 0; s < kSamples; ++s) {
      x = std::clamp(x + step(random), 0.05, 0.95);
      y = std::clamp(y + step(random), 0.05, 0.95);
      trajectory.samples.push_back(WanderingSample(random, x, y));
    }
    store.trajectories.push_back(std::move(trajectory));
  }
  return store;
}

// Arguments: points, trajectories, client width, client height.
void BM_RedrawOverlays(benchmark::State& state) {
  TrackStore store = BusyStore(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const int width = static_cast<int>(state.range(2));
  const int height = static_cast<int>(state.range(3));
  const VideoRect rect{0, 0, width, height};
  auto overlay = CreateOverlayResources(QSize(width, height));
  std::int32_t slot = 0;
  for (auto _ : state) {
    store.CurrentSlot = slot;
    RedrawOverlays(*overlay, {store, rect}, true);
    slot = 1 - slot;
    benchmark::DoNotOptimize(overlay->surface.constBits());
  }
}
BENCHMARK(BM_RedrawOverlays)->Args({200, 20, 1280, 720})->Args({1000, 100, 1920, 1080})->Unit(benchmark::kMicrosecond);

// The mask of a busy 1080p overlay applied over one frame, as the picture does at every paint.
void BM_ApplyOverlayMask(benchmark::State& state) {
  TrackStore store = BusyStore(1000, 100);
  auto overlay = CreateOverlayResources(QSize(1920, 1080));
  store.CurrentSlot = 0;
  RedrawOverlays(*overlay, {store, VideoRect{0, 0, 1920, 1080}}, true);
  QImage picture(1920, 1080, QImage::Format_RGB32);
  picture.fill(Qt::darkGray);
  for (auto _ : state) {
    ApplyOverlayMask(picture, overlay->surface, QPoint(0, 0));
    benchmark::DoNotOptimize(picture.constBits());
  }
}
BENCHMARK(BM_ApplyOverlayMask)->Unit(benchmark::kMicrosecond);

// A rendered frame's share of the live look: the redraw of a busy 720p overlay and its mask
// blended into a decoded 4:2:0 picture, frames alternating as in playback.
void BM_RedrawAndBlendIntoYuv(benchmark::State& state) {
  TrackStore store = BusyStore(200, 20);
  const VideoRect rect{0, 0, 1280, 720};
  auto overlay = CreateOverlayResources(QSize(1280, 720));
  std::vector<std::uint8_t> luma(1280 * 720, 90);
  std::vector<std::uint8_t> chroma(640 * 360 * 2, 128);
  YuvPicture picture;
  picture.width = 1280;
  picture.height = 720;
  picture.y = {luma.data(), 1280, 1};
  picture.u = {chroma.data(), 640, 1};
  picture.v = {chroma.data() + 640 * 360, 640, 1};
  std::int32_t slot = 0;
  for (auto _ : state) {
    store.CurrentSlot = slot;
    RedrawOverlays(*overlay, {store, rect}, true);
    BlendLayerIntoYuv(overlay->surface, LayerBlend::Xor, picture);
    slot = 1 - slot;
    benchmark::DoNotOptimize(luma.data());
  }
}
BENCHMARK(BM_RedrawAndBlendIntoYuv)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ostrel

BENCHMARK_MAIN();
