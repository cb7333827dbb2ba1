#pragma once

#include <cstdint>

#include "clock/clock_offset.h"
#include "track/track_store.h"
#include "video/playback_ui.h"
#include "video/reference_time.h"

namespace ostrel {

// The rate of the video's clock against the recording clock; never changed.
inline constexpr double TimeScale = 1.0;
// Trajectories are drawn only while the current frame lies less than this from VideoTime.
inline constexpr std::int32_t SyncTolerance = 1000;
inline constexpr ReferenceTime kReferenceUnitsPerMs = 10'000;

// The recording-clock time of a playback position: whole milliseconds (parts of one are cut
// off), scaled, truncated toward zero, plus the offset's startMs; the sum wraps around in 32
// bits.
ClockMs PositionToVideoTime(ReferenceTime position, const ClockOffset& offset);

// Puts the trackbar's thumb at current's percentage of stop (64-bit, truncated); a stop of
// 0 leaves it where it is.
void ShowPlaybackPercent(PlaybackUi& ui, ReferenceTime current, ReferenceTime stop);

// Whether a frame at `frameClock` is near enough to `videoTime` for its trajectories.
bool InSync(ClockMs frameClock, ClockMs videoTime);

}  // namespace ostrel
