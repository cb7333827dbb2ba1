#include "track/point_summary.h"

#include <algorithm>

namespace ostrel {
namespace {

void SummarizeRecords(const TrackStore& store, PointSummary& summary) {
  summary.records = store.pointFrameCount();
  summary.points = static_cast<std::int64_t>(store.points.size());
  if (store.pointFrames.empty()) return;
  const auto [lowest, highest] = std::minmax_element(
      store.pointFrames.begin(), store.pointFrames.end(),
      [](const PointFrame& a, const PointFrame& b) { return a.clockMs < b.clockMs; });
  summary.firstClock = lowest->clockMs;
  summary.lastClock = highest->clockMs;
}

// Walks the slots in frame order, as the searches do, and notes every clock that fails to
// grow past the one before it.
void SummarizeSlots(const TrackStore& store, PointSummary& summary) {
  const PointFrame* previous = nullptr;
  std::int64_t indexed = 0;
  for (const std::int32_t record : store.frameIndex) {
    if (record < 0) {
      ++summary.framesWithoutRecord;
      continue;
    }
    ++indexed;
    const PointFrame& current = store.pointFrames[static_cast<std::size_t>(record)];
    if (previous && current.clockMs <= previous->clockMs) {
      if (summary.clockSteps.size() < kListedClockSteps) {
        summary.clockSteps.push_back({previous->frame, previous->clockMs, current.frame, current.clockMs});
      }
      ++summary.clockStepCount;
    }
    previous = &current;
  }
  summary.duplicateRecords = summary.records - indexed;
}

}  // namespace

PointSummary SummarizePoints(const TrackStore& store) {
  PointSummary summary;
  summary.firstFrame = store.firstFrame;
  summary.lastFrame = store.firstFrame + std::max(store.slotCount, 1) - 1;
  SummarizeRecords(store, summary);
  SummarizeSlots(store, summary);
  return summary;
}

}  // namespace ostrel
