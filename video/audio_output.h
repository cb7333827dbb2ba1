#pragma once

#include "video/gst_handles.h"

namespace ostrel {

// The sink for a video's sound: the desktop's default audio output when it can be opened,
// otherwise a sink that discards the sound in step with the clock, so that a machine
// without sound still plays its videos at their pace. Null only when neither exists.
GstElementPtr MakeAudioOutput();

}  // namespace ostrel
