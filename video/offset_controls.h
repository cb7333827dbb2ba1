#pragma once

#include "clock/offset_steps.h"
#include "video/playback_state.h"
#include "video/playback_ui.h"

namespace ostrel {

// One press of an arrow key or of "<" / ">": the clock offset moves by its step and the
// overlays follow at once. Before an Open has a position to resynchronise with, a press
// changes nothing at all, the offset included: a step that nobody can see would silently
// shift the next video, whose log sets startMs anyway.
void StepClockOffset(PlaybackState& state, PlaybackUi& ui, OffsetTrigger trigger, bool shift);

// The "AVI時刻調整" box was clicked: ticked, it makes "<" and ">" usable; cleared, it takes
// them away and saves the correction gathered with them to timeadj.log in the working folder.
void ToggleTimeAdjustment(PlaybackState& state, PlaybackUi& ui);

}  // namespace ostrel
