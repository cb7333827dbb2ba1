// Loads arbitrary bytes as the trajectory file of a video whose small point file is fixed,
// and checks that the table and the per-frame index are consistent, whatever the file held.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "fuzz/fuzz_check.h"

#include "tests/support/point_file_writer.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"
#include "track/point_file.h"
#include "track/sample_line_vector.h"
#include "track/text_lines.h"
#include "track/trajectory_file.h"
#include "track/trajectory_index.h"
#include "track/trajectory_lines.h"

namespace {

using ostrel::fuzzing::Require;

// Frames 5 to 44 after renumbering: raw 5, 20, then a new segment from 21 (raw 0 .. 23).
const ostrel::testing::TempFolder& Folder() {
  static const ostrel::testing::TempFolder folder;
  static const bool written = [] {
    ostrel::testing::WritePointFile(folder.File("clip.lpa"),
                                    {{5, 0, {}, {}}, {20, 800, {}, {}}, {0, 840, {}, {}}, {23, 1760, {}, {}}});
    return true;
  }();
  (void)written;
  return folder;
}

// Every stored sample lies in a slot, and the index's runs cover exactly the stored samples,
// each once, in trajectory and sample order within a slot.
void CheckIndex(const ostrel::TrackStore& store) {
  std::size_t stored = 0;
  for (std::size_t i = 0; i < store.trajectories.size(); ++i) {
    const auto& trajectory = store.trajectories[i];
    // Only the last entry may be without samples.
    Require(!trajectory.samples.empty() || i + 1 == store.trajectories.size());
    for (const ostrel::TrajectorySample& sample : trajectory.samples) {
      const std::int64_t slot = std::int64_t{sample.frame} - store.firstFrame;
      Require(slot >= 0 && slot < store.slotCount);
      Require(sample.trajectoryId == trajectory.header.id);
      Require(sample.breakFlag == 0 || sample.breakFlag == 1);
    }
    if (!trajectory.samples.empty()) Require(trajectory.header.kind >= 0 && trajectory.header.kind <= 2);
    stored += trajectory.samples.size();
  }
  Require(store.frameTrajectoryList.size() == stored);
  std::vector<bool> seen(stored, false);
  std::int64_t first = 0;
  for (std::int32_t slot = 0; slot < store.slotCount; ++slot) {
    const ostrel::FrameTrajectoryIndex entry = store.frameTrajectoryIndex[static_cast<std::size_t>(slot)];
    Require(entry.first == first && entry.count >= 0);
    Require(static_cast<std::size_t>(entry.first + entry.count) <= stored);
    const ostrel::FrameTrajectoryList* previous = nullptr;
    for (std::int32_t k = entry.first; k < entry.first + entry.count; ++k) {
      const ostrel::FrameTrajectoryList pair = store.frameTrajectoryList[static_cast<std::size_t>(k)];
      Require(pair.trajectory >= 0 && pair.trajectory < store.trajectoryCount());
      const auto& samples = store.trajectories[static_cast<std::size_t>(pair.trajectory)].samples;
      Require(pair.sample >= 0 && static_cast<std::size_t>(pair.sample) < samples.size());
      Require(samples[static_cast<std::size_t>(pair.sample)].frame - store.firstFrame == slot);
      if (previous) {
        Require(previous->trajectory < pair.trajectory ||
                (previous->trajectory == pair.trajectory && previous->sample < pair.sample));
      }
      previous = &store.frameTrajectoryList[static_cast<std::size_t>(k)];
      Require(!seen[static_cast<std::size_t>(k)]);
      seen[static_cast<std::size_t>(k)] = true;
    }
    first += entry.count;
  }
  Require(static_cast<std::size_t>(first) == stored);
}

// The file read in the smallest chunks, on two threads, gives the same store, report and
// messages as read in one.
void CheckSmallChunksReadTheSame(const std::string& video, const ostrel::TrajectoryFileLimits& limits,
                                 const ostrel::TrackStore& whole, const ostrel::TrajectoryFileReport& wholeReport,
                                 const ostrel::testing::RecordingMessages& wholeMessages) {
  ostrel::TrackStore store;
  ostrel::testing::RecordingMessages messages;
  Require(ostrel::LoadPointFile(store, video, messages));
  ostrel::TrajectoryFileLimits small = limits;
  small.chunkBytes = 1;
  ostrel::TrajectoryFileReport report;
  ostrel::LoadTrajectoryFile(store, video, messages, small, &report);
  Require(report == wholeReport && messages.shown == wholeMessages.shown);
  Require(store.trajectories.size() == whole.trajectories.size());
  for (std::size_t i = 0; i < store.trajectories.size(); ++i) {
    Require(store.trajectories[i].header == whole.trajectories[i].header);
    Require(store.trajectories[i].samples == whole.trajectories[i].samples);
  }
  Require(store.frameTrajectoryList == whole.frameTrajectoryList);
  Require(store.frameTrajectoryIndex == whole.frameTrajectoryIndex);
}

// Two lines as read are the same, bit for bit (== would take -0.0 for 0.0).
bool SameBits(const ostrel::TrajectoryLineRead& a, const ostrel::TrajectoryLineRead& b) {
  if (a.index() != b.index()) return false;
  if (const auto* header = std::get_if<ostrel::HeaderLine>(&a)) {
    const auto& other = std::get<ostrel::HeaderLine>(b);
    return header->complete == other.complete && header->header == other.header;
  }
  const auto& sample = std::get<ostrel::SampleLine>(a);
  const auto& other = std::get<ostrel::SampleLine>(b);
  return sample.rawFrame == other.rawFrame && sample.complete == other.complete &&
         std::memcmp(&sample.values, &other.values, sizeof sample.values) == 0;
}

// The input read with the quickest readers gives the same lines as read with the general
// reader alone; and every line piece that the vector reader takes on its own reads as the
// general reader reads it.
void CheckReadersAgree(std::string_view text) {
  std::vector<ostrel::TrajectoryLineRead> quickest;
  std::vector<ostrel::TrajectoryLineRead> general;
  ostrel::ReadTrajectoryLines(text, quickest, ostrel::SampleLineReaders::Quickest);
  ostrel::ReadTrajectoryLines(text, general, ostrel::SampleLineReaders::GeneralOnly);
  Require(quickest.size() == general.size());
  for (std::size_t i = 0; i < quickest.size(); ++i) Require(SameBits(quickest[i], general[i]));
  while (!text.empty()) {
    const std::string_view piece = ostrel::TakeLinePiece(text);
    ostrel::SampleLine vector;
    if (ostrel::ReadSampleLineVector(piece, vector)) {
      Require(SameBits(vector, ostrel::TrajectoryLineRead(ostrel::ReadSampleLine(piece))));
    }
  }
}

bool IndexEmpty(const ostrel::TrackStore& store) {
  for (const ostrel::FrameTrajectoryIndex& entry : store.frameTrajectoryIndex) {
    if (entry.first != 0 || entry.count != 0) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckReadersAgree(std::string_view(reinterpret_cast<const char*>(data), size));
  const ostrel::testing::TempFolder& folder = Folder();
  ostrel::testing::WriteFileBytes(folder.File("clip.traj"),
                                  std::string(reinterpret_cast<const char*>(data), size));
  ostrel::TrackStore store;
  ostrel::testing::RecordingMessages messages;
  Require(ostrel::LoadPointFile(store, folder.File("clip.avi"), messages));
  Require(store.firstFrame == 5 && store.slotCount == 40 && messages.shown.empty());
  ostrel::TrajectoryFileReport report;
  // A small budget makes the growth failures reachable too.
  ostrel::TrajectoryFileLimits limits;
  limits.memoryBudgetBytes = size % 7 == 0 ? size * 8 : std::uint64_t{1} << 26;
  limits.chunkBytes = std::size_t{1} << 20;
  const bool loaded = ostrel::LoadTrajectoryFile(store, folder.File("clip.avi"), messages, limits, &report);
  CheckSmallChunksReadTheSame(folder.File("clip.avi"), limits, store, report, messages);
  if (!loaded) {
    Require(!messages.shown.empty() && IndexEmpty(store) && store.frameTrajectoryList.empty());
  } else if (!messages.shown.empty()) {
    // Only the index's counters may fail in a successful load; no frame then shows anything.
    Require(messages.shown.size() == 1 && messages.shown[0].text == ostrel::kTrajectoryIndexBuildText);
    Require(IndexEmpty(store) && store.frameTrajectoryList.size() == report.samplesStored);
  } else if (report.cappedSlots == 0) {
    // Inputs short enough for a fuzzer never crowd 32,767 samples into one frame.
    CheckIndex(store);
    Require(report.samplesStored == store.frameTrajectoryList.size());
  }
  return 0;
}
