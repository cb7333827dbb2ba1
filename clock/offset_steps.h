#pragma once

#include <cstdint>

#include "clock/clock_offset.h"

namespace ostrel {

// What the user pressed to move the overlays against the picture. The arrow keys move only
// the open video's start; the buttons of the control bar also move the camera-wide
// correction that goes to timeadj.log.
enum class OffsetTrigger {
  LeftArrowKey,
  RightArrowKey,
  LeftButton,   // "<" (control 1004)
  RightButton,  // ">" (control 1005)
};

struct OffsetStep {
  std::int32_t startMs = 0;
  std::int32_t adjustMs = 0;

  bool operator==(const OffsetStep&) const = default;
};

// The amounts one press moves. Left and "<" make the clock time of a picture later, so the
// overlays show later tracking frames. Shift makes a key step 100 times larger but a button
// step only 10 times: the buttons are for fine work on the correction.
OffsetStep OffsetStepFor(OffsetTrigger trigger, bool shift);

// Moves `offset` by one press, wrapping around in 32 bits.
void ApplyOffsetStep(ClockOffset& offset, OffsetTrigger trigger, bool shift);

}  // namespace ostrel
