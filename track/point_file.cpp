#include "track/point_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "track/companion_paths.h"
#include "track/memory_budget.h"

namespace ostrel {
namespace {

constexpr std::size_t kReadBufferBytes = std::size_t{1} << 20;
constexpr std::uint64_t kMaxIndexable = static_cast<std::uint64_t>(INT32_MAX);

// What the first pass learns: exact sizes for every array, so nothing grows while reading.
struct PointFileShape {
  std::uint64_t records = 0;
  std::uint64_t points = 0;
  std::int64_t firstFrame = -1;  // -1 while no record was taken
  std::int64_t lastFrame = 0;

  std::int64_t slotCount() const { return lastFrame - firstFrame + 1; }
};

PointFileShape ScanRecords(PointRecordReader& reader) {
  PointFileShape shape;
  while (const std::optional<PointRecordHeader> header = reader.Next()) {
    reader.SkipPoints(header->pointCount);
    if (shape.firstFrame == -1) {
      shape.firstFrame = shape.lastFrame = header->frame;
    } else {
      shape.firstFrame = std::min<std::int64_t>(shape.firstFrame, header->frame);
      shape.lastFrame = std::max<std::int64_t>(shape.lastFrame, header->frame);
    }
    ++shape.records;
    shape.points += static_cast<std::uint64_t>(header->pointCount);
  }
  return shape;
}

// Second pass: the same records again, now copied into arrays sized by the first pass. The
// bounds are checked again so that a file changed between the passes cannot push a write
// outside the arrays.
void FillRecords(PointRecordReader& reader, TrackStore& store, std::int64_t firstFrame,
                 std::int64_t slotCount) {
  std::size_t nextPoint = 0;
  for (std::size_t j = 0; j < store.pointFrames.size(); ++j) {
    const std::optional<PointRecordHeader> header = reader.Next();
    if (!header) break;
    const std::size_t room = store.points.size() - nextPoint;
    const auto taken = static_cast<std::int16_t>(
        std::min<std::size_t>(static_cast<std::size_t>(header->pointCount), room));
    store.pointFrames[j] = {header->frame, header->clockMs, taken,
                            static_cast<std::int32_t>(nextPoint)};
    reader.ReadPoints(store.points.data() + nextPoint, taken);
    reader.SkipPoints(static_cast<std::int16_t>(header->pointCount - taken));
    const std::int64_t slot = header->frame - firstFrame;
    if (slot >= 0 && slot < slotCount) store.frameIndex[static_cast<std::size_t>(slot)] = static_cast<std::int32_t>(j);
    nextPoint += static_cast<std::size_t>(taken);
  }
}

void DropPointData(TrackStore& store) {
  std::vector<PointFrame>().swap(store.pointFrames);
  std::vector<TrackPoint>().swap(store.points);
  FreeFrameIndexes(store);
}

bool Fail(TrackStore& store, MessageSink& messages, std::string_view text, std::string caption) {
  DropPointData(store);
  messages.Show({std::string(text), std::move(caption)});
  return false;
}

// Point data stays usable up to a damaged record; the user is told how much was taken.
void ReportEarlyEnd(const PointFileReport& report, std::uint64_t records, MessageSink& messages) {
  std::string text;
  if (report.end == PointFileEnd::Damaged) {
    text = "The point file is damaged at byte " + std::to_string(report.endOffset) + " (" +
           report.damage + ").";
  } else if (report.end == PointFileEnd::ReadError) {
    text = "The point file could not be read past byte " + std::to_string(report.endOffset) + ".";
  } else {
    return;
  }
  text += " The " + std::to_string(records) + " records before it were loaded.";
  messages.Show({std::move(text), report.path});
}

}  // namespace

bool LoadPointFile(TrackStore& store, std::string_view videoPath, MessageSink& messages,
                   const PointFileLimits& limits, PointFileReport* report) {
  DropPointData(store);
  const std::optional<std::string> path = VideoCompanionPath(videoPath, kPointFileSuffix, messages);
  if (!path) return false;

  OpenedFile file;
  if (!OpenForReading(path->c_str(), file)) return Fail(store, messages, kFileOpenFailedText, *path);
  ByteSource source(file.handle.get(), file.size, kReadBufferBytes);

  PointRecordReader scanner(source);
  const PointFileShape shape = ScanRecords(scanner);
  PointFileReport facts{*path, file.size, scanner.end(), scanner.endOffset(), scanner.damage(),
                        scanner.lastPointsIncomplete()};
  if (report) *report = facts;

  MemoryBudget budget(limits.memoryBudgetBytes);
  if (shape.records > kMaxIndexable || shape.points > kMaxIndexable ||
      !AllocateArray(store.pointFrames, shape.records, PointFrame{}, budget) ||
      !AllocateArray(store.points, shape.points, TrackPoint{}, budget)) {
    return Fail(store, messages, kTooBigPointFileText, *path);
  }
  const std::int64_t slotCount = shape.slotCount();
  if (slotCount > std::min<std::int64_t>(limits.maxSlotCount, INT32_MAX) ||
      !AllocateArray(store.frameIndex, static_cast<std::uint64_t>(slotCount), std::int32_t{-1}, budget)) {
    return Fail(store, messages, kFrameIndexMemoryText, std::string(kErrorCaption));
  }
  if (!AllocateArray(store.frameTrajectoryIndex, static_cast<std::uint64_t>(slotCount),
                     FrameTrajectoryIndex{}, budget)) {
    return Fail(store, messages, kTrajectoryIndexMemoryText, std::string(kErrorCaption));
  }

  if (!source.Rewind()) return Fail(store, messages, kFileOpenFailedText, *path);
  PointRecordReader filler(source);
  FillRecords(filler, store, shape.firstFrame, slotCount);

  store.firstFrame = static_cast<std::int32_t>(shape.firstFrame);
  store.slotCount = static_cast<std::int32_t>(slotCount);
  store.CurrentSlot = -1;
  ReportEarlyEnd(facts, shape.records, messages);
  return true;
}

}  // namespace ostrel
