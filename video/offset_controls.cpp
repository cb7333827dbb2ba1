#include "video/offset_controls.h"

#include "clock/time_adjust_log.h"
#include "video/playback_control.h"

namespace ostrel {

void StepClockOffset(PlaybackState& state, PlaybackUi& ui, OffsetTrigger trigger, bool shift) {
  if (!state.held.graphSeeking) return;
  ApplyOffsetStep(state.clockOffset, trigger, shift);
  ResyncAfterOffsetChange(state, ui);
}

void ToggleTimeAdjustment(PlaybackState& state, PlaybackUi& ui) {
  const bool ticked = ui.TimeAdjustChecked();
  ui.SetOffsetButtonsEnabled(ticked);
  if (!ticked) WriteTimeAdjustLog(state.clockOffset, state.WorkingFolder, ui.Messages());
}

}  // namespace ostrel
