#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/point_file_writer.h"
#include "tests/support/temp_folder.h"
#include "tests/support/time_log_writer.h"
#include "tests/support/trajectory_file_writer.h"
#include "tests/video/scripted_playback.h"
#include "video/open_video.h"

namespace ostrel::testing {

// 10:00:00.000 on the recording clock: where the camera log puts cam07_012.
inline constexpr ClockMs kVideoStartMs = 36'000'000;

// A camera folder of tracking data and logs, a state holding a first graph made at
// start-up, and a scripted user interface; the graphs of every Open are scripted too.
class PlaybackTest : public ::testing::Test {
 protected:
  PlaybackTest() : ui(log), maker(log) {
    state.graph = std::make_unique<ScriptedGraph>("first", log);
    state.createGraph = maker.Factory();
    state.WorkingFolder = "/start";
  }

  // cam07_012.avi with its log and, unless left out, its point and trajectory files, one
  // frame at each of `clocks` (relative to kVideoStartMs).
  std::string Camera(const std::vector<ClockMs>& clocks, bool points = true, bool trajectories = true) {
    const std::string video = folder.File("cam07_012.avi");
    WriteFileBytes(video, "");
    WriteTimeLog(folder.File("cam07_.log"), {VideoLine{"cam07_012", LogTime{10, 0, 0, 0}}});
    std::vector<PointRecord> records;
    TrajectoryRecord trajectory{1, 0, 0.0, 0.0, 0.0, {}};
    for (std::size_t i = 0; i < clocks.size(); ++i) {
      const auto frame = static_cast<std::int32_t>(i);
      records.emplace_back(frame, kVideoStartMs + clocks[i], std::vector<TrackPoint>{{0.5, 0.5}});
      TrajectorySampleLine sample;
      sample.frame = frame;
      sample.clockMs = kVideoStartMs + clocks[i];
      sample.corners = {TrackPoint{0.4, 0.4}, TrackPoint{0.6, 0.4}, TrackPoint{0.6, 0.6}, TrackPoint{0.4, 0.6}};
      trajectory.samples.push_back(sample);
    }
    if (points) WritePointFile(folder.File("cam07_012.lpa"), records);
    if (trajectories) WriteTrajectoryFile(folder.File("cam07_012.traj"), {trajectory});
    return video;
  }

  // Opens `video` through the open operation and forgets what the Open logged.
  void OpenQuietly(const std::string& video) {
    ui.chosenFile = video;
    OpenVideo(state, ui);
    ASSERT_TRUE(state.held.graphSeeking) << "the Open did not complete";
    log.clear();
    ui.messages.clear();
    ui.redraws.clear();
  }

  ScriptedGraph& Graph() { return *maker.made.back(); }

  TempFolder folder;
  CallLog log;
  ScriptedUi ui;
  GraphMaker maker;
  PlaybackState state;
};

}  // namespace ostrel::testing
