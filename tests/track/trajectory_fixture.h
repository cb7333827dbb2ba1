#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/point_file_writer.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"
#include "tests/support/trajectory_file_writer.h"
#include "track/point_file.h"
#include "track/track_store.h"
#include "track/trajectory_file.h"

namespace ostrel::testing {

// A sample line whose box and score are told apart by its frame.
inline TrajectorySampleLine SampleAt(std::int32_t frame, double score = 0.5, std::int32_t breakValue = 0) {
  const double x = 0.001 * frame;
  TrajectorySampleLine line;
  line.frame = frame;
  line.clockMs = 1000 + 40 * (frame % 10000);
  line.corners = {{{x, 0.25}, {x + 0.5, 0.25}, {x + 0.5, 0.75}, {x, 0.75}}};
  line.score = score;
  line.breakValue = breakValue;
  return line;
}

inline TrajectoryRecord TrajectoryOf(std::int32_t id, std::vector<TrajectorySampleLine> samples,
                                   double param1 = 0.5, double param2 = 0.5, double param3 = 0.8) {
  TrajectoryRecord record;
  record.id = id;
  record.param1 = param1;
  record.param2 = param2;
  record.param3 = param3;
  record.samples = std::move(samples);
  return record;
}

// A video in a fresh folder with a point file whose frames run from `firstFrame` to
// `lastFrame` (one record at each end), ready for its trajectory file.
class TrajectoryFixture {
 public:
  explicit TrajectoryFixture(std::int32_t firstFrame = 10, std::int32_t lastFrame = 59) {
    WritePointFile(folder.File("clip.lpa"), {PointRecord{firstFrame, 0, {}, {}},
                                             PointRecord{lastFrame, 0, {}, {}}});
  }

  std::string Video() const { return folder.File("clip.avi"); }
  std::string TrajectoryPath() const { return folder.File("clip.traj"); }

  void Write(const std::vector<TrajectoryRecord>& records, LineEnd lineEnd = LineEnd::Lf) const {
    WriteTrajectoryFile(TrajectoryPath(), records, lineEnd);
  }
  void WriteLines(const std::vector<std::string>& lines, LineEnd lineEnd = LineEnd::Lf) const {
    WriteTrajectoryLines(TrajectoryPath(), lines, lineEnd);
  }

  // Loads the point file, then the trajectory file, as the loading of a video does.
  bool Load(const TrajectoryFileLimits& limits = {}, TrajectoryFileReport* report = nullptr) {
    if (!LoadPointFile(store, Video(), messages)) ADD_FAILURE() << "the point file did not load";
    return LoadTrajectoryFile(store, Video(), messages, limits, report);
  }

  TempFolder folder;
  TrackStore store;
  RecordingMessages messages;
};

// The absolute frames of every stored sample, trajectory by trajectory.
inline std::vector<std::vector<std::int32_t>> StoredFrames(const TrackStore& store) {
  std::vector<std::vector<std::int32_t>> frames;
  for (const auto& trajectory : store.trajectories) {
    frames.emplace_back();
    for (const TrajectorySample& sample : trajectory.samples) frames.back().push_back(sample.frame);
  }
  return frames;
}

}  // namespace ostrel::testing
