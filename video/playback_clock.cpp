#include "video/playback_clock.h"

#include <cstdlib>

#include "clock/wrapping_math.h"

namespace ostrel {

ClockMs PositionToVideoTime(ReferenceTime position, const ClockOffset& offset) {
  const std::int64_t ms = position / kReferenceUnitsPerMs;
  // The product is truncated to whole milliseconds and kept to 32 bits, as every clock
  // time is; the scale of 1.0 keeps it exact.
  const auto scaled = static_cast<std::int64_t>(static_cast<double>(ms) * TimeScale);
  return WrappingAdd(static_cast<std::int32_t>(static_cast<std::uint32_t>(scaled)), offset.startMs);
}

void ShowPlaybackPercent(PlaybackUi& ui, ReferenceTime current, ReferenceTime stop) {
  if (stop == 0) return;
  ui.SetTrackbarPosition(static_cast<int>(current * 100 / stop));
}

bool InSync(ClockMs frameClock, ClockMs videoTime) {
  const std::int64_t distance =
      std::llabs(static_cast<std::int64_t>(frameClock) - static_cast<std::int64_t>(videoTime));
  return distance < SyncTolerance;
}

}  // namespace ostrel
