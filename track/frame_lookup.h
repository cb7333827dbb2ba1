#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "track/track_store.h"

namespace ostrel {

// Slots between the samples of the full search's coarse scan, and the block its fine scan
// goes back over.
inline constexpr std::int32_t kCoarseStep = 100;
// How much earlier than the first frame a time may be and still select it (full search only).
inline constexpr std::int32_t kLeadInToleranceMs = 1000;

// Both searches rely on clock times that grow with the slot, as trackers write them, and set
// CurrentSlot to the slot nearest `time` (halfway selects the later one), or -1.

// Full search, for when time may have jumped: coarse samples every kCoarseStep slots, then
// slot by slot from the last sample found earlier than the time.
void FindFrameForTime(TrackStore& store, ClockMs time);
// Incremental search from CurrentSlot forward, for playback ticks; it looks back at most to
// the record before the slot where its scan stops.
void AdvanceFrameToTime(TrackStore& store, ClockMs time);

// The clock of CurrentSlot; 0 without a current frame.
ClockMs CurrentFrameClock(const TrackStore& store);
// The points of CurrentSlot, owned by the store; nothing without a current frame.
std::optional<std::span<const TrackPoint>> CurrentFramePoints(const TrackStore& store);

}  // namespace ostrel
