#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "track/memory_budget.h"
#include "track/message_sink.h"
#include "track/track_store.h"

namespace ostrel {

inline constexpr std::string_view kTrajectoryMemoryText = "Failed in allocating memory for TRAJ data.";
inline constexpr std::string_view kLoadTrajectoriesFailedText = "Load trajectories failed.";
inline constexpr std::string_view kTrajectoryListMemoryText = "Memory failure in allocing for tcl index.";

// The capacity a full trajectory table or sample array grows to: a few entries first, then
// twice as many, so that the many short trajectories of a file stay small and a long one
// costs amortised constant time per sample.
constexpr std::size_t GrownCapacity(std::size_t capacity) { return capacity < 8 ? 8 : 2 * capacity; }

struct TrajectoryFileLimits {
  // Memory the trajectory table, the sample arrays and the per-frame index may take together.
  std::uint64_t memoryBudgetBytes = std::numeric_limits<std::uint64_t>::max();
  // How much of the file is read at once; the parts are read on two threads where the machine
  // has two cores. Whatever its value, the store comes out the same.
  std::size_t chunkBytes = std::size_t{1} << 18;
};

// What the reading of a trajectory file met, beyond what the store shows.
struct TrajectoryFileReport {
  std::string path;
  std::uint64_t headerLines = 0;
  std::uint64_t malformedHeaderLines = 0;    // fewer than six tokens; still started a trajectory
  std::uint64_t samplesStored = 0;
  std::uint64_t samplesOutOfRange = 0;       // frame outside the point file's frames
  std::uint64_t malformedSampleLines = 0;    // too few tokens or a token too short: skipped
  std::uint64_t samplesBeforeFirstHeader = 0;
  std::uint64_t cappedSlots = 0;             // frames with more pairs than an index entry counts
  bool readError = false;                    // the file could not be read to its end

  bool operator==(const TrajectoryFileReport&) const = default;
};

// Gives the table entry that takes the next samples: the entry left without samples, if
// any, else a new one holding `header`. -1, with the message shown and the table emptied,
// when the table cannot grow.
std::int32_t AddTrajectory(TrackStore& store, const TrajectoryHeader& header,
                           MessageSink& messages, MemoryBudget& budget);
std::int32_t AddTrajectory(TrackStore& store, const TrajectoryHeader& header,
                           MessageSink& messages);

// Appends a copy of `sample` to a trajectory's samples. False, with the message shown and
// that trajectory's samples released, when its array cannot grow.
bool AppendTrajectorySample(TrackStore& store, std::int32_t trajectory,
                            const TrajectorySample& sample, MessageSink& messages,
                            MemoryBudget& budget);
bool AppendTrajectorySample(TrackStore& store, std::int32_t trajectory,
                            const TrajectorySample& sample, MessageSink& messages);

// Reads the trajectory file beside a video ("<folder>/<name>.traj") into the store's
// trajectory table, keeping the samples that lie in the point file's frames, and builds the
// per-frame trajectory index. Expects the point data loaded (firstFrame, slotCount and a
// zeroed frameTrajectoryIndex). Failures are shown through `messages`; after one no frame
// shows a trajectory.
bool LoadTrajectoryFile(TrackStore& store, std::string_view videoPath, MessageSink& messages,
                        const TrajectoryFileLimits& limits = {},
                        TrajectoryFileReport* report = nullptr);

}  // namespace ostrel
