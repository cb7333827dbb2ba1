// Writes a small seed corpus for each fuzz target into <folder>/<target name>/, from the
// same writers the tests use, so that no binary seed needs to be kept in the repository.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "tests/support/point_file_writer.h"
#include "tests/support/time_log_writer.h"
#include "tests/support/trajectory_file_writer.h"

namespace {

namespace fs = std::filesystem;
using ostrel::testing::PointRecord;

void WriteSeeds(const fs::path& folder, const std::vector<std::string>& seeds) {
  fs::create_directories(folder);
  for (std::size_t i = 0; i < seeds.size(); ++i) {
    ostrel::testing::WriteFileBytes(folder / ("seed" + std::to_string(i)), seeds[i]);
  }
}

void WritePointFileSeeds(const fs::path& folder) {
  using ostrel::testing::EncodePointRecords;
  const std::string segments =
      EncodePointRecords({{0, 1000, {{0.1, 0.9}}}, {1, 1033, {{0.2, 0.8}, {0.3, 0.7}}}, {0, 1066, {}},
                          {2, 1100, {{0.5, 0.5}}}});
  WriteSeeds(folder, {
                         "",
                         segments,
                         segments.substr(0, segments.size() - 5),
                         EncodePointRecords({{7, 5, {}}, {3, 1, {{1.0, 0.0}}}, {7, 6, {}}}),
                         EncodePointRecords({{1, 40, {{0.5, 0.5}}, std::int16_t{-2}}}),
                     });
}

// Camera logs for the video cam07_012.avi: the example log in both line ends, and lines that
// stop early, carry odd signs or numbers, or run past one 199-character piece.
void WriteTimeLogSeeds(const fs::path& folder) {
  using namespace ostrel::testing;
  const std::vector<TimeLogEntry> example = {CorrectionLine{'-', {0, 0, 1, 500}},
                                             VideoLine{"cam07_012", {9, 58, 12, 40}},
                                             VideoLine{"cam07_013", {10, 8, 12, 120}}};
  WriteSeeds(folder, {
                         "",
                         EncodeTimeLog(example),
                         EncodeTimeLog(example, {.crlf = true, .useSpaces = true}),
                         EncodeTimeLog({RawLine{"timeadj +1:30:00:000"}, RawLine{"TIMEADJ - 0:70: 0 :0"},
                                        RawLine{"CAM07_0123,9:58:12:040"}}),
                         EncodeTimeLog({RawLine{"TIMEADJ + 65536:0:0:-1"}, RawLine{"TIMEADJ *"},
                                        RawLine{"cam07_012 1:0:0:0"}}),
                         EncodeTimeLog({RawLine{std::string(199, 'x') + "TIMEADJ - 596:31:23:648"},
                                        RawLine{" cam07_012 1:0:0:0"}, RawLine{"cam07_012"}}),
                     });
}

// Trajectory files for the fixed point file of the fuzzer (frames 5 to 44): two trajectories
// with a segment restart, both line ends, and lines outside the format.
void WriteTrajectoryFileSeeds(const fs::path& folder) {
  using namespace ostrel::testing;
  const auto sample = [](std::int32_t frame, std::int32_t breakValue) {
    TrajectorySampleLine line;
    line.frame = frame;
    line.clockMs = 40 * frame;
    line.corners = {{{0.1, 0.2}, {0.3, 0.2}, {0.3, 0.4}, {0.1, 0.4}}};
    line.score = 0.5 * frame;
    line.breakValue = breakValue;
    return FormatTrajectorySample(line);
  };
  const std::string header1 = FormatTrajectoryHeader({1, 0, 1.5, 0.5, 0.8, {}});
  const std::string header2 = FormatTrajectoryHeader({2, 0, 0.5, 2.0, 0.6, {}});
  const auto join = [](const std::vector<std::string>& lines, const std::string& end) {
    std::string text;
    for (const std::string& line : lines) text += line + end;
    return text;
  };
  const std::vector<std::string> two = {header1, sample(6, 0), sample(7, 5), sample(20, 0),
                                        header2, sample(0, 0), sample(1, 0), sample(60, 1)};
  WriteSeeds(folder, {
                         "",
                         join(two, "\n"),
                         join(two, "\r\n"),
                         join({sample(9, 0), "TRAJECTORY 3", "Frame=12 time=1", "frame=", header1,
                               " frame=8", sample(0, 0), std::string(230, 'x') + sample(3, 0)},
                              "\n"),
                         join({header1, "frame=10,time=5\tx1=1e3 y1=-.5 x2=+7 y2=0x1 x3= y3=inf "
                                        "x4=1e-400 y4=99999999999999999999 score=3.01 breakflg=-1"},
                              "\n"),
                         // Signs, points at either end and the longest plain numbers, in every
                         // place of a line.
                         join({header2,
                               "frame=7 time=-280 x1=-.5 y1=+0.25 x2=5. y2=-0 x3=123456789012345 "
                               "y3=-1234567.1234567 x4=.123456789012345 y4=-3 score=+4.5 breakflg=-0",
                               "frame=-8 time=+999999999 x1=+1 y1=-1 x2=-2.5 y2=+.5 x3=-0.0 y3=7 "
                               "x4=-98765.4321 y4=+12. score=-0.125 breakflg=+1"},
                              "\n"),
                     });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: write_fuzz_seeds FOLDER\n";
    return 2;
  }
  const fs::path root = argv[1];
  try {
    WritePointFileSeeds(root / "point_file_fuzzer");
    WriteTimeLogSeeds(root / "time_log_fuzzer");
    WriteTrajectoryFileSeeds(root / "trajectory_file_fuzzer");
  } catch (const std::exception& error) {
    std::cerr << "write_fuzz_seeds: " << error.what() << '\n';
    return 1;
  }
  return 0;
}
