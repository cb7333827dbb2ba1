#include "track/track_data.h"

namespace ostrel {

bool LoadTrackData(TrackStore& store, std::string_view videoPath, MessageSink& messages,
                   const TrackDataLimits& limits, TrackDataReport* report) {
  FreeTrackStore(store);
  if (!LoadPointFile(store, videoPath, messages, limits.points, report ? &report->points : nullptr)) {
    return false;
  }
  return LoadTrajectoryFile(store, videoPath, messages, limits.trajectories,
                            report ? &report->trajectories : nullptr);
}

}  // namespace ostrel
