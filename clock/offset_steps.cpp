#include "clock/offset_steps.h"

#include "clock/wrapping_math.h"

namespace ostrel {

OffsetStep OffsetStepFor(OffsetTrigger trigger, bool shift) {
  switch (trigger) {
    case OffsetTrigger::LeftArrowKey:
      return {shift ? 10000 : 100, 0};
    case OffsetTrigger::RightArrowKey:
      return {shift ? -10000 : -100, 0};
    case OffsetTrigger::LeftButton: {
      const std::int32_t amount = shift ? 1000 : 100;
      return {amount, amount};
    }
    case OffsetTrigger::RightButton: {
      const std::int32_t amount = shift ? -1000 : -100;
      return {amount, amount};
    }
  }
  return {};
}

void ApplyOffsetStep(ClockOffset& offset, OffsetTrigger trigger, bool shift) {
  const OffsetStep step = OffsetStepFor(trigger, shift);
  offset.startMs = WrappingAdd(offset.startMs, step.startMs);
  offset.adjustMs = WrappingAdd(offset.adjustMs, step.adjustMs);
}

}  // namespace ostrel
