#include "bench/busy_scene.h"

#include <algorithm>
#include <random>

namespace ostrel {
namespace {

// Samples before the first frame's, so that its trail reaches back the full 51 samples.
constexpr int kSamplesBefore = 58;

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

}  // namespace

TrackStore BusyStore(int pointCount, int trajectoryCount) {
  return BusyStore(pointCount, trajectoryCount, kBusySlots, 0.004);
}

// Slot s shows sample kSamplesBefore + s of every trajectory.
TrackStore BusyStore(int pointCount, int trajectoryCount, int slots, double stepSpread) {
  const int samples = kSamplesBefore + slots;
  std::mt19937 random(5);
  std::uniform_real_distribution<double> unit(0.1, 0.9);
  std::normal_distribution<double> step(0.0, stepSpread);
  TrackStore store;
  store.slotCount = slots;
  for (int slot = 0; slot < slots; ++slot) {
    store.frameIndex.push_back(slot);
    store.pointFrames.push_back(
        {slot, 40 * slot, static_cast<std::int16_t>(pointCount), slot * pointCount});
    for (int p = 0; p < pointCount; ++p) store.points.push_back({unit(random), unit(random)});
    store.frameTrajectoryIndex.push_back(
        {slot * trajectoryCount, static_cast<std::int16_t>(trajectoryCount)});
    for (int t = 0; t < trajectoryCount; ++t)
      store.frameTrajectoryList.push_back({t, kSamplesBefore + slot});
  }
  for (int t = 0; t < trajectoryCount; ++t) {
    Trajectory trajectory;
    trajectory.header.kind = t % 3;
    double x = unit(random);
    double y = unit(random);
    for (int s = 0; s < samples; ++s) {
      x = std::clamp(x + step(random), 0.05, 0.95);
      y = std::clamp(y + step(random), 0.05, 0.95);
      trajectory.samples.push_back(WanderingSample(random, x, y));
    }
    store.trajectories.push_back(std::move(trajectory));
  }
  return store;
}

}  // namespace ostrel
