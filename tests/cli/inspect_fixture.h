#pragma once

#include <sstream>
#include <string>

#include <QStringList>

#include "cli/cli_app.h"
#include "tests/support/point_file_writer.h"
#include "tests/support/temp_folder.h"
#include "tests/support/time_log_writer.h"
#include "tests/support/trajectory_file_writer.h"

namespace ostrel::testing {

// A camera folder with cam07_012.avi's companions: a log that sets startMs 35,890,540
// (adjustMs -1500), four point records whose clock steps back once (frame 2 after frame 1),
// and a trajectory of kind 1 with one sample inside and one outside the frames.
class InspectFixture {
 public:
  InspectFixture() {
    WriteTimeLog(LogPath(), {CorrectionLine{'-', {0, 0, 1, 500}}, VideoLine{"cam07_012", {9, 58, 12, 40}}});
    WritePointFile(folder.File("cam07_012.lpa"), {{0, 35890540, {{0.1, 0.2}, {0.3, 0.4}}},
                                                  {1, 35890580, {{0.5, 0.5}}},
                                                  {2, 35890560, {}},
                                                  {5, 35890700, {{0.9, 0.9}}}});
    TrajectoryRecord record{7, 0, 1.5, 0.5, 0.8, {}};
    record.samples.push_back({1, 35890580, {{{0.1, 0.2}, {0.3, 0.2}, {0.3, 0.4}, {0.1, 0.4}}}, 0.9, 0});
    record.samples.push_back({40, 35892000, {}, 0.5, 0});
    WriteTrajectoryFile(folder.File("cam07_012.traj"), {record});
  }

  std::string Video() const { return folder.File("cam07_012.avi"); }
  std::string LogPath() const { return folder.File("cam07_.log"); }

  // Runs the command line in process.
  int RunCommand(QStringList arguments) {
    out.str({});
    err.str({});
    arguments.prepend("ostrel-cli");
    return cli::RunCli(arguments, out, err);
  }

  TempFolder folder;
  std::ostringstream out;
  std::ostringstream err;
};

}  // namespace ostrel::testing
