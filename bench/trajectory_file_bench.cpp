// How fast a large trajectory file loads, against the floor of reading its bytes and against
// a straightforward line-by-line reader of the same lines.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <strings.h>
#include <vector>

#include "tests/support/point_file_writer.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/support/trajectory_file_writer.h"
#include "track/byte_source.h"
#include "track/point_file.h"
#include "track/track_store.h"
#include "track/trajectory_file.h"
#include "track/trajectory_index.h"
#include "track/trajectory_lines.h"

namespace {

using namespace ostrel;

constexpr std::int32_t kTrajectories = 12'000;
constexpr std::int32_t kSamplesPerTrajectory = 100;
constexpr std::int32_t kLastFrame = 30'100;

// Values with seven decimals, as trackers print them; lines come out at about 170 characters.
double Rounded(double value) { return std::round(value * 1e7) / 1e7; }

// About 200 MB: 1.2 million sample lines in 12,000 trajectories over 30,000 frames, beside a
// point file that spans those frames. Written once per run.
class LargeTrajectoryFile {
 public:
  LargeTrajectoryFile() {
    testing::WritePointFile(folder_.File("big.lpa"), {{1, 0, {}, {}}, {kLastFrame, 0, {}, {}}});
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    testing::TrajectoryFileWriter writer(folder_.File("big.traj"));
    for (std::int32_t t = 0; t < kTrajectories; ++t) {
      testing::TrajectoryRecord header;
      header.id = t;
      header.param1 = Rounded(unit(random) * 2);
      header.param2 = Rounded(unit(random) * 2);
      header.param3 = Rounded(unit(random));
      writer.WriteHeader(header);
      const std::int32_t start = 1 + (t * 37) % (kLastFrame - kSamplesPerTrajectory - 1);
      for (std::int32_t s = 0; s < kSamplesPerTrajectory; ++s) {
        testing::TrajectorySampleLine line;
        line.frame = start + s;
        line.clockMs = 1'000'000 + 40 * line.frame;
        for (TrackPoint& corner : line.corners) corner = {Rounded(unit(random)), Rounded(unit(random))};
        line.score = Rounded(unit(random) * 5);
        line.breakValue = s % 50 == 0 ? 1 : 0;
        writer.WriteSample(line);
      }
    }
    writer.Close();
  }

  std::string Video() const { return folder_.File("big.avi"); }
  std::string Path() const { return folder_.File("big.traj"); }
  static constexpr std::int64_t kSampleLines = std::int64_t{kTrajectories} * kSamplesPerTrajectory;

 private:
  testing::TempFolder folder_;
};

const LargeTrajectoryFile& File() {
  static const LargeTrajectoryFile file;
  return file;
}

void SetBytes(benchmark::State& state, std::uint64_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * static_cast<std::int64_t>(state.iterations()));
}

std::uint64_t FileBytes(const std::string& path) {
  OpenedFile opened;
  if (!OpenForReading(path.c_str(), opened)) throw std::runtime_error("cannot open " + path);
  return opened.size;
}

// The floor: the file's bytes read into memory and nothing else. Gives the bytes read.
std::uint64_t PlainRead(const std::string& path, std::vector<char>& buffer) {
  OpenedFile opened;
  if (!OpenForReading(path.c_str(), opened)) throw std::runtime_error("cannot open " + path);
  std::uint64_t bytes = 0;
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), opened.handle.get())) > 0) {
    bytes += got;
    benchmark::DoNotOptimize(buffer.data());
  }
  return bytes;
}

void BM_PlainRead(benchmark::State& state) {
  const std::string path = File().Path();
  std::vector<char> buffer(std::size_t{1} << 20);
  std::uint64_t total = 0;
  for (auto _ : state) total = PlainRead(path, buffer);
  SetBytes(state, total);
}

// The naive baseline: fgets into 200 bytes, strtok, and the C library's conversions, each
// sample pushed into a growing vector.
void BM_NaiveFgetsStrtod(benchmark::State& state) {
  const std::string path = File().Path();
  std::vector<TrajectorySample> samples;
  for (auto _ : state) {
    samples.clear();
    std::FILE* file = std::fopen(path.c_str(), "r");
    char line[200];
    std::int32_t id = 0;
    while (std::fgets(line, sizeof line, file)) {
      if (strncasecmp(line, "trajectory", 10) == 0) {
        std::strtok(line, " ,\t\n");
        id = static_cast<std::int32_t>(std::strtol(std::strtok(nullptr, " ,\t\n"), nullptr, 10));
      } else if (strncasecmp(line, "frame=", 6) == 0) {
        TrajectorySample sample;
        sample.trajectoryId = id;
        sample.frame = static_cast<std::int32_t>(std::strtol(std::strtok(line, " ,\t\n") + 6, nullptr, 10));
        sample.clockMs = static_cast<std::int32_t>(std::strtol(std::strtok(nullptr, " ,\t\n") + 5, nullptr, 10));
        for (TrackPoint& corner : sample.corners) {
          corner.x = std::strtod(std::strtok(nullptr, " ,\t\n") + 3, nullptr);
          corner.y = std::strtod(std::strtok(nullptr, " ,\t\n") + 3, nullptr);
        }
        sample.score = std::strtod(std::strtok(nullptr, " ,\t\n") + 6, nullptr);
        sample.breakFlag = std::strtol(std::strtok(nullptr, " ,\t\n") + 9, nullptr, 10) != 0;
        samples.push_back(sample);
      }
    }
    std::fclose(file);
    if (samples.size() != static_cast<std::size_t>(LargeTrajectoryFile::kSampleLines)) {
      state.SkipWithError("the naive reader lost lines");
    }
    benchmark::DoNotOptimize(samples.data());
  }
  SetBytes(state, FileBytes(path));
}

