// One live redraw of a busy frame: 200 points and 20 trajectories, each with a trail through
// 51 samples and its box, on a 1280 x 720 client area. Alternating two frames makes every
// redraw take away a full overlay and draw a new one, as playback does.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "overlay/live_overlay.h"

namespace ostrel {
namespace {

constexpr int kPoints = 200;
constexpr int kTrajectories = 20;
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
TrackStore BusyStore() {
  std::mt19937 random(5);
  std::uniform_real_distribution<double> unit(0.1, 0.9);
  std::normal_distribution<double> step(0.0, 0.004);
  TrackStore store;
  store.slotCount = kSlots;
  for (int slot = 0; slot < kSlots; ++slot) {
    store.frameIndex.push_back(slot);
    store.pointFrames.push_back(
        {slot, 40 * slot, static_cast<std::int16_t>(kPoints), slot * kPoints});
    for (int p = 0; p < kPoints; ++p) store.points.push_back({unit(random), unit(random)});
    store.frameTrajectoryIndex.push_back(
        {slot * kTrajectories, static_cast<std::int16_t>(kTrajectories)});
    for (int t = 0; t < kTrajectories; ++t)
      store.frameTrajectoryList.push_back({t, kSamples - kSlots + slot});
  }
  for (int t = 0; t < kTrajectories; ++t) {
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

void BM_RedrawOverlays(benchmark::State& state) {
  TrackStore store = BusyStore();
  const VideoRect rect{0, 0, 1280, 720};
  auto overlay = CreateOverlayResources(QSize(1280, 720));
  std::int32_t slot = 0;
  for (auto _ : state) {
    store.CurrentSlot = slot;
    RedrawOverlays(*overlay, {store, rect}, true);
    slot = 1 - slot;
    benchmark::DoNotOptimize(overlay->surface.constBits());
  }
}
BENCHMARK(BM_RedrawOverlays)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ostrel

BENCHMARK_MAIN();
