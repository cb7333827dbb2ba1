#include "cli/inspection.h"

#include <filesystem>
#include <system_error>

#include "track/companion_paths.h"
#include "track/frame_lookup.h"
#include "track/point_file.h"
#include "track/trajectory_file.h"

namespace ostrel::cli {
namespace {

CompanionFile Companion(std::string role, std::optional<std::string> path) {
  std::error_code ignored;
  const bool exists = path && std::filesystem::exists(*path, ignored);
  return {std::move(role), std::move(path), exists};
}

std::vector<CompanionFile> CompanionsOf(const std::string& video) {
  VideoPathParts parts;
  if (!SplitVideoPath(video, parts)) {
    return {Companion("point file", std::nullopt), Companion("trajectory file", std::nullopt),
            Companion("camera log", std::nullopt)};
  }
  std::string stem = parts.name;
  const bool hasStem = StripTrailingDigits(stem);
  return {
      Companion("point file", ComposeCompanionPath(parts.folder, parts.name, kPointFileSuffix)),
      Companion("trajectory file", ComposeCompanionPath(parts.folder, parts.name, kTrajectoryFileSuffix)),
      Companion("camera log", hasStem ? std::optional(ComposeCompanionPath(parts.folder, stem, kTimeLogSuffix))
                                      : std::nullopt),
  };
}

FrameAtTime FrameAt(TrackStore& store, ClockMs time) {
  FindFrameForTime(store, time);
  FrameAtTime found;
  found.time = time;
  found.slot = store.CurrentSlot;
  if (found.slot < 0) return found;
  found.frame = store.firstFrame + found.slot;
  found.clock = CurrentFrameClock(store);
  const auto points = CurrentFramePoints(store);
  found.points = points ? static_cast<std::int32_t>(points->size()) : 0;
  found.trajectorySamples = SlotTrajectorySamples(store, found.slot);
  return found;
}

}  // namespace

Inspection InspectVideo(const std::string& video, const std::vector<ClockMs>& times,
                        MessageSink& messages) {
  Inspection inspection;
  inspection.video = video;
  inspection.companions = CompanionsOf(video);
  // Unlike an Open, a missing log does not stop the inspection: the rest is still worth seeing.
  inspection.timeLogRead = ReadTimeLog(inspection.offset, video, messages, &inspection.timeLog);

  // The loads of an Open, one by one so that each outcome can be told apart: the trajectory
  // file is read only into the frames of a point file that loaded.
  TrackStore store;
  inspection.pointsRead = LoadPointFile(store, video, messages, {}, &inspection.trackData.points);
  if (inspection.pointsRead) {
    inspection.trajectoriesRead =
        LoadTrajectoryFile(store, video, messages, {}, &inspection.trackData.trajectories);
  }
  inspection.points = SummarizePoints(store);
  inspection.trajectories = SummarizeTrajectories(store);
  for (const ClockMs time : times) inspection.frames.push_back(FrameAt(store, time));
  return inspection;
}

}  // namespace ostrel::cli