void LoadPoints(TrackStore& store, benchmark::State& state) {
  testing::RecordingMessages messages;
  if (!LoadPointFile(store, File().Video(), messages)) state.SkipWithError("no point file");
}

void BM_LoadTrajectoryFile(benchmark::State& state) {
  TrackStore store;
  LoadPoints(store, state);
  testing::RecordingMessages messages;
  for (auto _ : state) {
    if (!LoadTrajectoryFile(store, File().Video(), messages)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(store.frameTrajectoryList.data());
  }
  std::uint64_t stored = 0;
  for (const Trajectory& trajectory : store.trajectories) stored += trajectory.samples.size();
  if (stored != static_cast<std::uint64_t>(LargeTrajectoryFile::kSampleLines)) {
    state.SkipWithError("samples went missing");
  }
  SetBytes(state, FileBytes(File().Path()));
}

// A plain read and a load, one after the other in every iteration, so that both meet the same
// host: on a shared machine the floor moves by half within minutes, and a ratio of runs taken
// apart moves with it. Reports the milliseconds of each and the load's time over the read's.
void BM_LoadAgainstPlainRead(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  TrackStore store;
  LoadPoints(store, state);
  testing::RecordingMessages messages;
  std::vector<char> buffer(std::size_t{1} << 20);
  Clock::duration reading{};
  Clock::duration loading{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    PlainRead(File().Path(), buffer);
    const Clock::time_point read = Clock::now();
    if (!LoadTrajectoryFile(store, File().Video(), messages)) state.SkipWithError("load failed");
    loading += Clock::now() - read;
    reading += read - start;
  }
  const auto iterations = static_cast<double>(state.iterations());
  const auto ms = [iterations](Clock::duration total) {
    return std::chrono::duration<double, std::milli>(total).count() / iterations;
  };
  state.counters["read_ms"] = ms(reading);
  state.counters["load_ms"] = ms(loading);
  state.counters["load_over_read"] = ms(loading) / ms(reading);
}

// The file's text as the loader's chunks give it to the parse: pieces of about 256 kB, each
// ending where a line ends.
std::vector<std::string> TextChunks() {
  std::vector<std::string> chunks;
  std::FILE* file = std::fopen(File().Path().c_str(), "rb");
  if (file == nullptr) throw std::runtime_error("cannot open " + File().Path());
  std::string carried;
  std::vector<char> buffer(std::size_t{1} << 18);
  std::size_t got = 0;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) {
    carried.append(buffer.data(), got);
    const std::size_t end = carried.rfind('\n');
    if (end == std::string::npos) continue;
    chunks.push_back(carried.substr(0, end + 1));
    carried.erase(0, end + 1);
  }
  std::fclose(file);
  if (!carried.empty()) chunks.push_back(carried);
  return chunks;
}

// The parse alone, on one thread, over text already in memory: what each of the loader's two
// threads spends most of its time on.
void BM_ReadTrajectoryLines(benchmark::State& state) {
  const std::vector<std::string> chunks = TextChunks();
  std::vector<TrajectoryLineRead> lines;
  std::uint64_t read = 0;
  for (auto _ : state) {
    read = 0;
    for (const std::string& chunk : chunks) {
      ReadTrajectoryLines(chunk, lines);
      read += lines.size();
      benchmark::DoNotOptimize(lines.data());
    }
  }
  if (read != static_cast<std::uint64_t>(LargeTrajectoryFile::kSampleLines + kTrajectories)) {
    state.SkipWithError("lines went missing");
  }
  state.counters["ns_per_line"] = benchmark::Counter(
      static_cast<double>(read) * static_cast<double>(state.iterations()) / 1e9,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_BuildFrameTrajectoryIndex(benchmark::State& state) {
  TrackStore store;
  LoadPoints(store, state);
  testing::RecordingMessages messages;
  if (!LoadTrajectoryFile(store, File().Video(), messages)) state.SkipWithError("load failed");
  for (auto _ : state) {
    BuildFrameTrajectoryIndex(store, messages);
    benchmark::DoNotOptimize(store.frameTrajectoryIndex.data());
  }
  state.SetItemsProcessed(LargeTrajectoryFile::kSampleLines * static_cast<std::int64_t>(state.iterations()));
  // Nanoseconds per sample are milliseconds per million samples.
  state.counters["ms_per_million_samples"] = benchmark::Counter(
      static_cast<double>(LargeTrajectoryFile::kSampleLines) * static_cast<double>(state.iterations()) / 1e9,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The loader reads on two threads: its CPU column counts the whole process, and its time is
// the time a user waits.
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_NaiveFgetsStrtod)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_LoadTrajectoryFile)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_LoadAgainstPlainRead)->Unit(benchmark::kMillisecond)->MinTime(4.0)->UseRealTime();
BENCHMARK(BM_ReadTrajectoryLines)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BuildFrameTrajectoryIndex)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
