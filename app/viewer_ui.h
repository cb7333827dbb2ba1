#pragma once

#include "app/open_file_dialog.h"
#include "video/playback_ui.h"

namespace ostrel {

class MainWindow;

// The playback operations' view of the main window: its message boxes, the open dialog,
// the control bar, the playback timer, the picture and the overlays.
class ViewerUi : public PlaybackUi {
 public:
  ViewerUi(MainWindow& window, FileChooser chooseFile)
      : window_(window), chooseFile_(std::move(chooseFile)) {}

  MessageSink& Messages() override;
  std::optional<std::string> ChooseVideoFile(const std::string& folder) override;
  void SetControlBarEnabled(bool enabled) override;
  bool GrabberChecked() override;
  void SetGrabberChecked(bool checked) override;
  void SetCaptureEnabled(bool enabled) override;
  bool TimeAdjustChecked() override;
  void SetOffsetButtonsEnabled(bool enabled) override;
  int TrackbarPosition() override;
  void SetTrackbarPosition(int percent) override;
  void StartPlaybackTimer() override;
  void AttachVideoWindow(PlaybackGraph& graph) override;
  void PlaceVideoWindow(const VideoRect& place) override;
  void DetachVideoWindow() override;
  void ConnectGraphEvents(PlaybackGraph& graph) override;
  ClientSize ClientAreaSize() override;
  int ControlBarHeight() override;
  void Relayout() override;
  void RedrawOverlays(bool inSync) override;

 private:
  MainWindow& window_;
  FileChooser chooseFile_;
};

}  // namespace ostrel
