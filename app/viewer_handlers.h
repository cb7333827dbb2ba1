#pragma once

#include <memory>

#include "app/shell_handlers.h"

namespace ostrel {

class MainWindow;

// The viewer's handlers for the main window's dispatch.
class ViewerHandlers : public ShellHandlers {
 public:
  explicit ViewerHandlers(MainWindow& window) : window_(window) {}

  void ExitViewer() override;
  void OpenVideo() override;
  void StopPlayback() override;
  void StartPlayback() override;
  void RewindToStart() override;
  void StepOffset(OffsetTrigger trigger, bool shift) override;
  void ToggleGrabber() override;
  void CaptureFrame() override;
  void ToggleTimeAdjustment() override;
  void ShowFrameTime() override;
  void PlaybackTick() override;
  void SeekFromTrackbar() override;
  void DrainGraphEvents() override;
  void IgnoreCommand(int id) override;

 private:
  MainWindow& window_;
};

std::unique_ptr<ShellHandlers> MakeViewerHandlers(MainWindow& window);

}  // namespace ostrel
