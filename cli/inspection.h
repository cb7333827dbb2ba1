#pragma once

#include <optional>
#include <string>
#include <vector>

#include "clock/clock_offset.h"
#include "clock/time_log.h"
#include "track/message_sink.h"
#include "track/point_summary.h"
#include "track/track_data.h"
#include "track/trajectory_summary.h"

namespace ostrel::cli {

struct CompanionFile {
  std::string role;                 // "point file", "trajectory file", "camera log"
  std::optional<std::string> path;  // absent when the video's name gives none
  bool exists = false;
};

// The frame the full search selects for a clock time, as the viewer would show it.
struct FrameAtTime {
  ClockMs time = 0;
  std::int32_t slot = -1;  // -1: no frame
  std::int32_t frame = 0;
  ClockMs clock = 0;
  std::int32_t points = 0;
  std::int32_t trajectorySamples = 0;
};

// Everything the companion files of a video tell, read exactly as opening it would read them.
struct Inspection {
  std::string video;
  std::vector<CompanionFile> companions;

  bool timeLogRead = false;
  ClockOffset offset;  // what an Open in a freshly started viewer would set
  TimeLogReport timeLog;

  bool pointsRead = false;
  bool trajectoriesRead = false;  // false also when the point file failed and they were not read
  TrackDataReport trackData;
  PointSummary points;
  TrajectorySummary trajectories;

  std::vector<FrameAtTime> frames;

  bool everythingRead() const { return timeLogRead && pointsRead && trajectoriesRead; }
};

Inspection InspectVideo(const std::string& video, const std::vector<ClockMs>& times,
                        MessageSink& messages);

}  // namespace ostrel::cli
