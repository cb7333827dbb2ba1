#pragma once

#include <string>
#include <vector>

#include "tests/support/point_file_writer.h"
#include "tests/support/time_log_writer.h"
#include "tests/support/trajectory_file_writer.h"
#include "tools/demo/demo_scene.h"

namespace ostrel::demo {

// Where the demo video starts on the recording clock: 10:00:00.000.
inline constexpr ClockMs kDemoStartMs = 36'000'000;

// The recording-clock time of a frame of the demo video.
ClockMs FrameClock(const SceneSize& size, int frame);

// What a tracker would have written for the scene: in every frame a detection at each
// object's centre and on its rim.
std::vector<testing::PointRecord> DemoPoints(const DemoScene& scene);

// One trajectory per object, a sample in every frame with the object's box. The objects
// cover the three kinds; the wrapping object breaks its trail where it jumps.
std::vector<testing::TrajectoryRecord> DemoTrajectories(const DemoScene& scene);

// The camera log for the demo videos: no correction, each video starting at kDemoStartMs.
std::vector<testing::TimeLogEntry> DemoTimeLog(const std::vector<std::string>& videoNames);

}  // namespace ostrel::demo
