// Loading a point file of ten million points (about 160 MB) against reading the same bytes
// into memory, and the heap the load needs at its peak against the store it leaves.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

#include "bench/heap_meter.h"
#include "tests/support/point_file_writer.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"
#include "track/byte_source.h"
#include "track/point_file.h"

namespace ostrel {
namespace {

constexpr int kRecords = 200'000;
constexpr int kPointsPerRecord = 50;

// Thirty frames a second, fifty detections each, written once per run.
const testing::TempFolder& BenchFolder() {
  static const testing::TempFolder folder;
  static const bool written = [] {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<testing::PointRecord> records;
    records.reserve(kRecords);
    for (int frame = 0; frame < kRecords; ++frame) {
      std::vector<TrackPoint> points(kPointsPerRecord);
      for (TrackPoint& point : points) point = {unit(random), unit(random)};
      records.emplace_back(frame, 1000 + frame * 33, std::move(points));
    }
    testing::WritePointFile(folder.File("bench.lpa"), records);
    return true;
  }();
  (void)written;
  return folder;
}

void BM_PlainRead(benchmark::State& state) {
  const std::string path = BenchFolder().File("bench.lpa");
  for (auto _ : state) {
    OpenedFile file;
    if (!OpenForReading(path.c_str(), file)) state.SkipWithError("cannot open the bench file");
    std::vector<char> bytes(file.size);
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file.handle.get());
    benchmark::DoNotOptimize(got);
    benchmark::DoNotOptimize(bytes.data());
    state.SetBytesProcessed(state.bytes_processed() + static_cast<std::int64_t>(got));
  }
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_LoadPointFile(benchmark::State& state) {
  const std::string video = BenchFolder().File("bench.avi");
  testing::DiscardMessages messages;
  std::size_t peakOverStore = 0;
  std::size_t storeBytes = 0;
  for (auto _ : state) {
    TrackStore store;
    const std::size_t before = bench::HeapBytesNow();
    bench::ResetHeapPeak();
    if (!LoadPointFile(store, video, messages)) state.SkipWithError("load failed");
    storeBytes = TrackStoreBytes(store);
    peakOverStore = bench::HeapBytesPeak() - before;
    state.SetBytesProcessed(state.bytes_processed() +
                            static_cast<std::int64_t>(store.points.size() * sizeof(TrackPoint)));
  }
  state.counters["store_MB"] = static_cast<double>(storeBytes) / 1e6;
  state.counters["peak_MB"] = static_cast<double>(peakOverStore) / 1e6;
  state.counters["peak_per_store"] = static_cast<double>(peakOverStore) / static_cast<double>(storeBytes);
}
BENCHMARK(BM_LoadPointFile)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
}  // namespace ostrel

BENCHMARK_MAIN();
