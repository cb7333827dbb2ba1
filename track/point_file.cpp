#include "track/point_file.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "track/companion_paths.h"
#include "track/memory_budget.h"
#include "track/point_file_format.h"

namespace ostrel {
namespace {

constexpr std::size_t kReadBufferBytes = std::size_t{1} << 20;
constexpr std::uint64_t kMaxIndexable = static_cast<std::uint64_t>(INT32_MAX);
constexpr std::uint64_t kMaxPointsPerRecord = 32767;

// Smallest and largest absolute frame of the records taken; -1 and 0 while there is none,
// which gives an empty file its two record-less slots.
struct FrameRange {
  std::int64_t first = -1;
  std::int64_t last = 0;

  void Add(std::int64_t frame) {
    if (first == -1) {
      first = last = frame;
    } else {
      first = std::min(first, frame);
      last = std::max(last, frame);
    }
  }
  std::int64_t slotCount() const { return last - first + 1; }
};

// One pass over the file, straight into the store. The point array is reserved for the most
// the file can hold (every byte a point, plus a last record claiming more than is left); the
// pages of its unused tail are never touched, so they cost address space but no memory.
// False when the memory cannot be had.
bool ReadRecords(PointRecordReader& reader, std::uint64_t fileBytes, TrackStore& store,
                 FrameRange& range) {
  MemoryBudget addressSpace;
  if (!AllocateArray(store.points, fileBytes / kPointBytes + kMaxPointsPerRecord, addressSpace)) {
    return false;
  }
  std::size_t nextPoint = 0;
  try {
    while (const std::optional<PointRecordHeader> header = reader.Next()) {
      const auto count = static_cast<std::size_t>(header->pointCount);
      if (store.pointFrames.size() >= kMaxIndexable || count > store.points.size() - nextPoint) {
        return false;
      }
      store.pointFrames.push_back({header->frame, header->clockMs, header->pointCount,
                                   static_cast<std::int32_t>(nextPoint)});
      reader.ReadPoints(store.points.data() + nextPoint, header->pointCount);
      nextPoint += count;
      range.Add(header->frame);
    }
    // Give back a tail worth a copy; a small one stays reserved and never becomes resident.
    store.points.resize(nextPoint);
    if (store.points.capacity() - nextPoint > nextPoint / 8 + kMaxPointsPerRecord) {
      store.points.shrink_to_fit();
    }
    store.pointFrames.shrink_to_fit();
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

// Every record is named by the slot of its frame; a later record of the same frame wins.
void IndexRecords(TrackStore& store, std::int64_t firstFrame) {
  for (std::size_t j = 0; j < store.pointFrames.size(); ++j) {
    const auto slot = static_cast<std::size_t>(store.pointFrames[j].frame - firstFrame);
    store.frameIndex[slot] = static_cast<std::int32_t>(j);
  }
}

void DropPointData(TrackStore& store) {
  std::vector<PointFrame>().swap(store.pointFrames);
  PointArray().swap(store.points);
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
  PointRecordReader reader(source);
  FrameRange range;
  const bool read = ReadRecords(reader, file.size, store, range);
  const PointFileReport facts{*path, file.size, reader.end(), reader.endOffset(), reader.damage(),
                              reader.lastPointsIncomplete()};
  if (report) *report = facts;

  // The budget is held against the arrays the store keeps.
  MemoryBudget budget(limits.memoryBudgetBytes);
  if (!read || !budget.Take(store.pointFrames.size() * sizeof(PointFrame)) ||
      !budget.Take(store.points.size() * sizeof(TrackPoint))) {
    return Fail(store, messages, kTooBigPointFileText, *path);
  }
  const std::int64_t slotCount = range.slotCount();
  if (slotCount > std::min<std::int64_t>(limits.maxSlotCount, INT32_MAX) ||
      !AllocateArray(store.frameIndex, static_cast<std::uint64_t>(slotCount), std::int32_t{-1}, budget)) {
    return Fail(store, messages, kFrameIndexMemoryText, std::string(kErrorCaption));
  }
  if (!AllocateArray(store.frameTrajectoryIndex, static_cast<std::uint64_t>(slotCount),
                     FrameTrajectoryIndex{}, budget)) {
    return Fail(store, messages, kTrajectoryIndexMemoryText, std::string(kErrorCaption));
  }
  IndexRecords(store, range.first);

  store.firstFrame = static_cast<std::int32_t>(range.first);
  store.slotCount = static_cast<std::int32_t>(slotCount);
  store.CurrentSlot = -1;
  ReportEarlyEnd(facts, store.pointFrames.size(), messages);
  return true;
}

}  // namespace ostrel
