#pragma once

#include <memory>

#include "app/open_file_dialog.h"
#include "app/shell_handlers.h"
#include "app/viewer_ui.h"

namespace ostrel {

class MainWindow;

// The viewer's handlers for the main window's dispatch: each runs its operation on the
// window's state, through the window's controls.
class ViewerHandlers : public ShellHandlers {
 public:
  ViewerHandlers(MainWindow& window, FileChooser chooseFile);

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
  ViewerUi ui_;
};

// The handlers with the open dialog of the desktop, or with `chooseFile` in its place.
std::unique_ptr<ShellHandlers> MakeViewerHandlers(MainWindow& window,
                                                  FileChooser chooseFile = ChooseVideoWithDialog);

}  // namespace ostrel
