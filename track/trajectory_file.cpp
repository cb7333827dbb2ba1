#include "track/trajectory_file.h"

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <variant>

#include "track/background_release.h"
#include "track/byte_source.h"
#include "track/ordered_chunks.h"
#include "track/piece_chunks.h"
#include "track/companion_paths.h"
#include "track/held_messages.h"
#include "track/point_file.h"
#include "track/segment_frames.h"
#include "track/trajectory_index.h"
#include "track/trajectory_lines.h"

namespace ostrel {
namespace {

// Chunks read but not yet in the store: enough that neither thread waits for the other.
constexpr std::size_t kChunkSlots = 8;
constexpr std::size_t kMaxEntries = static_cast<std::size_t>(INT32_MAX);

// Makes room for one more entry. Entries are indexed with 32 bits, so an array never grows
// past INT32_MAX of them.
template <typename T, typename A>
bool MakeRoom(std::vector<T, A>& array, MemoryBudget& budget) {
  const std::size_t capacity = array.capacity();
  if (array.size() < capacity) return true;
  if (capacity >= kMaxEntries) return false;
  const std::size_t grown = std::min(GrownCapacity(capacity), kMaxEntries);
  if (!budget.Take(static_cast<std::uint64_t>(grown - capacity) * sizeof(T))) return false;
  try {
    array.reserve(grown);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return true;
}

// Replaces `target` with an array of exactly the samples of `source`, in `memory`.
bool CopySamples(const std::vector<TrajectorySample>& source, SampleArray& target,
                 const std::shared_ptr<SampleMemory>& memory, MemoryBudget& budget) {
  if (!budget.Take(static_cast<std::uint64_t>(source.size()) * sizeof(TrajectorySample))) return false;
  try {
    target = SampleArray(source.begin(), source.end(), SampleAllocator<TrajectorySample>(memory));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void ShowTrajectoryMemoryFailure(MessageSink& messages) {
  messages.Show({std::string(kTrajectoryMemoryText), std::string(kErrorCaption)});
}

// A reload must start like a first load: no list, and no frame showing a trajectory.
void ClearTrajectoryIndex(TrackStore& store) {
  std::vector<FrameTrajectoryList>().swap(store.frameTrajectoryList);
  std::fill(store.frameTrajectoryIndex.begin(), store.frameTrajectoryIndex.end(),
            FrameTrajectoryIndex{});
}

// The state of one pass over the lines of a trajectory file.
class TrajectoryFileReading {
 public:
  TrajectoryFileReading(TrackStore& store, MessageSink& messages, MemoryBudget& budget,
                        TrajectoryFileReport& report, SampleSlotNotes& notes)
      : store_(store),
        messages_(messages),
        budget_(budget),
        report_(report),
        notes_(notes),
        firstFrame_(store.firstFrame),
        endFrame_(std::int64_t{store.firstFrame} + std::max(store.slotCount, 0)) {}

  // False when the table or a sample array could not grow (the message is shown).
  bool Apply(const std::vector<TrajectoryLineRead>& lines) {
    for (const TrajectoryLineRead& line : lines) {
      const bool taken = std::visit([this](const auto& read) { return Take(read); }, line);
      if (!taken) return false;
    }
    return true;
  }

  bool FinishFile() { return FinaliseCurrent(); }
  std::uint64_t storedSamples() const { return report_.samplesStored; }

 private:
  bool Take(const HeaderLine& read) {
    if (!FinaliseCurrent()) return false;
    ++report_.headerLines;
    if (!read.complete) ++report_.malformedHeaderLines;
    header_ = read.header;
    current_ = AddTrajectory(store_, header_, messages_, budget_);
    return current_ >= 0;
  }

  bool Take(const SampleLine& read) {
    // Every sample line moves the segment numbering, stored or not, so that a following raw
    // frame 0 continues from it.
    const std::int64_t frame = frames_.Next(read.rawFrame);
    // A sample before any header has no trajectory to join: it is passed over.
    if (current_ < 0) {
      ++report_.samplesBeforeFirstHeader;
      return true;
    }
    if (!read.complete) {
      ++report_.malformedSampleLines;
      return true;
    }
    // Frames past 32 bits lie outside every range, since the range itself fits in 32 bits.
    if (frame < firstFrame_ || frame >= endFrame_) {
      ++report_.samplesOutOfRange;
      return true;
    }
    if (!MakeRoom(pending_, budget_)) return FailSamples();
    TrajectorySample& sample = pending_.emplace_back(read.values);
    sample.trajectoryId = header_.id;
    sample.frame = static_cast<std::int32_t>(frame);
    header_.score += sample.score;
    notes_.Note(sample.frame);
    return true;
  }

  // Gives the trajectory its samples in an array of their exact size, and its final header:
  // a kind-0 trajectory is judged by its mean score; the others keep the total.
  bool FinaliseCurrent() {
    if (current_ < 0 || pending_.empty()) return true;
    Trajectory& trajectory = store_.trajectories[static_cast<std::size_t>(current_)];
    if (!CopySamples(pending_, trajectory.samples, memory_, budget_)) return FailSamples();
    if (header_.kind == 0) {
      header_.score /= static_cast<double>(pending_.size());
      if (header_.score > 3.0) header_.kind = 1;
    }
    trajectory.header = header_;
    report_.samplesStored += pending_.size();
    pending_.clear();
    return true;
  }

  // The current trajectory keeps no samples.
  bool FailSamples() {
    ShowTrajectoryMemoryFailure(messages_);
    std::vector<TrajectorySample>().swap(pending_);
    return false;
  }

  TrackStore& store_;
  MessageSink& messages_;
  MemoryBudget& budget_;
  TrajectoryFileReport& report_;
  SampleSlotNotes& notes_;  // the slot of every sample kept, for the per-frame index
  const std::int64_t firstFrame_;
  const std::int64_t endFrame_;  // one past the last frame of the point file
  SegmentFrames frames_;
  TrajectoryHeader header_;
  std::int32_t current_ = -1;
  // The current trajectory's samples, collected where growing is cheap and copied once the
  // trajectory is complete: the stored arrays then take no more than their samples.
  std::vector<TrajectorySample> pending_;
  // Where the trajectories of this load keep their samples.
  const std::shared_ptr<SampleMemory> memory_ = std::make_shared<SampleMemory>();
};

struct TrajectoryChunk {
  ChunkBytes bytes;
  std::vector<TrajectoryLineRead> lines;
};

// Reads every line; false when the table or a sample array could not grow. The lines are
// read on two threads where the machine has them; they join the store one after another, on
// either thread, so `reading` must speak through held messages.
bool ReadAllLines(const OpenedFile& file, std::size_t chunkBytes, TrajectoryFileReading& reading,
                  TrajectoryFileReport& report) {
  PieceChunkSource source(file.handle.get(), chunkBytes);
  // A file of one chunk has nothing to share between threads.
  const bool twoThreads = std::thread::hardware_concurrency() > 1 && file.size > chunkBytes;
  const bool applied = RunOrderedChunks<TrajectoryChunk>(
      kChunkSlots, twoThreads,
      [&source](TrajectoryChunk& chunk) { return source.Next(chunk.bytes); },
      [](TrajectoryChunk& chunk) {
        ReadTrajectoryLines(chunk.bytes.view(), chunk.lines);
      },
      [&reading](const TrajectoryChunk& chunk) { return reading.Apply(chunk.lines); });
  if (!applied) return false;
  // A read error ends the file where it happened; what was read before it is kept.
  report.readError = source.failed();
  return reading.FinishFile();
}

bool FailLoad(MessageSink& messages, std::string_view text, const std::string& caption) {
  messages.Show({std::string(text), caption});
  return false;
}

}  // namespace

std::int32_t AddTrajectory(TrackStore& store, const TrajectoryHeader& header,
                           MessageSink& messages, MemoryBudget& budget) {
  std::vector<Trajectory>& table = store.trajectories;
  // Entries are created only when every entry has samples, and each trajectory gets its
  // samples before the next header is read, so only the last entry can be without samples.
  // Looking at that one alone finds the same entry as a search from the front, without
  // making a file of many trajectories quadratic to load.
  if (!table.empty() && table.back().samples.empty()) {
    return static_cast<std::int32_t>(table.size() - 1);
  }
  if (!MakeRoom(table, budget)) {
    ShowTrajectoryMemoryFailure(messages);
    FreeTrajectories(store);
    return -1;
  }
  table.push_back(Trajectory{{}, header});
  return static_cast<std::int32_t>(table.size() - 1);
}

std::int32_t AddTrajectory(TrackStore& store, const TrajectoryHeader& header,
                           MessageSink& messages) {
  MemoryBudget unlimited;
  return AddTrajectory(store, header, messages, unlimited);
}

bool AppendTrajectorySample(TrackStore& store, std::int32_t trajectory,
                            const TrajectorySample& sample, MessageSink& messages,
                            MemoryBudget& budget) {
  if (trajectory < 0 || static_cast<std::size_t>(trajectory) >= store.trajectories.size()) {
    return false;
  }
  SampleArray& samples = store.trajectories[static_cast<std::size_t>(trajectory)].samples;
  if (!MakeRoom(samples, budget)) {
    ShowTrajectoryMemoryFailure(messages);
    SampleArray().swap(samples);
    return false;
  }
  samples.push_back(sample);
  return true;
}

bool AppendTrajectorySample(TrackStore& store, std::int32_t trajectory,
                            const TrajectorySample& sample, MessageSink& messages) {
  MemoryBudget unlimited;
  return AppendTrajectorySample(store, trajectory, sample, messages, unlimited);
}

bool LoadTrajectoryFile(TrackStore& store, std::string_view videoPath, MessageSink& messages,
                        const TrajectoryFileLimits& limits, TrajectoryFileReport* report) {
  TrajectoryFileReport unreported;
  TrajectoryFileReport& facts = report ? *report : unreported;
  facts = {};
  // The table of an earlier load is emptied now but released alongside the reading.
  const BackgroundRelease<std::vector<Trajectory>> earlierTable(store.trajectories);
  ClearTrajectoryIndex(store);

  const std::optional<std::string> path = VideoCompanionPath(videoPath, kTrajectoryFileSuffix, messages);
  if (!path) return false;
  facts.path = *path;
  OpenedFile file;
  if (!OpenForReading(path->c_str(), file)) return FailLoad(messages, kFileOpenFailedText, *path);

  MemoryBudget budget(limits.memoryBudgetBytes);
  HeldMessages readingMessages;
  SampleSlotNotes notes(store);
  notes.Expect(file.size / kShortestCompleteSampleLine);
  TrajectoryFileReading reading(store, readingMessages, budget, facts, notes);
  bool read = false;
  try {
    read = ReadAllLines(file, limits.chunkBytes, reading, facts);
  } catch (const std::bad_alloc&) {
    // The working buffers could not be had: nothing beyond them was lost.
    ShowTrajectoryMemoryFailure(readingMessages);
  }
  readingMessages.ShowTo(messages);
  file.handle.reset();
  if (!read) return FailLoad(messages, kLoadTrajectoriesFailedText, *path);

  const std::uint64_t stored = reading.storedSamples();
  if (stored > kMaxEntries ||
      !AllocateArray(store.frameTrajectoryList, stored, FrameTrajectoryList{}, budget)) {
    return FailLoad(messages, kTrajectoryListMemoryText, std::string(kErrorCaption));
  }
  facts.cappedSlots = BuildFrameTrajectoryIndex(store, std::move(notes), messages, budget);
  return true;
}

}  // namespace ostrel
