#pragma once

#include <string_view>

#include "track/message_sink.h"
#include "track/point_file.h"
#include "track/track_store.h"
#include "track/trajectory_file.h"

namespace ostrel {

struct TrackDataLimits {
  PointFileLimits points;
  TrajectoryFileLimits trajectories;
};

struct TrackDataReport {
  PointFileReport points;
  TrajectoryFileReport trajectories;  // untouched when the point file failed
};

// Loads all tracking data of a newly opened video: empties the store, reads the point file
// and, only when that succeeded, the trajectory file, whose frames are those of the point
// file. True only when both succeeded; the store keeps whatever the loads left in it.
bool LoadTrackData(TrackStore& store, std::string_view videoPath, MessageSink& messages,
                   const TrackDataLimits& limits = {}, TrackDataReport* report = nullptr);

}  // namespace ostrel
