#include "video/open_video.h"

#include <filesystem>
#include <string>

#include "clock/time_log.h"
#include "track/frame_lookup.h"
#include "track/track_data.h"
#include "video/open_video_messages.h"

namespace ostrel {
namespace {

void ShowGraphError(PlaybackUi& ui, std::string_view text) {
  ui.Messages().Show(
      UserMessage{std::string(text), std::string(kGraphErrorCaption), MessageOwner::MainWindow});
}

// The tracking data of the chosen file, and the frame for playback position 0.
void LoadTracking(PlaybackState& state, PlaybackUi& ui, const std::string& path) {
  // Missing files are reported by the loaders; the video opens without them.
  LoadTrackData(state.trackStore, path, ui.Messages());
  // What the overlay remembers points into the store it had before.
  if (state.overlay) ForgetOverlay(*state.overlay);
  FindFrameForTime(state.trackStore, state.clockOffset.startMs);
}

bool MakeGraph(PlaybackState& state, PlaybackUi& ui) {
  ReleaseGraph(state, ui);
  state.playbackErrorShown = false;
  state.graph = state.createGraph ? state.createGraph() : nullptr;
  if (!state.graph) {
    ShowGraphError(ui, kGraphCreateFailedText);
    return false;
  }
  // The grabber is part of every graph here.
  state.held.frameGrabber = true;
  return true;
}

void TakeGrabberFormat(PlaybackState& state) {
  const std::optional<BitmapInfoHeader> connected = state.graph->GetConnectedMediaType();
  state.GrabberFormat.reset();
  // Buffering goes on although the "Grabber" box was just cleared: a capture needs a frame.
  state.graph->SetBufferSamples(true);
  // A rendered graph always has a format; without one nothing can be captured.
  if (connected) state.GrabberFormat = *connected;
}

bool ShowPicture(PlaybackState& state, PlaybackUi& ui) {
  ui.AttachVideoWindow(*state.graph);
  state.held.videoWindow = true;
  std::int32_t width = 0;
  std::int32_t height = 0;
  const bool sized = state.graph->GetVideoSize(width, height);
  if (!sized) {
    ShowGraphError(ui, kVideoSizeFailedText);
    return false;
  }
  state.videoSize = VideoSize{width, height};
  // Above the bar until the final layout letterboxes it.
  const ClientSize client = ui.ClientAreaSize();
  ui.PlaceVideoWindow(VideoRect{0, 0, client.width, client.height - ui.ControlBarHeight()});
  return true;
}

void StartGraph(PlaybackState& state, PlaybackUi& ui) {
  ui.ConnectGraphEvents(*state.graph);
  state.held.graphEvents = true;
  state.held.graphControl = true;
  if (state.graph->Run()) {
    ui.SetControlBarEnabled(true);
    ui.StartPlaybackTimer();
  } else {
    // Reported, and the Open goes on: the picture is still laid out and can be sought.
    ShowGraphError(ui, kRunFailedText);
  }
  state.held.graphSeeking = true;
}

}  // namespace

void ReleaseGraph(PlaybackState& state, PlaybackUi& ui) {
  if (state.held.videoWindow) ui.DetachVideoWindow();
  if (state.graph) state.graph->Stop();
  // Its queued notifications and frames die with it.
  state.graph.reset();
  state.held = GraphReferences{};
}

void OpenVideo(PlaybackState& state, PlaybackUi& ui) {
  ui.SetControlBarEnabled(false);
  ui.SetGrabberChecked(false);
  ui.SetCaptureEnabled(false);
  const std::optional<std::string> path = ui.ChooseVideoFile(state.WorkingFolder);
  if (!path) return;
  state.WorkingFolder = std::filesystem::path(*path).parent_path().string();
  if (!ReadTimeLog(state.clockOffset, *path, ui.Messages())) return;
  LoadTracking(state, ui, *path);
  if (!MakeGraph(state, ui)) return;
  if (!state.graph->RenderFile(*path)) {
    ShowGraphError(ui, kRenderFailedText);
    return;
  }
  TakeGrabberFormat(state);
  if (!ShowPicture(state, ui)) return;
  StartGraph(state, ui);
  ui.Relayout();
}

}  // namespace ostrel
