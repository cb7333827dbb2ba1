#include "app/viewer_handlers.h"

#include "app/main_window.h"
#include "video/capture_control.h"
#include "video/offset_controls.h"
#include "video/open_video.h"
#include "video/playback_control.h"

namespace ostrel {

ViewerHandlers::ViewerHandlers(MainWindow& window, FileChooser chooseFile)
    : window_(window), ui_(window, std::move(chooseFile)) {}

void ViewerHandlers::ExitViewer() { window_.close(); }

void ViewerHandlers::OpenVideo() { ostrel::OpenVideo(window_.state(), ui_); }

void ViewerHandlers::StopPlayback() { ostrel::StopPlayback(window_.state()); }

void ViewerHandlers::StartPlayback() { ostrel::StartPlayback(window_.state()); }

void ViewerHandlers::RewindToStart() { ostrel::RewindToStart(window_.state()); }

void ViewerHandlers::StepOffset(OffsetTrigger trigger, bool shift) {
  StepClockOffset(window_.state(), ui_, trigger, shift);
}

void ViewerHandlers::ToggleGrabber() { ostrel::ToggleGrabber(window_.state(), ui_); }

void ViewerHandlers::CaptureFrame() { ostrel::CaptureFrame(window_.state(), ui_); }

void ViewerHandlers::ToggleTimeAdjustment() { ostrel::ToggleTimeAdjustment(window_.state(), ui_); }

void ViewerHandlers::ShowFrameTime() { ostrel::ShowFrameTime(window_.state(), ui_); }

void ViewerHandlers::PlaybackTick() { ostrel::PlaybackTick(window_.state(), ui_); }

void ViewerHandlers::SeekFromTrackbar() { ostrel::SeekFromTrackbar(window_.state(), ui_); }

void ViewerHandlers::DrainGraphEvents() { ostrel::DrainGraphEvents(window_.state(), ui_); }

void ViewerHandlers::IgnoreCommand(int) {}

std::unique_ptr<ShellHandlers> MakeViewerHandlers(MainWindow& window, FileChooser chooseFile) {
  return std::make_unique<ViewerHandlers>(window, std::move(chooseFile));
}

}  // namespace ostrel
