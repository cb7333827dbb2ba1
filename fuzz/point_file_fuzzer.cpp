// Loads arbitrary bytes as the point file of a video and checks that the store the loader
// leaves behind is consistent, whatever it was fed.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "tests/support/point_file_writer.h"
#include "tests/support/recording_messages.h"
#include "tests/support/temp_folder.h"
#include "track/frame_lookup.h"
#include "track/point_file.h"

namespace {

using ostrel::fuzzing::Require;
using ostrel::testing::DiscardMessages;

void CheckStore(const ostrel::TrackStore& store) {
  Require(store.frameIndex.size() == static_cast<std::size_t>(store.slotCount));
  Require(store.frameTrajectoryIndex.size() == static_cast<std::size_t>(store.slotCount));
  std::int64_t nextPoint = 0;
  for (const ostrel::PointFrame& frame : store.pointFrames) {
    Require(frame.pointCount >= 0 && frame.firstPoint == nextPoint);
    nextPoint += frame.pointCount;
    const std::int64_t slot = std::int64_t{frame.frame} - store.firstFrame;
    Require(slot >= 0 && slot < store.slotCount);
  }
  Require(static_cast<std::size_t>(nextPoint) == store.points.size());
  for (const std::int32_t record : store.frameIndex) {
    Require(record >= -1 && record < store.pointFrameCount());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ostrel::testing::TempFolder folder;
  ostrel::testing::WriteFileBytes(folder.File("clip.lpa"),
                                  std::string(reinterpret_cast<const char*>(data), size));
  ostrel::TrackStore store;
  DiscardMessages messages;
  // A narrower slot limit than the viewer's keeps each run fast; the check is the same.
  ostrel::PointFileLimits limits;
  limits.maxSlotCount = std::int64_t{1} << 16;
  if (ostrel::LoadPointFile(store, folder.File("clip.avi"), messages, limits)) {
    CheckStore(store);
    for (const ostrel::PointFrame& frame : store.pointFrames) {
      ostrel::FindFrameForTime(store, frame.clockMs);
      // A little later, without stepping past the largest clock a record can hold.
      const ostrel::ClockMs later = frame.clockMs <= INT32_MAX - 17 ? frame.clockMs + 17 : INT32_MAX;
      ostrel::AdvanceFrameToTime(store, later);
      if (const auto points = ostrel::CurrentFramePoints(store)) Require(points->size() < 32768);
    }
  } else {
    Require(store.slotCount == 0 && store.pointFrames.empty());
  }
  return 0;
}
