#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "track/byte_source.h"
#include "track/track_store.h"

namespace ostrel::testing {

// One sample line as a tracker writes it: the raw frame number (0 restarts a segment), the
// clock, the box's four corners, the score and the value that breaks the trail when not 0.
struct TrajectorySampleLine {
  std::int32_t frame = 0;
  std::int32_t clockMs = 0;
  std::array<TrackPoint, 4> corners{};
  double score = 0.0;
  std::int32_t breakValue = 0;
};

// A header line and the sample lines below it.
struct TrajectoryRecord {
  std::int32_t id = 0;
  std::int32_t unused = 0;  // the header's third token, which readers ignore
  double param1 = 0.0;
  double param2 = 0.0;
  double param3 = 0.0;
  std::vector<TrajectorySampleLine> samples;
};

enum class LineEnd { Lf, CrLf };

// "trajectory 7 0 1.5 0.5 0.8": numbers in their shortest exact form, so what a reader
// reads back compares equal to what was written.
std::string FormatTrajectoryHeader(const TrajectoryRecord& record);
// "frame=12 time=3400 x1=0.1 y1=0.2 ... x4=0.7 y4=0.8 score=0.9 breakflg=0".
std::string FormatTrajectorySample(const TrajectorySampleLine& sample);

// Writes a trajectory file line by line, for fixtures of any size; throws std::runtime_error
// when the file cannot be written.
class TrajectoryFileWriter {
 public:
  explicit TrajectoryFileWriter(const std::filesystem::path& path, LineEnd lineEnd = LineEnd::Lf);
  ~TrajectoryFileWriter();
  TrajectoryFileWriter(const TrajectoryFileWriter&) = delete;
  TrajectoryFileWriter& operator=(const TrajectoryFileWriter&) = delete;

  void Write(const TrajectoryRecord& record);  // the header, then its samples
  void WriteHeader(const TrajectoryRecord& record);
  void WriteSample(const TrajectorySampleLine& sample);
  // Any text as a line of its own, for lines outside the format.
  void WriteRawLine(std::string_view line);
  // Flushes and closes; throws when anything could not be written.
  void Close();

 private:
  std::filesystem::path path_;
  std::string lineEnd_;
  FileHandle file_;
  std::string line_;
};

void WriteTrajectoryFile(const std::filesystem::path& path,
                         const std::vector<TrajectoryRecord>& records, LineEnd lineEnd = LineEnd::Lf);
// Each string becomes one line, ended as asked.
void WriteTrajectoryLines(const std::filesystem::path& path, const std::vector<std::string>& lines,
                          LineEnd lineEnd = LineEnd::Lf);

}  // namespace ostrel::testing
