// The two frame searches over a table of a million slots (nine hours at 30 frames a second).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "track/frame_lookup.h"

namespace ostrel {
namespace {

constexpr std::int32_t kSlots = 1'000'000;
constexpr ClockMs kFirstClock = 5'000;
constexpr ClockMs kFrameMs = 33;

TrackStore MillionSlotStore() {
  TrackStore store;
  store.slotCount = kSlots;
  store.frameIndex.resize(kSlots);
  store.frameTrajectoryIndex.resize(kSlots);
  for (std::int32_t slot = 0; slot < kSlots; ++slot) {
    store.frameIndex[static_cast<std::size_t>(slot)] = slot;
    store.pointFrames.push_back({slot, kFirstClock + slot * kFrameMs, 0, 0});
  }
  return store;
}

void BM_FindFrameForTime(benchmark::State& state) {
  TrackStore store = MillionSlotStore();
  std::mt19937 random(11);
  std::uniform_int_distribution<ClockMs> times(kFirstClock, kFirstClock + kSlots * kFrameMs);
  std::vector<ClockMs> targets(4096);
  for (ClockMs& target : targets) target = times(random);
  std::size_t next = 0;
  for (auto _ : state) {
    FindFrameForTime(store, targets[next++ & 4095]);
    benchmark::DoNotOptimize(store.CurrentSlot);
  }
}
BENCHMARK(BM_FindFrameForTime);

// One call per 100 ms playback tick: about three slots forward each time.
void BM_AdvanceFrameToTime(benchmark::State& state) {
  TrackStore store = MillionSlotStore();
  ClockMs time = kFirstClock;
  FindFrameForTime(store, time);
  for (auto _ : state) {
    time += 100;
    if (time > kFirstClock + (kSlots - 1) * kFrameMs) {
      time = kFirstClock;  // the video loops: playback takes the full search, as at its end
      FindFrameForTime(store, time);
    }
    AdvanceFrameToTime(store, time);
    benchmark::DoNotOptimize(store.CurrentSlot);
  }
}
BENCHMARK(BM_AdvanceFrameToTime);

}  // namespace
}  // namespace ostrel

BENCHMARK_MAIN();
