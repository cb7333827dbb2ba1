#pragma once

#include "video/playback_state.h"
#include "video/playback_ui.h"

namespace ostrel {

// The "Grabber" box, already changed by the user's click, decides whether the grabber keeps
// the newest frame, and "Capture" is usable exactly while it does. Acts only once an Open has
// taken the grabber into use.
void ToggleGrabber(PlaybackState& state, PlaybackUi& ui);

// Writes the frame the grabber holds to "1.bmp" in the working folder, then its annotated
// snapshot with the current frame's tracking data to the next free numbered file. Acts only
// while the open video's grabber and its frame format are held; failures are told to the
// user, naming the path.
void CaptureFrame(PlaybackState& state, PlaybackUi& ui);

}  // namespace ostrel
