#pragma once

#include <string_view>

#include "video/playback_state.h"
#include "video/playback_ui.h"

namespace ostrel {

inline constexpr std::string_view kFrameTimeCaption = "Frame time in millisec";

// Play and stop (a pause: position, picture, trackbar and overlays stay). Each acts only
// once an Open has taken the graph's control into use.
void StartPlayback(PlaybackState& state);
void StopPlayback(PlaybackState& state);

// Back to position 0 and the frame for startMs. The run state stays, and trackbar and
// overlays follow with the next tick.
void RewindToStart(PlaybackState& state);

// Seeks to the trackbar's percentage of the video once the user has let go of the thumb,
// and finds the frame for it; nothing when the end of the video is unknown.
void SeekFromTrackbar(PlaybackState& state, PlaybackUi& ui);

// The timer's step while the graph runs: trackbar, frame and overlays follow the position.
void PlaybackTick(PlaybackState& state, PlaybackUi& ui);

// Reads every waiting event of the graph. The end of the stream rewinds, so a video plays
// in a loop; a playback failure is told to the user once and stops the video.
void DrainGraphEvents(PlaybackState& state, PlaybackUi& ui);

// After the clock offset moved: the frame for the new VideoTime, found afresh, and the
// overlays redrawn at once, whether the video runs or not.
void ResyncAfterOffsetChange(PlaybackState& state, PlaybackUi& ui);

// Tells the VideoTime of the playback position in a box of its own.
void ShowFrameTime(PlaybackState& state, PlaybackUi& ui);

}  // namespace ostrel
