#pragma once

#include <optional>
#include <string>

#include "overlay/video_rect.h"
#include "track/message_sink.h"
#include "video/playback_graph.h"

namespace ostrel {

// The main window's width and height below the menu bar.
struct ClientSize {
  int width = 0;
  int height = 0;
};

// What the playback operations need of the user interface, and all they touch of it. The
// desktop shell implements it with its widgets; tests record what reaches it.
class PlaybackUi {
 public:
  virtual ~PlaybackUi() = default;

  virtual MessageSink& Messages() = 0;
  // Asks for an existing video file, starting in `folder`; nothing when the user cancels.
  virtual std::optional<std::string> ChooseVideoFile(const std::string& folder) = 0;

  // The control bar as a whole, and its controls that the operations set.
  virtual void SetControlBarEnabled(bool enabled) = 0;
  virtual bool GrabberChecked() = 0;
  virtual void SetGrabberChecked(bool checked) = 0;
  virtual void SetCaptureEnabled(bool enabled) = 0;
  virtual bool TimeAdjustChecked() = 0;
  virtual void SetOffsetButtonsEnabled(bool enabled) = 0;
  // The trackbar's thumb, 0 to 100 percent of the video.
  virtual int TrackbarPosition() = 0;
  virtual void SetTrackbarPosition(int percent) = 0;

  // Starts (or restarts) the 100 ms playback timer, whose ticks run PlaybackTick.
  virtual void StartPlaybackTimer() = 0;

  // The picture: shows `graph`'s frames in the main window, is placed within its client
  // area, and is hidden and cut loose again.
  virtual void AttachVideoWindow(PlaybackGraph& graph) = 0;
  virtual void PlaceVideoWindow(const VideoRect& place) = 0;
  virtual void DetachVideoWindow() = 0;
  // Lets `graph`'s notifications reach DrainGraphEvents.
  virtual void ConnectGraphEvents(PlaybackGraph& graph) = 0;

  virtual ClientSize ClientAreaSize() = 0;
  virtual int ControlBarHeight() = 0;
  // The work of a size change at the current size: the bar docked, the picture letterboxed.
  virtual void Relayout() = 0;

  // Takes the last overlay away and draws the current frame's; its trajectories only when
  // `inSync`.
  virtual void RedrawOverlays(bool inSync) = 0;
};

}  // namespace ostrel
