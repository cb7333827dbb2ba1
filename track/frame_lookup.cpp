#include "track/frame_lookup.h"

#include <algorithm>

namespace ostrel {
namespace {

// Read-only view of the slots that are safe to look at: a store whose index is missing or
// shorter than its slot count (a failed load) offers only what exists.
class Slots {
 public:
  explicit Slots(const TrackStore& store)
      : store_(store),
        count_(std::min<std::int64_t>(store.slotCount,
                                      static_cast<std::int64_t>(store.frameIndex.size()))) {}

  std::int64_t count() const { return count_; }

  const PointFrame* Record(std::int64_t slot) const {
    const std::int32_t record = store_.frameIndex[static_cast<std::size_t>(slot)];
    if (record < 0 || static_cast<std::size_t>(record) >= store_.pointFrames.size()) return nullptr;
    return &store_.pointFrames[static_cast<std::size_t>(record)];
  }

  // Between slot s, the first whose clock (sClock) is later than `time`, and the nearest
  // earlier slot with a record, the nearer wins; a tie goes to s.
  std::int64_t Weigh(std::int64_t s, ClockMs sClock, ClockMs time) const {
    const std::int64_t later = std::int64_t{sClock} - time;
    for (std::int64_t e = s - 1; e >= 0; --e) {
      if (const PointFrame* earlier = Record(e)) {
        return std::int64_t{time} - earlier->clockMs < later ? e : s;
      }
    }
    return s;
  }

 private:
  const TrackStore& store_;
  std::int64_t count_;
};

struct ScanResult {
  enum Outcome { Exact, Later, RanOut } outcome;
  std::int64_t slot;       // the slot met, or where the scan ended
  ClockMs clock;           // the clock of the slot met
  std::int64_t lastEarlier; // the last slot examined with a clock before the time, or -1
};

// Walks slots from `from` by `step`, passing over slots without a record, until one whose
// clock equals or passes `time`.
ScanResult Scan(const Slots& slots, std::int64_t from, std::int64_t step, ClockMs time) {
  std::int64_t s = from;
  std::int64_t lastEarlier = -1;
  for (; s < slots.count(); s += step) {
    const PointFrame* record = slots.Record(s);
    if (!record) continue;
    if (record->clockMs == time) return {ScanResult::Exact, s, record->clockMs, lastEarlier};
    if (record->clockMs > time) return {ScanResult::Later, s, record->clockMs, lastEarlier};
    lastEarlier = s;
  }
  return {ScanResult::RanOut, s, 0, lastEarlier};
}

void SetCurrent(TrackStore& store, std::int64_t slot) {
  store.CurrentSlot = static_cast<std::int32_t>(slot);
}

}  // namespace

void FindFrameForTime(TrackStore& store, ClockMs time) {
  store.CurrentSlot = -1;
  const Slots slots(store);
  if (slots.count() <= 0) return;

  const ScanResult coarse = Scan(slots, 0, kCoarseStep, time);
  if (coarse.outcome == ScanResult::Exact) return SetCurrent(store, coarse.slot);
  // Running out leaves the scan at the first multiple of the step at or past the end.
  const std::int64_t stop = coarse.slot;
  if (stop == 0) {
    const std::int64_t ahead = std::int64_t{coarse.clock} - time;
    if (ahead <= kLeadInToleranceMs) SetCurrent(store, 0);
    return;
  }

  // The fine scan goes back to the last coarse sample that was examined and found earlier.
  // Going back a fixed block instead would start after that sample whenever the sample a
  // block before the stop had no record, and select a frame seconds away from the time.
  const std::int64_t fineStart =
      coarse.lastEarlier >= 0 ? coarse.lastEarlier : std::max<std::int64_t>(0, stop - kCoarseStep);
  const ScanResult fine = Scan(slots, fineStart, 1, time);
  if (fine.outcome == ScanResult::Exact) return SetCurrent(store, fine.slot);
  if (fine.outcome == ScanResult::Later) SetCurrent(store, slots.Weigh(fine.slot, fine.clock, time));
}

void AdvanceFrameToTime(TrackStore& store, ClockMs time) {
  if (store.CurrentSlot == -1) return FindFrameForTime(store, time);
  const Slots slots(store);
  if (store.CurrentSlot < 0 || store.CurrentSlot >= slots.count()) {
    store.CurrentSlot = -1;
    return;
  }

  const ScanResult scan = Scan(slots, store.CurrentSlot, 1, time);
  switch (scan.outcome) {
    case ScanResult::Exact: return SetCurrent(store, scan.slot);
    case ScanResult::Later: return SetCurrent(store, scan.slot == 0 ? 0 : slots.Weigh(scan.slot, scan.clock, time));
    case ScanResult::RanOut: store.CurrentSlot = -1; return;
  }
}

namespace {

const PointFrame* CurrentRecord(const TrackStore& store) {
  const Slots slots(store);
  if (store.CurrentSlot < 0 || store.CurrentSlot >= slots.count()) return nullptr;
  return slots.Record(store.CurrentSlot);
}

}  // namespace

ClockMs CurrentFrameClock(const TrackStore& store) {
  const PointFrame* record = CurrentRecord(store);
  return record ? record->clockMs : 0;
}

std::optional<std::span<const TrackPoint>> CurrentFramePoints(const TrackStore& store) {
  const PointFrame* record = CurrentRecord(store);
  if (!record || record->pointCount < 0 || record->firstPoint < 0) return std::nullopt;
  const auto first = static_cast<std::size_t>(record->firstPoint);
  const auto count = static_cast<std::size_t>(record->pointCount);
  if (first > store.points.size() || count > store.points.size() - first) return std::nullopt;
  return std::span<const TrackPoint>(store.points.data() + first, count);
}

}  // namespace ostrel
