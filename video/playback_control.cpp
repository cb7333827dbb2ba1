#include "video/playback_control.h"

#include <string>

#include "track/frame_lookup.h"
#include "video/open_video_messages.h"
#include "video/playback_clock.h"

namespace ostrel {
namespace {

struct Positions {
  ReferenceTime current = 0;
  ReferenceTime stop = 0;
};

// The graph's positions, also shown on the trackbar; nothing when they cannot be read, and
// then the callers skip their work: there is no position to convert.
std::optional<Positions> ReadPositions(PlaybackState& state, PlaybackUi& ui) {
  Positions positions;
  if (!state.graph->GetPositions(positions.current, positions.stop)) return std::nullopt;
  ShowPlaybackPercent(ui, positions.current, positions.stop);
  return positions;
}

void RedrawForTime(PlaybackState& state, PlaybackUi& ui, ClockMs videoTime) {
  ui.RedrawOverlays(InSync(CurrentFrameClock(state.trackStore), videoTime));
}

void ReportPlaybackError(PlaybackState& state, PlaybackUi& ui, const std::string& reason) {
  if (state.playbackErrorShown) return;
  state.playbackErrorShown = true;
  state.graph->Stop();
  std::string text(kRunFailedText);
  if (!reason.empty()) text += "\n" + reason;
  ui.Messages().Show(UserMessage{text, std::string(kGraphErrorCaption), MessageOwner::MainWindow});
}

}  // namespace

void StartPlayback(PlaybackState& state) {
  if (state.held.graphControl) state.graph->Run();
}

void StopPlayback(PlaybackState& state) {
  if (state.held.graphControl) state.graph->Stop();
}

void RewindToStart(PlaybackState& state) {
  if (!state.held.graphSeeking) return;
  state.graph->SetPositions(0);
  FindFrameForTime(state.trackStore, PositionToVideoTime(0, state.clockOffset));
}

void SeekFromTrackbar(PlaybackState& state, PlaybackUi& ui) {
  if (!state.held.graphSeeking) return;
  const int percent = ui.TrackbarPosition();
  ReferenceTime current = 0;
  ReferenceTime stop = 0;
  if (!state.graph->GetPositions(current, stop) || stop == 0) return;
  // The thumb's percentage is widened as an unsigned value, as the slider reports it.
  const auto widened = static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(percent)));
  const ReferenceTime target = widened * stop / 100;
  state.graph->SetPositions(target);
  // From the position asked for, not one read back: the seek may still be under way.
  FindFrameForTime(state.trackStore, PositionToVideoTime(target, state.clockOffset));
}

void PlaybackTick(PlaybackState& state, PlaybackUi& ui) {
  if (!state.held.graphSeeking || !state.held.graphControl) return;
  if (state.graph->GetState() != GraphState::Running) return;
  const std::optional<Positions> positions = ReadPositions(state, ui);
  if (!positions) return;
  const ClockMs videoTime = PositionToVideoTime(positions->current, state.clockOffset);
  // Ten times a second: the search goes on from the current frame.
  AdvanceFrameToTime(state.trackStore, videoTime);
  RedrawForTime(state, ui, videoTime);
}

void DrainGraphEvents(PlaybackState& state, PlaybackUi& ui) {
  if (!state.held.graphEvents) return;
  while (const std::optional<GraphEvent> event = state.graph->GetEvent()) {
    if (event->code == kEventComplete) {
      RewindToStart(state);
    } else if (event->code == kEventErrorAbort) {
      ReportPlaybackError(state, ui, event->text);
    }
  }
}

void ResyncAfterOffsetChange(PlaybackState& state, PlaybackUi& ui) {
  if (!state.held.graphSeeking) return;
  const std::optional<Positions> positions = ReadPositions(state, ui);
  if (!positions) return;
  const ClockMs videoTime = PositionToVideoTime(positions->current, state.clockOffset);
  FindFrameForTime(state.trackStore, videoTime);
  RedrawForTime(state, ui, videoTime);
}

void ShowFrameTime(PlaybackState& state, PlaybackUi& ui) {
  if (!state.held.graphSeeking) return;
  const std::optional<Positions> positions = ReadPositions(state, ui);
  if (!positions) return;
  const ClockMs videoTime = PositionToVideoTime(positions->current, state.clockOffset);
  ui.Messages().Show(
      UserMessage{std::to_string(videoTime), std::string(kFrameTimeCaption), MessageOwner::None});
}

}  // namespace ostrel
